// Shared helpers for the test suites: a headless SDL session, a fake clock,
// a look at what the draw queue holds, recorded sound cues and synthetic keys.
#pragma once
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "video/draw_queue.h"

// A fake clock for the presenter: ticks are set by the test, delays are
// recorded and advance the clock.
struct FakeClock {
    uint32_t now = 0;
    std::vector<uint32_t> delays;
};
extern FakeClock fake_clock;
void use_fake_clock(uint32_t start = 0);
void use_real_clock();

// SDL headless (dummy drivers) with the real 2500 x 1300 surface, an empty
// queue and the fake clock. Returns false if SDL failed.
bool start_headless_video(uint32_t start_ticks = 0);
void stop_headless_video();

// The commands currently pending in the queue, oldest first.
std::vector<DrawCommand> pending_commands();
void paint_pending();

// A queued command as tests compare it: picture (nullptr for a fill), place,
// size and fill gray.
struct Cmd {
    const uint8_t* pixels;
    int x, y, w, h;
    int gray = 0;
    bool operator==(const Cmd&) const = default;
};
void PrintTo(const Cmd& c, std::ostream* os);
std::vector<Cmd> queued();
// How many pending commands draw this picture.
int count_queued(const uint8_t* pixels);

// Sound cues as (voice, sound id), 0 for a voice_stop, recorded in call order.
using Cues = std::vector<std::pair<int, int>>;
extern Cues cues;
void record_cues();  // clears and installs the recorder
void stop_recording_cues();

// Pushes a key event into SDL's queue (SDLKey value).
void push_key(int sym, bool down, int mod = 0);

// Reads the text painted in 8 x 8 cells from (x, y), matching each cell
// against the font: ' ' for a black cell, '?' for anything else.
std::string read_text(const std::function<uint8_t(int, int)>& gray_at, int x, int y, int length);
// The same on the presenter's surface.
std::string read_screen_text(int x, int y, int length);

std::string source_path(const std::string& relative);
