// The bonus saucer that crosses the top of the playfield.
#pragma once
#include <cstdint>

constexpr int32_t SAUCER_SCORES[6] = {50, 100, 50, 100, 200, 300};
constexpr int32_t SAUCER_CROSSING_STEPS = 2404;
constexpr int32_t SAUCER_Y = 16;
constexpr int32_t SAUCER_PARKED_X = -32;
constexpr int32_t SAUCER_FIRST_COUNTDOWN = 240;
constexpr int32_t SAUCER_EXPLOSION_FRAMES = 90;
constexpr int32_t SAUCER_START_X_RIGHTWARD = 8;   // entering from the left
constexpr int32_t SAUCER_START_X_LEFTWARD = 2412; // entering from the right
constexpr int32_t SAUCER_PULSE_STEPS = 25;        // flying sound period
constexpr int32_t SAUCER_PAUSE_FACTOR = 5;        // pause = score x 5 frames
constexpr int32_t SAUCER_HIT_TOP = 16;            // rows a shot's top can hit
constexpr int32_t SAUCER_HIT_BOTTOM = 23;

struct Saucer {
    int32_t x;
    int32_t y;
    int32_t direction;
    int32_t steps_left;
    int32_t countdown;
    int32_t explosion;
};

extern Saucer saucer;

void saucer_reset();
void saucer_update();
int saucer_hit_test(int px, int py);
// Index into SAUCER_SCORES for the current shots_fired (its value mod 6).
int saucer_score_index();
// Queues saucer frame 0..2 at left column x and the saucer's current row.
void draw_saucer_frame(int x, int frame);
