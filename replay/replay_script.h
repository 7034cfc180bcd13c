// Replay scripts: lines of "<passes> <keys>" that hold keys for a number of
// main-loop passes. Blank lines and lines starting with '#' are ignored, except
// in a demo: a file whose first line is "# zuba-trilo demo <version>", whose
// "# sync <pass> <hash>" lines the replay checks (replay/demo.h).
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
// The most a demo or script file may hold. A demo grows by a line per change
// of the held keys: about 100 kB an hour, 2 MB with a change every frame. A
// larger file is refused before it is read, so memory stays bounded (about
// 130 MB at most, parsed) whatever is given.
constexpr size_t REPLAY_MAX_SCRIPT_BYTES = size_t(16) << 20;

// The one list of script key names: the parser, its error message, the
// script writer and the planner all read it. `game_bits` are the game's held
// input bits the key stands for (escape quits and holds none).
struct ReplayKeyName {
    const char* name;
    uint32_t bit;
    uint32_t game_bits;
};
extern const ReplayKeyName REPLAY_KEY_NAMES[REPLAY_KEY_COUNT];
// The word that asks for one window close before a line's first pass, and the
// one for a line without keys.
constexpr const char REPLAY_CLOSE_NAME[] = "close";
constexpr const char REPLAY_NO_KEYS[] = "-";

// Script keys as the game's held input bits, and back (bits no key stands
// for are left out).
uint32_t replay_keys_to_game_bits(uint32_t keys);
// The press bits (PRESS_FIRE, PRESS_PAUSE) of script keys going down.
uint32_t replay_keys_to_presses(uint32_t keys);
uint32_t replay_keys_from_game_bits(uint32_t bits);
// The keys word of a line: "fire+left", "close", "-".
std::string replay_keys_text(uint32_t keys, bool close);

struct ReplayLine {
    uint64_t passes;
    uint32_t keys;  // held during those passes
    bool close;     // one window-close event before the line's first pass
    int source_line;
};

// A demo's first two lines, and the sync lines among its script lines.
constexpr int REPLAY_DEMO_VERSION = 1;  // the newest demo format this program plays
constexpr const char REPLAY_DEMO_PREFIX[] = "# zuba-trilo demo ";
constexpr const char REPLAY_GAME_PREFIX[] = "# game ";
constexpr const char REPLAY_SYNC_PREFIX[] = "# sync ";
// A demo's header also names the game's rules it was played under and the
// version of the hash its sync lines hold; a demo without these lines (one
// recorded by 0.1.0) was played under rules 1 and hashed by version 1.
constexpr const char REPLAY_RULES_PREFIX[] = "# rules ";
constexpr const char REPLAY_HASH_PREFIX[] = "# hash ";

// A demo's check that the world is as it was when recorded: the world hash
// after pass `pass` (counted from 0, as in the trace).
struct ReplaySync {
    uint64_t pass;
    uint64_t hash;
    int source_line;
};

struct ReplayScript {
    std::vector<ReplayLine> lines;
    uint64_t total_passes;
    int demo_version;           // 0: a plain script
    // A demo's "# game" line, empty without one: the program that recorded
    // it, named when the demo is refused so the player knows what plays it.
    std::string game_version;
    int rules_version = 1;  // a demo's "# rules" line
    int hash_version = 1;   // a demo's "# hash" line
    std::vector<ReplaySync> syncs;  // in pass order
    // A demo whose last line has no newline was cut off while it was written
    // (a crash, a kill): that line is left out and named here; 0 when whole.
    int cut_off_line;
};

// Parses a whole script. On a bad line returns false with error set to
// "NAME:LINE: what is wrong"; a demo newer than this program knows is refused
// the same way, with `newer` set, and so is a demo played under other rules
// than this program's or hashed by a version it does not know. Lines may end
// in CRLF and the text may start with a UTF-8 byte order mark. A text with
// sync lines is a demo and must begin with the demo line.
bool replay_parse_script(const char* text, size_t length, const std::string& name,
                         ReplayScript& out, std::string& error, bool* newer = nullptr);
// Reads and parses the regular file at path; an empty file, a folder, a FIFO
// or device, or a file over REPLAY_MAX_SCRIPT_BYTES is refused with one line
// naming the path as given.
bool replay_load_script(const std::string& path, ReplayScript& out, std::string& error,
                        bool* newer = nullptr);

