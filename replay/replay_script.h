// Replay scripts: lines of "<passes> <keys>" that hold keys for a number of
// main-loop passes. Blank lines and lines starting with '#' are ignored.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Key bits of a script line (not the game's input bits).
enum ReplayKey : uint32_t {
    REPLAY_UP = 1u << 0,
    REPLAY_DOWN = 1u << 1,
    REPLAY_LEFT = 1u << 2,
    REPLAY_RIGHT = 1u << 3,
    REPLAY_FIRE = 1u << 4,
    REPLAY_B = 1u << 5,
    REPLAY_C = 1u << 6,
    REPLAY_D = 1u << 7,
    REPLAY_ESCAPE = 1u << 8,
    REPLAY_PAUSE = 1u << 9,  // presses p: pauses a game under way, or resumes it
};
constexpr int REPLAY_KEY_COUNT = 10;
constexpr uint64_t REPLAY_MAX_PASSES_PER_LINE = 1'000'000'000;

struct ReplayLine {
    uint64_t passes;
    uint32_t keys;  // held during those passes
    bool close;     // one window-close event before the line's first pass
    int source_line;
};

struct ReplayScript {
    std::vector<ReplayLine> lines;
    uint64_t total_passes;
};

// Parses a whole script. On a bad line returns false with error set to
// "NAME:LINE: what is wrong".
bool replay_parse_script(const char* text, size_t length, const std::string& name,
                         ReplayScript& out, std::string& error);
bool replay_load_script(const std::string& path, ReplayScript& out, std::string& error);

// The SDL key symbol a script key presses.
int replay_key_symbol(int key_index);
