// The game's world in one place: every module's state record, saved,
// restored and reset together, and the fields of it that the replay trace
// shows. A new module record goes into WorldState and world_each_module
// (world_state.cpp); a new field the trace should show goes into
// WORLD_TRACE_FIELDS. Nothing else lists them. The sync hash keeps its own
// frozen list of fields (world_state.cpp).
#pragma once
#include <cstdint>

#include "game/bombs.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/player.h"
#include "game/saucer.h"
#include "game/shields.h"
#include "input/input.h"
#include "session/screens.h"

struct WorldState {
    Screens screens;
    GameSession game;
    PlayerShot shot;
    BombState bombs;
    Formation formation;
    ShieldBlock shields[SHIELD_BLOCKS];
    Saucer saucer;
    InputState input;
};

// Copies every module's state into `out`.
void world_save(WorldState& out);
// Puts every module's state back as `saved` holds it.
void world_restore(const WorldState& saved);
// Every module's state as at program start, so that two runs in one process
// begin alike. Only with the devices closed: it forgets open joysticks.
void world_reset();

// One field of a trace line: a number, or a list of small tuples (the falling
// bombs, the pass's sound cues).
constexpr int TRACE_TUPLE_MAX = 5;
struct TraceField {
    const char* name;
    int64_t (*number)();  // null for a list
    int (*list_length)();
    // Item i's values; how many, 0 when item i is left out.
    int (*list_item)(int i, int64_t* values);
};

// The fields of a trace line after the pass and its state, in line order.
extern const TraceField WORLD_TRACE_FIELDS[];
extern const int WORLD_TRACE_FIELD_COUNT;

// The sync hash: a 64-bit FNV-1a hash of the screen state and the values of a
// list of fields frozen for each hash version, each folded as 8 bytes, lowest
// first (never a record's raw bytes, whose padding differs), so the same pass
// hashes the same on every platform. A demo's sync lines hold it and its
// header names the version, so a demo plays in sync for as long as its
// version is kept. The trace may gain fields without touching any version.
// A new version (a new list, say) is added beside the old ones, which stay.
constexpr int WORLD_HASH_VERSION = 1;  // the version new demos are made with
bool world_hash_known(int version);
// 0 for a version this program does not know.
uint64_t world_hash(int version = WORLD_HASH_VERSION);
