// The invaders' bombs: up to 128 falling at once.
#pragma once
#include <cstdint>

constexpr int BOMB_SLOTS = 128;
constexpr int BOMB_SPEED = 3;
constexpr int BOMB_RELEASE_EXTRA_STEPS = 15;  // release after live front + 15 calls
constexpr int BOMB_SEARCH_COLUMNS = 10;       // columns tried for a bomb's source
constexpr uint32_t BOMB_COLUMN_SALT = 165;    // step_count XOR this picks the column
constexpr int BOMB_LEAVE_Y = 1275;            // a bomb whose y exceeds it leaves play

struct Bomb {
    int16_t x;  // middle column
    int16_t y;  // top row
    uint8_t kind;  // 0 free, 1 or 2 falling
    uint8_t anim;
};

struct BombState {
    Bomb bombs[BOMB_SLOTS];
    // Grows every update and every release; its parity picks the next bomb's
    // kind. It wraps from the largest value to the smallest, keeping the
    // alternation of parity.
    int32_t bomb_counter;
};

extern BombState bomb_state;

void bombs_reset();
void bombs_release();
void bombs_update();
