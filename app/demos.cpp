// Demos in the real game: the player's passes recorded, or a demo's passes
// fed to the game in place of the player's keys, checked at its sync lines.
#include "app/demos.h"

#include <cstdio>

#include "input/input.h"
#include "replay/demo.h"
#include "replay/pass_times.h"
#include "replay/replay_clock.h"
#include "session/screens.h"

namespace {

struct Demos {
    const char* record_path;
    const char* play_path;
    bool timed;
    DemoRecorder recorder;
    ReplayScript script;
    DemoCursor cursor;
    uint32_t held;      // the demo's keys of the last pass
    uint32_t polls;     // the input's polls before the pass
    uint32_t paused_passes;  // the screens' paused passes before it
    bool demo_quit;     // the demo asked to quit (not the player)
    bool out_of_sync;
    uint64_t sync_pass;
    double first_ms;    // when the first pass began
    double last_ms;
    PassTimes times;
};
Demos demos;

}  // namespace

bool demos_open(const Options& options, std::string& error) {
    demos.record_path = options.record;
    demos.play_path = options.playdemo ? options.playdemo : options.timedemo;
    demos.timed = options.timedemo != nullptr;
    if (demos.play_path) return replay_load_script(demos.play_path, demos.script, error);
    if (demos.record_path) return demo_record_start(demos.recorder, demos.record_path, OPTIONS_VERSION_NUMBER, 0, error);
    return true;
}

void demos_started() {
    if (demos.timed) replay_clock_start_showing(0);
    if (demos.play_path) {
        demo_play_start();
        input_play_demo(true);
    }
}

bool demos_before_pass(double now_ms) {
    if (!demos.record_path && !demos.play_path) return true;
    demo_pass_begins();
    demos.polls = input.polls;
    demos.paused_passes = screens.paused_passes;
    if (!demos.play_path) return true;
    uint32_t keys = 0;
    bool close = false;
    if (!demo_next_pass(demos.script, demos.cursor, keys, close)) return false;
    // Escape quits when it goes down, as the replay driver's key press does.
    const bool quit = close || ((keys & REPLAY_ESCAPE) && !(demos.held & REPLAY_ESCAPE));
    demos.demo_quit = demos.demo_quit || quit;
    input_demo_hold(replay_keys_to_game_bits(keys), quit);
    demos.held = keys;
    if (demos.cursor.pass == 1) demos.first_ms = now_ms;
    return true;
}

bool demos_after_pass(double now_ms, double pass_ms) {
    if (demos.record_path) {
        if (screens.paused_passes != demos.paused_passes) {
            demo_record_paused_pass(demos.recorder, now_ms);
            return true;
        }
        // What the pass's poll read; the buttons held, on a pass that read none.
        const uint32_t bits = input.polls != demos.polls ? input.polled : input_held();
        demo_record_pass(demos.recorder, bits, input.quit_requested != 0, input.window_closed != 0, now_ms);
        return true;
    }
    if (!demos.play_path) return true;
    demos.last_ms = now_ms;
    pass_times_add(demos.times, pass_ms * 1000);
    if (demo_in_sync(demos.script, demos.cursor)) return true;
    demos.out_of_sync = true;
    demos.sync_pass = demos.cursor.pass - 1;
    return false;
}

int demos_close() {
    std::string error;
    if (demos.record_path && !demo_record_finish(demos.recorder, error)) {
        std::fprintf(stderr, "zuba-trilo: %s\n", error.c_str());
        return 2;
    }
    if (!demos.play_path) return 0;
    if (demos.timed) replay_clock_stop();
    input_play_demo(false);
    // A quit of the demo's own before its end leaves sync lines unmet; the
    // player may stop watching at any time.
    if (!demos.out_of_sync && demos.demo_quit && demo_unreached_sync(demos.script, demos.cursor, demos.sync_pass))
        demos.out_of_sync = true;
    if (demos.timed) {
        const PassTimes& t = demos.times;
        const double seconds = (demos.last_ms - demos.first_ms) / 1000.0;
        std::printf("timedemo: %llu passes in %.2f s, %.0f passes per second\n", (unsigned long long)t.count,
                    seconds, seconds > 0 ? double(t.count) / seconds : 0.0);
        std::printf("frame time ms: median %.2f, p95 %.2f, p99 %.2f, max %.2f\n",
                    pass_times_percentile(t, 0.5) / 1000, pass_times_percentile(t, 0.95) / 1000,
                    pass_times_percentile(t, 0.99) / 1000, t.worst_micros / 1000);
    }
    if (demos.out_of_sync) {
        std::fprintf(stderr, "%s\n", demo_out_of_sync_message(demos.play_path, demos.sync_pass).c_str());
        return 1;
    }
    if (demos.script.cut_off_line > 0)
        std::fprintf(stderr, "%s\n", demo_cut_off_message(demos.play_path, demos.script).c_str());
    return 0;
}
