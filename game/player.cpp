// The player's cannon and its one shot: movement, the fire latch, the
// explosion and blink of the cannon, the shot's flight and what it hits, and
// the frame's missiles (the shot first, then the bombs).
#include "game/player.h"

#include <iterator>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/bombs.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/saucer.h"
#include "game/shields.h"
#include "input/input.h"
#include "video/draw_queue.h"
#include "video/sprites.h"

PlayerShot shot;

namespace {

// Frames each picture of the cannon's explosion stays up.
constexpr int EXPLOSION_PICTURE_PERIOD = 4;

// Points of formation_hit_test's hit classes 2, 3 and 4, indexed by class;
// any other class scores nothing.
constexpr int INVADER_POINTS[] = {0, 0, 10, 20, 30};

int invader_points(int hit_class) {
    if (hit_class < 0 || hit_class >= int(std::size(INVADER_POINTS))) return 0;
    return INVADER_POINTS[hit_class];
}

// Draws one explosion picture and counts the explosion down; 1 when it ends.
int cannon_explosion_frame(int x) {
    const uint8_t* frame = (game.player_explosion / EXPLOSION_PICTURE_PERIOD) % 2 != 0
                                 ? SPRITE_CANNON_EXPLOSION_A
                                 : SPRITE_CANNON_EXPLOSION_B;
    draw_sprite(x, CANNON_Y, CANNON_W, CANNON_H, frame);
    game.player_explosion -= 1;
    if (game.player_explosion > 0) return 0;
    // Covers this frame's picture in the same present.
    draw_fill(x, CANNON_Y, CANNON_W, CANNON_H, 0);
    game.ready_countdown = READY_COUNTDOWN;
    return 1;
}

}  // namespace

void shot_reset() {
    shot.active = 0;
    shot.cooldown = 0;
}

int player_update() {
    const int old_x = game.player_x;
    // No input is read while the cannon explodes: keys neither move nor fire,
    // and the latch keeps its value.
    if (game.player_explosion > 0) return cannon_explosion_frame(old_x);

    input_poll();
    const uint32_t held = input_held();
    // Left is applied first, then right on what left made of x, so with both
    // held the cannon stands still except at the left bound, where it steps
    // right: kept, since "fixing" it would change where a player's cannon
    // ends up and so every recorded demo.
    if (game.player_x > PLAYER_X_MIN && (held & INPUT_LEFT)) game.player_x -= 1;
    if (game.player_x < PLAYER_X_MAX && (held & INPUT_RIGHT)) game.player_x += 1;

    // One press fires at most one shot; a press refused because a shot flies
    // is lost all the same.
    if (held & INPUT_A) {
        if (game.fire_latch == 0) player_fire(game.player_x + CANNON_W / 2);
        game.fire_latch = 1;
    } else {
        game.fire_latch = 0;
    }

    // An intact cannon that neither moves nor blinks stays as it was drawn.
    if (game.player_x == old_x && game.ready_countdown <= 0) return 0;
    if (game.ready_countdown > 0) game.ready_countdown -= 1;
    draw_fill(old_x, CANNON_Y, CANNON_W, CANNON_H, 0);
    // The blink: drawn on even counts only, so off and on in turn.
    if (game.ready_countdown % 2 == 0)
        draw_sprite(game.player_x, CANNON_Y, CANNON_W, CANNON_H, SPRITE_CANNON);
    return 0;
}

void player_fire(int x) {
    if (shot.active) return;
    shot.x = int16_t(x);
    shot.y = int16_t(SHOT_START_Y);
    shot.active = 1;
    sound_play(VOICE_PLAYER, SOUND_SHOT);
    // Counted with wrap-around so that an endless game stays defined; the
    // saucer reads the count through saucer_score_index.
    game.shots_fired = int32_t(uint32_t(game.shots_fired) + 1u);
}

int shot_update() {
    // The rest after an invader hit holds even a newly fired shot, unseen at
    // its start point.
    if (shot.cooldown > 0) {
        shot.cooldown -= 1;
        return 0;
    }
    if (!shot.active) return 0;

    draw_fill(shot.x - 1, shot.y, SHOT_W, SHOT_H, 0);
    shot.y = int16_t(shot.y - SHOT_SPEED);
    const int x = shot.x, y = shot.y;

    // All three probes test the same point and all three run, so one move can
    // break a block, hit an invader and hit the saucer together: kept, since
    // stopping at the first would change scores players have made.
    int points = 0;
    if (shields_hit_test(x, y)) shot.active = 0;
    const int hit_class = formation_hit_test(x, y);
    if (hit_class != 0) {
        points += invader_points(hit_class);
        sound_play(VOICE_HIT, SOUND_INVADER_HIT);
        shot.active = 0;
        shot.cooldown = SHOT_COOLDOWN;
    }
    if (saucer_hit_test(x, y)) {
        sound_play(VOICE_SAUCER, SOUND_SAUCER_HIT);
        shot.active = 0;
        // The count already includes this shot. The score by shot number is
        // deliberate.
        points += SAUCER_SCORES[saucer_score_index()];
    }

    if (y < SHOT_CEILING_Y) {
        shot.active = 0;
    } else if (shot.active) {
        draw_sprite(x - 1, y, SHOT_W, SHOT_H, SPRITE_SHOT);
    }
    return points;
}

int missiles_update() {
    const int points = shot_update();
    bombs_update();
    return points;
}
