// Shared helpers for the test suites: a headless SDL session, a fake clock
// and a look at what the draw queue holds.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "video/draw_queue.h"

// A fake clock for the presenter: ticks are set by the test, delays are
// recorded and advance the clock.
struct FakeClock {
    uint32_t now = 0;
    std::vector<uint32_t> delays;
};
extern FakeClock fake_clock;
// Installs the fake clock into the presenter (and resets it).
void use_fake_clock(uint32_t start = 0);
void use_real_clock();

// Starts SDL headless (dummy video and audio) with the real 2500 x 1300
// surface, an empty queue and the fake clock. Returns false if SDL failed.
bool start_headless_video(uint32_t start_ticks = 0);
void stop_headless_video();

// The commands currently pending in the queue, oldest first.
std::vector<DrawCommand> pending_commands();

// Paints what is pending into the surface (without the presenter's pacing).
void paint_pending();

// Path of a file in the source tree.
std::string source_path(const std::string& relative);
