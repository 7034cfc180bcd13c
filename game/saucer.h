// The bonus saucer that crosses the top of the playfield.
#pragma once
#include <cstdint>

constexpr int32_t SAUCER_SCORES[6] = {50, 100, 50, 100, 200, 300};
constexpr int32_t SAUCER_CROSSING_STEPS = 2404;
constexpr int32_t SAUCER_Y = 16;
constexpr int32_t SAUCER_PARKED_X = -32;
constexpr int32_t SAUCER_FIRST_COUNTDOWN = 240;
constexpr int32_t SAUCER_EXPLOSION_FRAMES = 90;

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
// Queues saucer frame 0..4 at left column x and the saucer's current row.
void draw_saucer_frame(int x, int frame);
