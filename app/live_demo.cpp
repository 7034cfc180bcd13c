// Demos in the real game: the player's passes recorded, or a demo's passes
// fed to the game in place of the player's keys by the demo player.
#include "app/live_demo.h"

#include <cstdio>

#include "session/screens.h"
#include "input/input.h"
#include "replay/demo.h"
#include "replay/demo_player.h"
#include "replay/replay_clock.h"

namespace {

struct LiveDemo {
    const char* record_path;
    const char* play_path;
    bool timed;
    DemoRecorder recorder;
    ReplayScript script;
    DemoPlayer player;
    uint32_t polls;          // the input's polls before the pass
    uint32_t paused_passes;  // the screens' paused passes before it
};
LiveDemo live;

}  // namespace

bool live_demo_open(const Options& options, std::string& error) {
    live = LiveDemo{};
    live.record_path = options.record;
    live.play_path = options.playdemo ? options.playdemo : options.timedemo;
    live.timed = options.timedemo != nullptr;
    if (live.play_path) return replay_load_script(live.play_path, live.script, error);
    if (live.record_path) return demo_record_start(live.recorder, live.record_path, OPTIONS_VERSION_NUMBER, 0, error);
    return true;
}

void live_demo_abandon() {
    if (live.record_path) demo_record_abandon(live.recorder);
}

void live_demo_started() {
    if (live.timed) replay_clock_start_showing(0);
    if (live.play_path) {
        demo_player_start(live.player, live.script);
        input_play_demo(true);
    }
}

bool live_demo_before_pass() {
    if (!live.record_path && !live.play_path) return true;
    live.polls = input.polls;
    live.paused_passes = screens.paused_passes;
    if (!live.play_path) {
        demo_pass_begins();
        return true;
    }
    DemoPass pass{};
    if (!demo_player_next(live.player, pass)) return false;
    demo_player_feed(pass);
    return true;
}

bool live_demo_after_pass(double now_ms, double pass_ms) {
    if (live.record_path) {
        std::string error;
        bool written;
        if (screens.paused_passes != live.paused_passes) {
            written = demo_record_paused_pass(live.recorder, now_ms, error);
        } else {
            // What the pass's poll read; the buttons held, on a pass that read none.
            const uint32_t bits = input.polls != live.polls ? input.polled : input_held();
            written = demo_record_pass(live.recorder, bits, input.quit_requested != 0, input.window_closed != 0,
                                       now_ms, error);
        }
        // Said the moment it happens; the player plays on unrecorded.
        if (!written) std::fprintf(stderr, "zuba-trilo: %s\n", error.c_str());
        return true;
    }
    if (!live.play_path) return true;
    demo_player_timed(live.player, now_ms, pass_ms);
    return demo_player_check(live.player);
}

int live_demo_close() {
    std::string error;
    if (live.record_path && !demo_record_finish(live.recorder, error)) {
        if (!error.empty()) std::fprintf(stderr, "zuba-trilo: %s\n", error.c_str());
        return DEMO_STATUS_BAD_FILE;
    }
    if (!live.play_path) return DEMO_STATUS_DONE;
    if (live.timed) replay_clock_stop();
    input_play_demo(false);
    if (live.timed) demo_player_print_figures(live.player, stdout);
    const int status = demo_player_verdict(live.player, live.play_path, error);
    if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
    return status;
}
