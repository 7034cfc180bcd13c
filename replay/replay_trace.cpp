// Builds the replay trace's JSON lines from the modules' state.
#include "replay/replay_trace.h"

#include "app/screens.h"
#include "audio/sounds.h"
#include "game/bombs.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/player.h"
#include "game/saucer.h"
#include "game/shields.h"
#include "input/input.h"

#include <initializer_list>

TraceCues trace_cues;

namespace {

void record_cue(int voice, int id) {
    if (trace_cues.count >= TRACE_MAX_CUES) {
        trace_cues.dropped += 1;
        return;
    }
    trace_cues.voice[trace_cues.count] = voice;
    trace_cues.id[trace_cues.count] = id;
    trace_cues.count += 1;
}

void field(std::string& out, const char* key, long long value) {
    out += ",\"";
    out += key;
    out += "\":";
    out += std::to_string(value);
}

// Appends "[a,b,...]". Built in place: GCC 12 at -O3 warns falsely
// (-Wrestrict) about temporaries chained with std::string's operator+.
void int_list(std::string& out, std::initializer_list<long long> values) {
    char sep = '[';
    for (long long v : values) {
        out += sep;
        out += std::to_string(v);
        sep = ',';
    }
    out += ']';
}

}  // namespace

void trace_cues_attach() { sound_set_cue_hook(record_cue); }

void trace_cues_clear() {
    trace_cues.count = 0;
    trace_cues.dropped = 0;
}

std::string trace_line(uint64_t pass, int state) {
    std::string out;
    out.reserve(512);
    out += "{\"pass\":";
    out += std::to_string(pass);
    field(out, "state", state);
    field(out, "score", game.score);
    field(out, "hi_score", game.hi_score);
    field(out, "lives", game.lives);
    field(out, "shots_fired", game.shots_fired);
    field(out, "player_x", game.player_x);
    field(out, "fire_latch", game.fire_latch);
    field(out, "player_explosion", game.player_explosion);
    field(out, "ready_countdown", game.ready_countdown);
    field(out, "screen_timer", screens.screen_timer);
    field(out, "start_countdown", screens.start_countdown);
    field(out, "shot_active", shot.active);
    field(out, "shot_x", shot.x);
    field(out, "shot_y", shot.y);
    field(out, "shot_cooldown", shot.cooldown);
    field(out, "saucer_x", saucer.x);
    field(out, "saucer_y", saucer.y);
    field(out, "saucer_direction", saucer.direction);
    field(out, "saucer_steps_left", saucer.steps_left);
    field(out, "saucer_countdown", saucer.countdown);
    field(out, "saucer_explosion", saucer.explosion);
    field(out, "cursor", formation.cursor);
    field(out, "direction", formation.direction);
    field(out, "anim", formation.anim);
    field(out, "explosion_steps", formation.explosion_steps);
    field(out, "step_count", formation.step_count);
    field(out, "bomb_timer", formation.bomb_timer);
    field(out, "note_index", formation.note_index);
    field(out, "live_front", formation_count_live());
    field(out, "bomb_counter", bomb_state.bomb_counter);
    out += ",\"bombs\":[";
    bool first = true;
    for (int i = 0; i < BOMB_SLOTS; ++i) {
        const Bomb& b = bomb_state.bombs[i];
        if (b.kind == 0) continue;
        if (!first) out += ",";
        first = false;
        int_list(out, {i, b.x, b.y, b.kind, b.anim});
    }
    out += "]";
    field(out, "shields_alive", shields_count_alive());
    out += ",\"cues\":[";
    for (int i = 0; i < trace_cues.count; ++i) {
        if (i) out += ",";
        int_list(out, {trace_cues.voice[i], trace_cues.id[i]});
    }
    out += "]";
    field(out, "quit", input.quit_requested);
    out += "}\n";
    return out;
}
