// The invaders' bombs: up to 128 falling at once.
#pragma once
#include <cstdint>

constexpr int BOMB_SLOTS = 128;
constexpr int BOMB_SPEED = 3;

struct Bomb {
    int16_t x;  // middle column
    int16_t y;  // top row
    uint8_t kind;  // 0 free, 1 or 2 falling
    uint8_t anim;
};

struct BombState {
    Bomb bombs[BOMB_SLOTS];
    int32_t bomb_counter;
};

extern BombState bomb_state;

void bombs_reset();
void bombs_release();
void bombs_update();
