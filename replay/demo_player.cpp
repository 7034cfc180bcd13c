// Playing a demo pass by pass, and its verdict.
#include "replay/demo_player.h"

#include "input/input.h"
#include "replay/replay_trace.h"
#include "replay/world_state.h"

void demo_player_start(DemoPlayer& p, const ReplayScript& script) {
    p = DemoPlayer{};
    p.script = &script;
    trace_cues_attach();
}

bool demo_player_next(DemoPlayer& p, DemoPass& pass) {
    trace_cues_clear();
    const ReplayScript& script = *p.script;
    while (p.line < script.lines.size() && p.in_line == script.lines[p.line].passes) {
        p.line += 1;
        p.in_line = 0;
    }
    if (p.line == script.lines.size()) return false;
    const ReplayLine& line = script.lines[p.line];
    pass.keys = line.keys;
    pass.previous = p.held;
    pass.close = line.close && p.in_line == 0;
    pass.quit = pass.close || ((line.keys & REPLAY_ESCAPE) && !(p.held & REPLAY_ESCAPE));
    p.demo_quit = p.demo_quit || pass.quit;
    p.held = line.keys;
    p.in_line += 1;
    p.pass += 1;
    return true;
}

void demo_player_feed(const DemoPass& pass) {
    input_demo_hold(replay_keys_to_game_bits(pass.keys), replay_keys_to_presses(pass.keys & ~pass.previous), pass.quit,
                    pass.close);
}

bool demo_player_check(DemoPlayer& p) {
    const ReplayScript& script = *p.script;
    if (p.next_sync == script.syncs.size() || script.syncs[p.next_sync].pass + 1 != p.pass) return true;
    const ReplaySync& sync = script.syncs[p.next_sync++];
    if (world_hash(script.hash_version) == sync.hash) return true;
    p.out_of_sync = true;
    p.sync_pass = sync.pass;
    return false;
}

void demo_player_timed(DemoPlayer& p, double now_ms, double pass_ms) {
    if (p.times.count == 0) p.first_ms = now_ms - pass_ms;
    p.last_ms = now_ms;
    pass_times_add(p.times, pass_ms * 1000);
}

int demo_player_verdict(DemoPlayer& p, const std::string& path, std::string& message) {
    const ReplayScript& script = *p.script;
    if (!p.out_of_sync && p.demo_quit && p.next_sync < script.syncs.size()) {
        p.out_of_sync = true;
        p.sync_pass = script.syncs[p.next_sync].pass;
    }
    if (p.out_of_sync) {
        message = path + ": out of sync at pass " + std::to_string(p.sync_pass);
        return DEMO_STATUS_OUT_OF_SYNC;
    }
    if (script.cut_off_line > 0) {
        message = path + ":" + std::to_string(script.cut_off_line) +
                  ": the demo stops in the middle of this line (cut off while it was written); played the " +
                  std::to_string(script.total_passes) + " passes before it";
        return DEMO_STATUS_CUT_OFF;
    }
    message.clear();
    return DEMO_STATUS_DONE;
}

void demo_player_print_figures(const DemoPlayer& p, std::FILE* out) {
    const PassTimes& t = p.times;
    const double seconds = (p.last_ms - p.first_ms) / 1000.0;
    std::fprintf(out, "timedemo: %llu passes in %.2f s, %.0f passes per second\n", (unsigned long long)t.count,
                 seconds, seconds > 0 ? double(t.count) / seconds : 0.0);
    pass_times_print(out, "frame time", t);
}
