// Demos: a game recorded as a replay script of what the game read at every
// pass, under a format version, with sync lines that hold the world's hash
// every DEMO_SYNC_EVERY passes and at the end. They are played by the demo
// player (replay/demo_player.h).
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "replay/replay_script.h"
#include "replay/script_writer.h"

constexpr uint64_t DEMO_SYNC_EVERY = 600;  // passes, about 10 s of play
constexpr double DEMO_FLUSH_MS = 5000;     // the file reaches the disk at least this often

// A recording never destroys a file: it goes to "<FILE>.part" beside the file
// it is for (beside a link's target), which takes FILE's place only once the
// recording is whole. A crash leaves the old FILE as it was and the
// recording so far, playable, in the .part file.
constexpr const char DEMO_PART_SUFFIX[] = ".part";

struct DemoRecorder {
    std::FILE* file;       // null when not recording, or after a failed write
    ScriptWriter writer;
    uint64_t passes;       // recorded so far
    uint64_t synced_pass;  // the pass of the last sync line; ~0 before the first
    double flushed_ms;     // when the file was last flushed
    uint64_t last_hash;    // the world's hash after the last pass recorded
    std::string path;      // as the player gave it
    std::string target;    // the file the recording replaces (links followed)
    std::string part;      // where it is written until then
    bool failed;           // a write failed and recording stopped
};

// Checks that path may be recorded to (nothing there, an empty file or a demo
// of this game that is not read-only; never a folder, device, FIFO or any
// other file), creates the .part file, writes the demo's two first lines and
// flushes them; false with one line naming the path when any of that fails,
// and then nothing is left behind. Sound cues are recorded from here on (the
// hash covers them).
bool demo_record_start(DemoRecorder& recorder, const std::string& path, const char* game_version,
                       double now_ms, std::string& error);
// When the game cannot start after all: the .part file is removed, as if no
// recording had been asked for.
void demo_record_abandon(DemoRecorder& recorder);
// Before every pass recorded: the pass's cues start empty.
void demo_pass_begins();
// After every pass: the game's held input bits that pass read, and whether it
// ended in a quit (a window close or a quit key). False, with a message, on
// the pass whose write failed: recording stops there, and the game goes on.
bool demo_record_pass(DemoRecorder& recorder, uint32_t game_bits, bool quit, bool window_closed, double now_ms,
                      std::string& error);
// After a pass spent paused, which the demo leaves out (it plays as if there
// had been no pause): only the flush, when one is due; false as above.
bool demo_record_paused_pass(DemoRecorder& recorder, double now_ms, std::string& error);
// The last line and the last pass's sync line, then the recording takes the
// place of the file it is for; false when that fails (with a message) or when
// a write failed during play (reported then; error left empty).
bool demo_record_finish(DemoRecorder& recorder, std::string& error);
