// One game: what a new game resets, and the fixed order of one game frame
// (present, cannon, missiles and score, formation steps, wave clear, saucer,
// game over). The order is what couples the modules; keep it.
#include "game/game.h"

#include <limits>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/bombs.h"
#include "game/formation.h"
#include "game/player.h"
#include "game/saucer.h"
#include "game/shields.h"
#include "video/presenter.h"
#include "video/text.h"

GameSession game;

namespace {

// Points are positive. Six digits are shown, but the count itself must never
// overflow, so it stops at the largest value.
void add_points(int32_t points) {
    constexpr int32_t MAX = std::numeric_limits<int32_t>::max();
    game.score = game.score > MAX - points ? MAX : game.score + points;
}

// Runs up to STEPS_PER_FRAME formation steps; true when one landed an invader.
bool run_formation_steps() {
    for (int i = 0; i < STEPS_PER_FRAME; ++i) {
        if (formation_step()) return true;
    }
    return false;
}

}  // namespace

void game_begin() {
    game.score = 0;
    game.lives = START_LIVES;
    draw_game_screen(game.hi_score);
    game.player_x = PLAYER_X_START;
    game.ready_countdown = READY_COUNTDOWN;
    game.player_explosion = 0;
    shields_layout();
    shot_reset();
    bombs_reset();
    formation_layout();
    saucer_reset();
    game.shots_fired = 0;
    // The first frame follows at once; the tune plays over it.
    sound_play(VOICE_HIT, SOUND_GAME_BEGIN);
    // hi_score and fire_latch carry over from the last game.
}

int game_frame() {
    video_present();

    if (player_update()) {
        game.lives -= 1;
        // At -1 the panel keeps showing 0.
        if (game.lives >= 0) draw_lives(game.lives);
    }

    int points = missiles_update();
    if (points > 0) {
        add_points(points);
        draw_number(game.score, SCORE_ROW);
    }

    // A landing ends the game at once, whatever lives are left: no more
    // steps, no wave check and no saucer in this frame.
    bool landed = run_formation_steps();
    if (!landed) {
        if (formation_count_live() == 0) {
            formation_layout();
            shields_layout();
        }
        saucer_update();
        if (game.lives >= 0) return 1;
    }

    if (game.score > game.hi_score) game.hi_score = game.score;
    return 0;
}
