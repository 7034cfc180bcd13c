// The game's demos: --record writes what the player plays into a demo file,
// --playdemo plays one back in the window at the game's speed, --timedemo as
// fast as the window goes and prints the figures. The demo format and its
// recorder (replay/demo.h) and the demo player (replay/demo_player.h) are the
// replay module's; this feeds them the window's passes.
#pragma once
#include <string>

#include "app/options.h"

// Before the window opens: reads the demo to play, or starts the recording
// (beside the file it is for). False with a message on a file that cannot be
// read or written or may not be replaced, a bad line or a demo newer than the
// game plays.
bool live_demo_open(const Options& options, std::string& error);
// When the game cannot start: the recording begun by live_demo_open is removed.
void live_demo_abandon();
// After start-up: a timed demo's presenter never waits for the next frame.
void live_demo_started();
// Before each pass: a playing demo's keys for it; false when it has no more.
bool live_demo_before_pass();
// After each pass, which took pass_ms: the recording, or the sync check;
// false when the demo went out of sync.
bool live_demo_after_pass(double now_ms, double pass_ms);
// After the last pass, before shutting down: the demo file finished, or a
// playing demo's verdict printed (the timed demo's figures on standard
// output). The program's exit status, from the table in replay/demo_player.h.
int live_demo_close();
