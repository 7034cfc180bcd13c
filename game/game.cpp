// Stand-in game until the gameplay lands: an empty field that ends after a
// fixed number of frames.
#include "game/game.h"

#include "input/input.h"
#include "video/presenter.h"
#include "video/text.h"

GameSession game;

namespace {
int frames_left = 0;
}

void game_begin() {
    game.score = 0;
    game.lives = START_LIVES;
    draw_game_screen(game.hi_score);
    frames_left = 600;
}

int game_frame() {
    video_present();
    input_poll();
    return --frames_left > 0 ? 1 : 0;
}
