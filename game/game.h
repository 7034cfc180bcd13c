// One game: the session record, game begin and the fixed order of one frame.
#pragma once
#include <cstdint>

constexpr int STEPS_PER_FRAME = 70;
constexpr int START_LIVES = 2;

struct GameSession {
    int32_t score;
    int32_t hi_score;
    int32_t lives;
    int32_t shots_fired;
    int32_t player_x;
    int32_t fire_latch;
    int32_t player_explosion;
    int32_t ready_countdown;
};

extern GameSession game;

void game_begin();
// One frame of play: 1 while the game goes on, 0 once it is over.
int game_frame();
