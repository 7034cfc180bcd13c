// The game's demos: --record writes what the player plays into a demo file,
// --playdemo plays one back in the window at the game's speed, --timedemo as
// fast as the window goes and prints the figures. The demo format, its
// recorder and its sync check are the replay module's (replay/demo.h).
#pragma once
#include <string>

#include "app/options.h"

// Before the window opens: reads the demo to play, or creates the one to
// record. False with a message on a file that cannot be read or written, a
// bad line or a demo newer than the game plays.
bool demos_open(const Options& options, std::string& error);
// When the game cannot start: the recording begun by demos_open is removed.
void demos_abandon();
// After start-up: a timed demo's presenter never waits for the next frame.
void demos_started();
// Before each pass: a playing demo's keys for it; false when it has no more.
bool demos_before_pass(double now_ms);
// After each pass, which took pass_ms: the recording, or the sync check;
// false when the demo went out of sync.
bool demos_after_pass(double now_ms, double pass_ms);
// After the last pass, before shutting down: the demo file finished, or a
// playing demo's verdict printed (the timed demo's figures on standard
// output). The program's exit status: 0, 1 out of sync, 2 a write error
// (now or during play, when it was reported at once).
int demos_close();
