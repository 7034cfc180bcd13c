// The replay driver's loop: the same screen_pass that main runs, fed with
// scripted key events and a fake clock that never sleeps.
#include "replay/replay_run.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstring>

#include "input/input.h"
#include "platform/platform.h"
#include "replay/demo_player.h"
#include "replay/frame_dump.h"
#include "replay/replay_clock.h"
#include "replay/replay_trace.h"
#include "session/screens.h"
#include "video/draw_queue.h"
#include "video/presenter.h"

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
    // The game's own keys, whatever a player's settings bound.
    input_bindings_default(input_bindings);
    if (screen_startup() != 0) {
        if (trace) std::fclose(trace);
        replay_clock_stop();
        return 1;
    }
    result.started = true;
    DemoPlayer& player = result.player;
    demo_player_start(player, script);
    present_timing.enabled = options.timedemo;
    presenter.update_whole_window = options.whole_window ? 1 : 0;
    uint64_t pass = 0;
    int status = 0;
    DemoPass keys{};
    while (!result.quit && demo_player_next(player, keys)) {
        demo_player_feed(keys);
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
        if (!demo_player_check(player)) {
            result.out_of_sync = true;
            result.sync_pass = player.sync_pass;
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
    result.passes = pass;
    present_timing.enabled = false;
    for (const ReplayDump& d : options.dumps) {
        if (d.pass >= pass && status == 0) {
            error = d.path + ": pass " + std::to_string(d.pass) + " never ran (the run ended after " +
                    std::to_string(pass) + " passes)";
            status = 2;
        }
    }
    screen_shutdown();
    replay_clock_stop();
    if (trace && std::fclose(trace) != 0 && status == 0) {
        error = options.trace_path + ": cannot write the trace";
        status = 2;
    }
    return status;
}

void replay_print_summary(const ReplayResult& result, std::FILE* out) {
    const PassTimes& t = result.times;
    std::fprintf(out, "passes: %llu\n", (unsigned long long)result.passes);
    std::fprintf(out, "ended: %s\n", result.quit ? "quit requested" : "script exhausted");
    std::fprintf(out, "passes per second: %.0f\n",
                 t.total_micros > 0 ? double(t.count) * 1e6 / t.total_micros : 0.0);
    pass_times_print(out, "pass work", t);
}

void replay_print_timedemo(const ReplayResult& result, std::FILE* out) {
    const PassTimes& all = result.game_total;
    std::fprintf(out, "game passes: %llu\n", (unsigned long long)all.count);
    std::fprintf(out, "game passes per second: %.0f\n",
                 all.total_micros > 0 ? double(all.count) * 1e6 / all.total_micros : 0.0);
    pass_times_print(out, "simulation", result.game_simulation);
    pass_times_print(out, "presentation", result.game_presentation);
    pass_times_print(out, "total", all);
    const long long peak = platform_peak_memory_bytes();
    if (peak >= 0) std::fprintf(out, "peak resident memory: %.1f MB\n", double(peak) / (1024.0 * 1024.0));
    else std::fprintf(out, "peak resident memory: not known on this platform\n");
}
