// The forty shields: 480 blocks of 4 x 8 pixels, destroyed whole by any probe.
#pragma once
#include <cstdint>

constexpr int SHIELD_BLOCKS = 480;
constexpr int SHIELD_COUNT = 40;
constexpr int SHIELD_ROW_BLOCKS = 240;      // blocks per row (upper, lower)
constexpr int SHIELD_BLOCKS_PER_SHIELD = 6; // per row of one shield
constexpr int SHIELD_UPPER_Y = 1243;
constexpr int SHIELD_LOWER_Y = 1251;

struct ShieldBlock {
    int16_t x;
    int16_t y;
    uint8_t alive;
};

extern ShieldBlock shields[SHIELD_BLOCKS];

void shields_layout();
int shields_hit_test(int x, int y);
void shields_destroy_block(int i);
// Standing blocks, 0..480.
int shields_count_alive();
