// The replay driver's loop: the same screen_pass that main runs, fed with
// scripted key events and a fake clock that never sleeps.
#include "replay/replay_run.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/screens.h"
#include "input/input.h"
#include "platform/platform.h"
#include "replay/demo.h"
#include "replay/replay_trace.h"
#include "video/draw_queue.h"
#include "video/presenter.h"

ReplayClock replay_clock;

namespace {

void fake_clock_delay(uint32_t ms) {
    replay_clock.now += ms;
    replay_clock.waits += 1;
    replay_clock.last_wait = ms;
}
uint32_t fake_clock_ticks() { return replay_clock.now; }
const VideoClock FAKE_CLOCK = {fake_clock_ticks, fake_clock_delay};

void push_key_changes(uint32_t before, uint32_t after) {
    for (int k = 0; k < REPLAY_KEY_COUNT; ++k) {
        uint32_t bit = 1u << k;
        if ((before & bit) && !(after & bit)) replay_push_key(replay_key_symbol(k), false);
    }
    for (int k = 0; k < REPLAY_KEY_COUNT; ++k) {
        uint32_t bit = 1u << k;
        if (!(before & bit) && (after & bit)) replay_push_key(replay_key_symbol(k), true);
    }
}

bool parse_count(const char* s, uint64_t& value) {
    if (!*s) return false;
    value = 0;
    for (; *s; ++s) {
        if (*s < '0' || *s > '9') return false;
        value = value * 10 + uint64_t(*s - '0');
        if (value > 1'000'000'000'000ull) return false;
    }
    return true;
}

}  // namespace

void replay_clock_start(uint32_t start) {
    replay_clock = ReplayClock{start, 0, 0};
    video_set_clock(&FAKE_CLOCK);
}

void replay_clock_stop() { video_set_clock(nullptr); }

void replay_push_key(int symbol, bool down, int modifiers) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = SDLKey(symbol);
    e.key.keysym.mod = SDLMod(modifiers);
    SDL_PushEvent(&e);
}

void replay_push_quit() {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

bool replay_write_ppm(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", SCREEN_WIDTH, SCREEN_HEIGHT);
    std::vector<uint8_t> row(size_t(SCREEN_WIDTH) * 3);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            uint32_t p = video_pixel(x, y);
            row[size_t(x) * 3] = uint8_t(p >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(p);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0;
}

int replay_run(const ReplayScript& script, const ReplayOptions& options, ReplayResult& result,
               std::string& error) {
    std::FILE* trace = nullptr;
    if (!options.trace_path.empty()) {
        trace = std::fopen(options.trace_path.c_str(), "wb");
        if (!trace) {
            error = options.trace_path + ": cannot write the trace: " + std::strerror(errno);
            return 2;
        }
    }
    replay_clock_start(0);
    draw_queue_reset();
    input.quit_requested = 0;
    if (app_startup() != 0) {
        if (trace) std::fclose(trace);
        replay_clock_stop();
        return 1;
    }
    result.started = true;
    trace_cues_attach();
    present_timing.enabled = options.timedemo;
    presenter.update_whole_window = options.whole_window ? 1 : 0;
    uint32_t held = 0;
    uint64_t pass = 0;
    int status = 0;
    DemoCursor cursor{};
    uint32_t keys = 0;
    bool close = false;
    while (!result.quit && demo_next_pass(script, cursor, keys, close)) {
        if (close) replay_push_quit();
        push_key_changes(held, keys);
        held = keys;
        trace_cues_clear();
        int state = screens.state;
        present_timing.drain_micros = 0;
        auto t0 = std::chrono::steady_clock::now();
        screen_pass();
        auto t1 = std::chrono::steady_clock::now();
        double micros = std::chrono::duration<double, std::micro>(t1 - t0).count();
        pass_times_add(result.times, micros);
        if (options.timedemo && state == SCREEN_GAME_RUN) {
            double present = present_timing.drain_micros;
            pass_times_add(result.game_presentation, present);
            pass_times_add(result.game_simulation, std::max(0.0, micros - present));
            pass_times_add(result.game_total, micros);
        }
        result.quit = input.quit_requested != 0;
        if (!demo_in_sync(script, cursor)) {
            result.out_of_sync = true;
            result.sync_pass = pass;
        }
        bool last = result.quit || result.out_of_sync || pass + 1 == script.total_passes;
        if (trace && (pass % options.trace_every == 0 || last)) {
            std::string text = trace_line(pass, state);
            std::fwrite(text.data(), 1, text.size(), trace);
        }
        if (options.after_pass) options.after_pass(pass, state);
        for (const ReplayDump& d : options.dumps) {
            if (d.pass == pass && !replay_write_ppm(d.path)) {
                error = d.path + ": cannot write the frame dump";
                status = 2;
            }
        }
        ++pass;
        if (result.out_of_sync) break;
    }
    // A quit before the demo's end leaves its later sync lines unmet.
    if (!result.out_of_sync && demo_unreached_sync(script, cursor, result.sync_pass)) result.out_of_sync = true;
    result.passes = pass;
    present_timing.enabled = false;
    for (const ReplayDump& d : options.dumps) {
        if (d.pass >= pass && status == 0) {
            error = d.path + ": pass " + std::to_string(d.pass) + " never ran (the run ended after " +
                    std::to_string(pass) + " passes)";
            status = 2;
        }
    }
    app_shutdown();
    replay_clock_stop();
    if (trace && std::fclose(trace) != 0 && status == 0) {
        error = options.trace_path + ": cannot write the trace";
        status = 2;
    }
    return status;
}

bool replay_parse_args(int argc, char** argv, std::string& script, ReplayOptions& options,
                       std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* what) -> const char* {
            if (i + 1 >= argc) {
                error = a + " needs " + what;
                return nullptr;
            }
            return argv[++i];
        };
        if (a == "--trace") {
            const char* v = value("a file name");
            if (!v) return false;
            options.trace_path = v;
        } else if (a == "--trace-every") {
            const char* v = value("a positive number");
            if (!v) return false;
            if (!parse_count(v, options.trace_every) || options.trace_every == 0) {
                error = std::string("--trace-every needs a positive number, not '") + v + "'";
                return false;
            }
        } else if (a == "--dump") {
            const char* v = value("PASS:FILE.ppm");
            if (!v) return false;
            std::string s = v;
            size_t colon = s.find(':');
            ReplayDump d;
            if (colon == std::string::npos || colon + 1 >= s.size() ||
                !parse_count(s.substr(0, colon).c_str(), d.pass)) {
                error = "--dump needs PASS:FILE.ppm, not '" + s + "'";
                return false;
            }
            d.path = s.substr(colon + 1);
            options.dumps.push_back(d);
        } else if (a == "--summary") {
            options.summary = true;
        } else if (a == "--timedemo") {
            options.timedemo = true;
        } else if (a == "--whole-window") {
            options.whole_window = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            error = "unknown option '" + a + "'";
            return false;
        } else if (script.empty()) {
            script = a;
        } else {
            error = "more than one script given ('" + script + "' and '" + a + "')";
            return false;
        }
    }
    if (script.empty()) {
        error = "no script given";
        return false;
    }
    return true;
}

void replay_print_summary(const ReplayResult& result, std::FILE* out) {
    const PassTimes& t = result.times;
    std::fprintf(out, "passes: %llu\n", (unsigned long long)result.passes);
    std::fprintf(out, "ended: %s\n", result.quit ? "quit requested" : "script exhausted");
    std::fprintf(out, "passes per second: %.0f\n",
                 t.total_micros > 0 ? double(t.count) * 1e6 / t.total_micros : 0.0);
    std::fprintf(out, "per-pass work: median %.1f us, worst %.1f us\n", pass_times_median(t),
                 t.worst_micros);
}

void replay_print_timedemo(const ReplayResult& result, std::FILE* out) {
    const PassTimes& all = result.game_total;
    std::fprintf(out, "game passes: %llu\n", (unsigned long long)all.count);
    std::fprintf(out, "game passes per second: %.0f\n",
                 all.total_micros > 0 ? double(all.count) * 1e6 / all.total_micros : 0.0);
    std::fprintf(out, "%-14s %10s %10s %10s\n", "per pass (us)", "median", "p99", "max");
    auto row = [out](const char* name, const PassTimes& t) {
        std::fprintf(out, "%-14s %10.1f %10.1f %10.1f\n", name, pass_times_median(t),
                     pass_times_percentile(t, 0.99), t.worst_micros);
    };
    row("simulation", result.game_simulation);
    row("presentation", result.game_presentation);
    row("total", all);
    const long long peak = platform_peak_memory_bytes();
    if (peak >= 0) std::fprintf(out, "peak resident memory: %.1f MB\n", double(peak) / (1024.0 * 1024.0));
    else std::fprintf(out, "peak resident memory: not known on this platform\n");
}

int replay_main(int argc, char** argv) {
    std::string script_path, error;
    ReplayOptions options;
    if (!replay_parse_args(argc, argv, script_path, options, error)) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        std::fprintf(stderr,
                     "usage: zuba-trilo-replay SCRIPT [--trace FILE] [--trace-every N] "
                     "[--dump PASS:FILE.ppm ...] [--summary] [--timedemo [--whole-window]]\n");
        return 2;
    }
    ReplayScript script;
    if (!replay_load_script(script_path, script, error)) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        return 2;
    }
    // Headless unless the caller chose drivers.
    platform_set_env("SDL_VIDEODRIVER", "dummy", false);
    platform_set_env("SDL_AUDIODRIVER", "dummy", false);
    ReplayResult result;
    int status = replay_run(script, options, result, error);
    if (status == 1) return 255;  // the game has printed its message
    if (status != 0) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        return 2;
    }
    if (options.summary) replay_print_summary(result, stdout);
    if (options.timedemo) replay_print_timedemo(result, stdout);
    if (result.out_of_sync) {
        std::fprintf(stderr, "%s\n", demo_out_of_sync_message(script_path, result.sync_pass).c_str());
        return 1;
    }
    if (script.cut_off_line > 0) {
        std::fprintf(stderr, "%s\n", demo_cut_off_message(script_path, script).c_str());
        return 3;
    }
    return 0;
}
