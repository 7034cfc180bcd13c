// The one demo player: the headless replay driver and the game's --playdemo
// and --timedemo step a demo (or any script) through it, pass by pass. It
// owns the cursor, the keys each pass holds and the quit they ask for, the
// sync check, the verdict (exit status and message) and the timed demo's
// figures; and it feeds each pass's keys into the game (demo_player_feed),
// the same way for all of them.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "replay/pass_times.h"
#include "replay/replay_script.h"

// The exit statuses, the same from every program that plays a demo.
enum DemoStatus {
    DEMO_STATUS_DONE = 0,         // played to its end in sync, or quit
    DEMO_STATUS_OUT_OF_SYNC = 1,  // a sync line did not match, or was never reached
    DEMO_STATUS_BAD_FILE = 2,     // a bad option, file or line; a demo that cannot be written
    DEMO_STATUS_CUT_OFF = 3,      // cut off mid-line: played up to its last whole line
    DEMO_STATUS_NO_SDL = 255,     // SDL could not start
};

// What one pass of the demo does: the keys it holds (script keys), the keys
// the pass before held, a window close before it, and whether it asks to
// quit (the close, or Escape going down: a held Escape quits once).
struct DemoPass {
    uint32_t keys;
    uint32_t previous;
    bool close;
    bool quit;
};

struct DemoPlayer {
    const ReplayScript* script;
    size_t line;         // the script line being played
    uint64_t in_line;    // passes of that line already played
    uint64_t pass;       // passes played
    size_t next_sync;    // the first sync line not yet checked
    uint32_t held;       // the keys of the last pass
    bool demo_quit;      // the demo asked to quit (not the player watching)
    bool out_of_sync;
    uint64_t sync_pass;  // the pass of the sync line that failed or was never reached
    PassTimes times;     // how long each pass took, for the timed demo
    double first_ms;     // when the first pass began, and the last ended
    double last_ms;
};

// Starts playing the script from its first pass. Sound cues are recorded from
// here on, for the sync hash.
void demo_player_start(DemoPlayer& player, const ReplayScript& script);
// Before every pass: cues start empty, and the pass's keys; false when the
// script has no more passes.
bool demo_player_next(DemoPlayer& player, DemoPass& pass);
// The pass's keys into the game, before it runs: its held bits, the presses
// of the keys it newly holds, its quit and window close. The one seam by
// which the headless driver, --playdemo and --timedemo feed a demo's keys.
void demo_player_feed(const DemoPass& pass);
// After the pass: false when the script has a sync line for it and the world
// does not hash as it says (the player then stops).
bool demo_player_check(DemoPlayer& player);
// The time a pass took, between now_ms - pass_ms and now_ms, for the figures.
void demo_player_timed(DemoPlayer& player, double now_ms, double pass_ms);
// After the run: the exit status of the table above and, when it is not 0,
// the line that says why ("FILE: out of sync at pass N", "FILE:LINE: the demo
// stops in the middle of this line ..."). A quit of the demo's own before its
// end leaves sync lines unmet; a player who stops watching does not.
int demo_player_verdict(DemoPlayer& player, const std::string& path, std::string& message);
// The timed demo's figures: passes, seconds, passes per second, and the
// median, p95, p99 and longest frame time.
void demo_player_print_figures(const DemoPlayer& player, std::FILE* out);
