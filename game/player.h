// The player's cannon and its one shot, and the frame's missiles.
#pragma once
#include <cstdint>

constexpr int CANNON_Y = 1275;
constexpr int PLAYER_X_MIN = 1;
constexpr int PLAYER_X_MAX = 2406;
constexpr int PLAYER_X_START = 10;
constexpr int SHOT_START_Y = 1267;
constexpr int SHOT_SPEED = 4;
constexpr int SHOT_CEILING_Y = 8;
constexpr int SHOT_COOLDOWN = 20;
constexpr int READY_COUNTDOWN = 60;
constexpr int PLAYER_EXPLOSION_FRAMES = 90;

struct PlayerShot {
    int16_t x;
    int16_t y;
    uint8_t active;
    int32_t cooldown;
};

extern PlayerShot shot;

// Makes the shot idle with no cooldown (game begin).
void shot_reset();
int player_update();
// Fires a shot from column x, unless one is in flight already.
void player_fire(int x);
int shot_update();
int missiles_update();
