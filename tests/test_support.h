// The test-support library, shared by the tests, the benchmarks and the fuzz
// targets: a headless SDL session, a look into the draw queue, recorded sound
// cues and PPM pictures. The fake clock and the key pushing are the replay
// driver's own (replay/replay_clock.h, replay/replay_events.h), so there is one of each.
#pragma once
#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "replay/replay_clock.h"
#include "replay/replay_events.h"
#include "video/draw_queue.h"

// SDL headless (dummy drivers) with the real 2500 x 1300 surface, an empty
// queue and the fake clock at start_ticks. Returns false if SDL failed.
bool start_headless_video(uint32_t start_ticks = 0);
void stop_headless_video();

// A joystick's button going down or up, or an axis moving, pushed into SDL's
// queue as a pad would send it.
void push_joy_button(int device, int button, bool down);
void push_joy_axis(int device, int axis, int value);
// The window gaining (1) or losing (0) the focus, the mouse or its icon.
void push_window_active(int gain, int state);

// The commands currently pending in the queue, oldest first.
std::vector<DrawCommand> pending_commands();

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

// A binary PPM (as replay_write_ppm writes it) read from a file, plain or
// gzip-compressed. Empty on any error.
struct PpmImage {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
};
PpmImage read_ppm(const std::string& path);

std::string source_path(const std::string& relative);
// The text of a source file (README.md, the manual page) between the first
// `from` and the next `to` after it, or its end; "" when `from` is missing.
std::string doc_part(const std::string& relative, const std::string& from, const std::string& to);
// A whole regular file as bytes ("" when it cannot be read); a file written
// whole (false when it could not be).
std::string read_file(const std::string& path);
bool write_file(const std::string& path, const std::string& text);
// An empty folder of the build tree for one test's files (made anew).
std::string scratch_folder(const std::string& name);
