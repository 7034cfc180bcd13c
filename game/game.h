// One game: the session record, game begin and the fixed order of one frame.
#pragma once
#include <cstdint>

constexpr int STEPS_PER_FRAME = 70;
constexpr int START_LIVES = 2;
// The version of the game's rules: what the same keys make of a game. Raise
// it with any change that plays a recorded game differently (a timer, a
// speed, a score, the order of a frame); demos recorded under other rules are
// then refused by name instead of playing out of sync. 0.1.0 plays rules 1.
constexpr int GAME_RULES_VERSION = 1;

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
