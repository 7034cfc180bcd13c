// The world's state records, and what the replay trace shows of them.
#include "replay/world_state.h"

#include <array>
#include <cstring>
#include <iterator>
#include <string_view>
#include <type_traits>

#include "replay/replay_trace.h"

namespace {

// Every module's state record beside its place in WorldState. Records are
// plain data, copied whole, so a new field in one is saved and restored too.
template <typename World, typename Visit>
void world_each_module(World& world, Visit visit) {
    visit(world.screens, screens);
    visit(world.game, game);
    visit(world.shot, shot);
    visit(world.bombs, bomb_state);
    visit(world.formation, formation);
    visit(world.shields, shields);
    visit(world.saucer, saucer);
    visit(world.input, input);
}

template <typename Saved, typename Live>
void copy_record(Saved& to, const Live& from) {
    static_assert(sizeof(Saved) == sizeof(Live) && std::is_trivially_copyable_v<Live>);
    std::memcpy(&to, &from, sizeof to);
}

constexpr TraceField number(const char* name, int64_t (*read)()) { return {name, read, nullptr, nullptr}; }

constexpr TraceField list(const char* name, int (*length)(), int (*item)(int, int64_t*)) {
    return {name, nullptr, length, item};
}

// [slot, x, y, kind, anim] of every falling bomb.
int bomb_item(int i, int64_t* v) {
    const Bomb& b = bomb_state.bombs[i];
    if (b.kind == 0) return 0;
    v[0] = i;
    v[1] = b.x;
    v[2] = b.y;
    v[3] = b.kind;
    v[4] = b.anim;
    return 5;
}

constexpr uint64_t FNV_OFFSET = 0xcbf29ce484222325ull;
constexpr uint64_t FNV_PRIME = 0x100000001b3ull;

void fold(uint64_t& hash, int64_t value) {
    const uint64_t v = uint64_t(value);
    for (int byte = 0; byte < 8; ++byte) {
        hash ^= (v >> (8 * byte)) & 0xff;
        hash *= FNV_PRIME;
    }
}

// [voice, sound id] of every cue of the pass, 0 for a stop.
int cue_item(int i, int64_t* v) {
    v[0] = trace_cues.voice[i];
    v[1] = trace_cues.id[i];
    return 2;
}

}  // namespace

void world_save(WorldState& out) {
    world_each_module(out, [](auto& saved, const auto& live) { copy_record(saved, live); });
}

void world_restore(const WorldState& saved) {
    world_each_module(saved, [](const auto& from, auto& live) { copy_record(live, from); });
}

void world_reset() {
    // Every record starts zeroed, as static storage does at program start.
    static const WorldState START{};
    world_restore(START);
}

constexpr TraceField WORLD_TRACE_FIELDS[] = {
    number("score", []() -> int64_t { return game.score; }),
    number("hi_score", []() -> int64_t { return game.hi_score; }),
    number("lives", []() -> int64_t { return game.lives; }),
    number("shots_fired", []() -> int64_t { return game.shots_fired; }),
    number("player_x", []() -> int64_t { return game.player_x; }),
    number("fire_latch", []() -> int64_t { return game.fire_latch; }),
    number("player_explosion", []() -> int64_t { return game.player_explosion; }),
    number("ready_countdown", []() -> int64_t { return game.ready_countdown; }),
    number("screen_timer", []() -> int64_t { return screens.screen_timer; }),
    number("start_countdown", []() -> int64_t { return screens.start_countdown; }),
    number("shot_active", []() -> int64_t { return shot.active; }),
    number("shot_x", []() -> int64_t { return shot.x; }),
    number("shot_y", []() -> int64_t { return shot.y; }),
    number("shot_cooldown", []() -> int64_t { return shot.cooldown; }),
    number("saucer_x", []() -> int64_t { return saucer.x; }),
    number("saucer_y", []() -> int64_t { return saucer.y; }),
    number("saucer_direction", []() -> int64_t { return saucer.direction; }),
    number("saucer_steps_left", []() -> int64_t { return saucer.steps_left; }),
    number("saucer_countdown", []() -> int64_t { return saucer.countdown; }),
    number("saucer_explosion", []() -> int64_t { return saucer.explosion; }),
    number("cursor", []() -> int64_t { return formation.cursor; }),
    number("direction", []() -> int64_t { return formation.direction; }),
    number("anim", []() -> int64_t { return formation.anim; }),
    number("explosion_steps", []() -> int64_t { return formation.explosion_steps; }),
    number("step_count", []() -> int64_t { return formation.step_count; }),
    number("bomb_timer", []() -> int64_t { return formation.bomb_timer; }),
    number("note_index", []() -> int64_t { return formation.note_index; }),
    number("live_front", []() -> int64_t { return formation_count_live(); }),
    number("bomb_counter", []() -> int64_t { return bomb_state.bomb_counter; }),
    list("bombs", [] { return BOMB_SLOTS; }, bomb_item),
    number("shields_alive", []() -> int64_t { return shields_count_alive(); }),
    list("cues", [] { return trace_cues.count; }, cue_item),
    number("quit", []() -> int64_t { return input.quit_requested; }),
};
const int WORLD_TRACE_FIELD_COUNT = int(std::size(WORLD_TRACE_FIELDS));

// Never defined: a hash field that is not in the trace fails to compile.
[[noreturn]] void hash_field_missing_from_the_trace();

namespace {

// The fields of hash version 1, in folding order, after the screen state.
// Frozen: every demo recorded by 0.1.0 and later holds sync lines made with
// it, and changing it by one field puts them all out of sync. A field named
// here must stay in the trace with the same meaning; one the trace lacks
// fails to compile.
constexpr std::string_view HASH_V1_FIELDS[] = {
    "score", "hi_score", "lives", "shots_fired", "player_x", "fire_latch", "player_explosion",
    "ready_countdown", "screen_timer", "start_countdown", "shot_active", "shot_x", "shot_y",
    "shot_cooldown", "saucer_x", "saucer_y", "saucer_direction", "saucer_steps_left",
    "saucer_countdown", "saucer_explosion", "cursor", "direction", "anim", "explosion_steps",
    "step_count", "bomb_timer", "note_index", "live_front", "bomb_counter", "bombs",
    "shields_alive", "cues", "quit",
};

template <size_t N>
constexpr std::array<const TraceField*, N> hash_fields(const std::string_view (&names)[N]) {
    std::array<const TraceField*, N> out{};
    for (size_t i = 0; i < N; ++i) {
        for (const TraceField& f : WORLD_TRACE_FIELDS)
            if (names[i] == f.name) out[i] = &f;
        if (!out[i]) hash_field_missing_from_the_trace();
    }
    return out;
}

constexpr auto HASH_V1 = hash_fields(HASH_V1_FIELDS);

void fold_field(uint64_t& hash, const TraceField& f) {
    if (f.number) {
        fold(hash, f.number());
        return;
    }
    // Each item's length before its values, and the list's end, so that no
    // two different lists fold alike.
    const int length = f.list_length();
    for (int item = 0; item < length; ++item) {
        int64_t values[TRACE_TUPLE_MAX];
        const int n = f.list_item(item, values);
        if (n == 0) continue;
        fold(hash, n);
        for (int k = 0; k < n; ++k) fold(hash, values[k]);
    }
    fold(hash, -1);
}

}  // namespace

bool world_hash_known(int version) { return version == 1; }

uint64_t world_hash(int version) {
    if (!world_hash_known(version)) return 0;
    uint64_t hash = FNV_OFFSET;
    fold(hash, screens.state);
    for (const TraceField* f : HASH_V1) fold_field(hash, *f);
    return hash;
}
