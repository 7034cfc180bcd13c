// zuba-soak-check [TRACE] [--memory-of PID] [--memory-every N]
// Reads a replay trace (JSON lines, from a file or standard input) and checks
// that it stays consistent over a long run: states, lives, score within a
// game, hi-score, bombs, the live front, the cannon, shields and sound cues.
// Prints one summary line and exits 0, or names the first inconsistent pass
// and exits 1. With --memory-of it also reports the peak resident memory of
// that process (the replay driver writing the trace) every N passes, so a
// single long run shows whether memory stays flat.
//
// A new game is seen at its set-up pass, or at a game pass whose previous
// sample was outside the game; trace every pass, or at most every 60 passes,
// so that no two games run together.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <exception>
#include <string>

#include <nlohmann/json.hpp>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/bombs.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/player.h"
#include "game/shields.h"
#include "session/screens.h"

namespace {

// The game's own limits, as the trace shows them.
constexpr long long LIVES_MIN = -1;  // the last cannon lost: the game ends
constexpr long long SCORE_MAX = std::numeric_limits<int32_t>::max();

struct Totals {
    unsigned long long lines = 0;
    long long first_pass = -1, last_pass = -1;
    unsigned long long games_begun = 0, games_over = 0;
    long long best_score = 0, most_bombs = 0, fewest_front = FRONT_SLOTS;
    unsigned long long frames_in_game = 0, shots = 0, cues = 0;
};

struct Previous {
    bool any = false;
    long long pass = 0, state = 0, score = 0, hi_score = 0, shots_fired = 0, quit = 0, screen_timer = 0;
    bool in_game = false;
};

[[noreturn]] void fail(long long pass, const std::string& what) {
    std::fprintf(stderr, "zuba-soak-check: pass %lld: %s\n", pass, what.c_str());
    std::exit(1);
}

using Json = nlohmann::json;

// The integer field `key` of a trace line; false if missing or not an integer.
bool field(const Json& line, const char* key, long long& out) {
    const auto it = line.find(key);
    if (it == line.end() || !it->is_number_integer()) return false;
    out = it->get<long long>();
    return true;
}

long long need(const Json& line, long long pass, const char* key) {
    long long v = 0;
    if (!field(line, key, v)) fail(pass, std::string("no field '") + key + "'");
    return v;
}

void in_range(long long pass, const char* what, long long v, long long lo, long long hi) {
    if (v < lo || v > hi)
        fail(pass, std::string(what) + " " + std::to_string(v) + " outside " + std::to_string(lo) + ".." +
                       std::to_string(hi));
}

// The list `key` of small integer tuples of `width` values; calls `each` with
// every tuple. Returns the number of tuples.
template <typename F>
long long tuples(const Json& line, long long pass, const char* key, int width, F each) {
    const auto list = line.find(key);
    if (list == line.end() || !list->is_array()) fail(pass, std::string("no array '") + key + "'");
    for (const Json& tuple : *list) {
        if (!tuple.is_array() || tuple.size() != size_t(width))
            fail(pass, std::string("tuple of the wrong size in '") + key + "'");
        long long v[8] = {};
        for (int i = 0; i < width; ++i) {
            if (!tuple[size_t(i)].is_number_integer()) fail(pass, std::string("malformed tuple in '") + key + "'");
            v[i] = tuple[size_t(i)].get<long long>();
        }
        each(v);
    }
    return (long long)list->size();
}

void check_line(const std::string& text, Totals& t, Previous& prev) {
    const Json line = Json::parse(text, nullptr, false);
    if (!line.is_object()) fail(prev.pass + 1, "a line that is not a JSON object");
    long long pass = 0;
    if (!field(line, "pass", pass)) fail(prev.pass + 1, "a line without a pass number");
    if (prev.any && pass <= prev.pass) fail(pass, "pass numbers do not increase");
    if (prev.any && prev.quit) fail(pass, "the run went on after a quit request");

    const long long state = need(line, pass, "state");
    const long long score = need(line, pass, "score");
    const long long hi_score = need(line, pass, "hi_score");
    const long long lives = need(line, pass, "lives");
    const long long shots_fired = need(line, pass, "shots_fired");
    const long long player_x = need(line, pass, "player_x");
    const long long live_front = need(line, pass, "live_front");
    const long long shields_alive = need(line, pass, "shields_alive");
    const long long quit = need(line, pass, "quit");
    const long long screen_timer = need(line, pass, "screen_timer");

    in_range(pass, "state", state, SCREEN_RESET_HISCORE, SCREEN_GAME_OVER_WAIT);
    in_range(pass, "lives", lives, LIVES_MIN, START_LIVES);
    in_range(pass, "live_front", live_front, 0, FRONT_SLOTS);
    in_range(pass, "shields_alive", shields_alive, 0, SHIELD_BLOCKS);
    in_range(pass, "score", score, 0, SCORE_MAX);
    in_range(pass, "quit", quit, 0, 1);
    if (prev.any && hi_score < prev.hi_score) fail(pass, "the hi-score went down");
    if (state >= SCREEN_GAME_OVER_BEGIN && hi_score < score)
        fail(pass, "after the game the hi-score " + std::to_string(hi_score) + " is below the score " +
                       std::to_string(score));

    // A game: from its set-up pass through its last game pass.
    const bool game_pass = state == SCREEN_GAME_BEGIN || state == SCREEN_GAME_RUN;
    const bool new_game = state == SCREEN_GAME_BEGIN || (state == SCREEN_GAME_RUN && !prev.in_game);
    if (new_game) t.games_begun += 1;
    if (state == SCREEN_GAME_OVER_BEGIN || (prev.in_game && prev.state == SCREEN_GAME_RUN && !game_pass))
        t.games_over += 1;
    if (game_pass && !new_game) {
        if (score < prev.score)
            fail(pass, "the score went down within a game, " + std::to_string(prev.score) + " to " +
                           std::to_string(score));
        if (shots_fired < prev.shots_fired) fail(pass, "the shot count went down within a game");
    }
    if (state == SCREEN_GAME_RUN) {
        in_range(pass, "player_x", player_x, PLAYER_X_MIN, PLAYER_X_MAX);
        t.frames_in_game += 1;
    }
    if (new_game) t.shots += (unsigned long long)std::max(0LL, prev.shots_fired);

    long long last_slot = -1;
    const long long bombs = tuples(line, pass, "bombs", 5, [&](const long long* b) {
        // [slot, x, y, kind, anim]
        if (b[0] <= last_slot || b[0] >= BOMB_SLOTS) fail(pass, "bomb slots out of order or beyond 127");
        last_slot = b[0];
        in_range(pass, "bomb y", b[2], 0, BOMB_LEAVE_Y);
        in_range(pass, "bomb kind", b[3], 1, 2);
        in_range(pass, "bomb anim", b[4], 0, 255);
    });
    if (bombs > BOMB_SLOTS) fail(pass, "more than 128 bombs");
    t.cues += (unsigned long long)tuples(line, pass, "cues", 2, [&](const long long* c) {
        in_range(pass, "cue voice", c[0], 0, VOICE_COUNT - 1);
        in_range(pass, "cue sound", c[1], 0, SOUND_COUNT);
    });

    if (t.first_pass < 0) t.first_pass = pass;
    t.last_pass = pass;
    t.lines += 1;
    if (score > t.best_score) t.best_score = score;
    if (bombs > t.most_bombs) t.most_bombs = bombs;
    if (state == SCREEN_GAME_RUN && live_front < t.fewest_front) t.fewest_front = live_front;

    prev.any = true;
    prev.pass = pass;
    prev.state = state;
    prev.score = score;
    prev.hi_score = hi_score;
    prev.shots_fired = shots_fired;
    prev.quit = quit;
    prev.screen_timer = screen_timer;
    prev.in_game = game_pass;
}

// Peak resident memory of a process in kB (VmHWM), or -1.
long long peak_resident_kb(long pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/status", pid);
    std::FILE* f = std::fopen(path, "r");
    if (!f) return -1;
    char line[256];
    long long kb = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atoll(line + 6);
    }
    std::fclose(f);
    return kb;
}

}  // namespace

static int check(int argc, char** argv) {
    const char* path = nullptr;
    long watch_pid = 0;
    long long memory_every = 100000;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--memory-of" && i + 1 < argc) {
            watch_pid = std::atol(argv[++i]);
        } else if (a == "--memory-every" && i + 1 < argc) {
            memory_every = std::atoll(argv[++i]);
            if (memory_every <= 0) memory_every = 100000;
        } else if (!path && (a.empty() || a[0] != '-' || a == "-")) {
            path = argv[i];
        } else {
            std::fprintf(stderr, "usage: zuba-soak-check [TRACE|-] [--memory-of PID] [--memory-every N]\n");
            return 2;
        }
    }
    std::FILE* in = stdin;
    if (path && std::strcmp(path, "-") != 0) {
        in = std::fopen(path, "r");
        if (!in) {
            std::fprintf(stderr, "zuba-soak-check: %s: %s\n", path, std::strerror(errno));
            return 2;
        }
    }

    Totals t;
    Previous prev;
    std::string line;
    char buf[4096];
    long long next_memory = memory_every;
    while (std::fgets(buf, sizeof buf, in)) {
        line += buf;
        if (line.empty() || line.back() != '\n') continue;
        check_line(line, t, prev);
        line.clear();
        if (watch_pid > 0 && prev.pass + 1 >= next_memory) {
            long long kb = peak_resident_kb(watch_pid);
            if (kb >= 0) std::printf("pass %lld: peak resident memory %.1f MB\n", prev.pass + 1, double(kb) / 1024.0);
            std::fflush(stdout);
            next_memory += memory_every;
        }
    }
    if (!line.empty()) fail(prev.pass + 1, "the trace ends in the middle of a line");
    if (t.lines == 0) {
        std::fprintf(stderr, "zuba-soak-check: the trace is empty\n");
        return 1;
    }
    std::printf(
        "consistent: %llu trace lines (passes %lld..%lld), %llu games begun, %llu game overs, "
        "%llu game frames, %llu shots fired, %llu sound cues, best score %lld, most bombs at once %lld, "
        "fewest live front invaders %lld\n",
        t.lines, t.first_pass, t.last_pass, t.games_begun, t.games_over, t.frames_in_game,
        t.shots + (unsigned long long)std::max(0LL, prev.shots_fired), t.cues, t.best_score, t.most_bombs,
        t.fewest_front);
    std::printf("last pass: state %lld, screen_timer %lld\n", prev.state, prev.screen_timer);
    return 0;
}

// The JSON library reports running out of memory with an exception: the
// checker says so and fails instead of aborting.
int main(int argc, char** argv) {
    try {
        return check(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zuba-soak-check: %s\n", e.what());
        return 2;
    }
}
