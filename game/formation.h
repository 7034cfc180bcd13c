// The invader formation: 140 x 60 invaders moved one at a time under a cursor.
#pragma once
#include <cstdint>

constexpr int FORMATION_COLUMNS = 140;
constexpr int FORMATION_ROWS = 60;
constexpr int FORMATION_SLOTS = 8400;
constexpr int FRONT_SLOTS = 840;
constexpr int EXPLOSION_STEPS = 20;
constexpr int LANDING_Y = 1268;
constexpr int EDGE_LEFT_X = 16;
constexpr int EDGE_RIGHT_X = 2405;
constexpr int MARCH_MIN_STEPS = 25;

struct Invader {
    int16_t x;  // middle column
    int16_t y;  // top row
    uint8_t kind;  // 0 empty, 1..4 live
};

struct Formation {
    Invader slots[FORMATION_SLOTS];
    int32_t cursor;
    uint32_t direction;
    uint32_t anim;
    uint32_t exploding_slot;
    int32_t explosion_steps;
    uint32_t march_due;
    int32_t steps_since_note;
    uint32_t note_index;
    uint32_t step_count;
    int32_t bomb_timer;
    int32_t live_front;  // maintained count of non-empty front slots
};

extern Formation formation;

void formation_layout();
int formation_step();
// Non-empty front slots (0..840). O(1): the formation keeps the count as
// slots empty and at lay-out.
int formation_count_live();
// Recounts the front after slots were changed by hand (tests, tools).
void formation_recount_live();
int formation_hit_test(int x, int y);
