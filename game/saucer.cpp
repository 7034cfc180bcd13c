// The bonus saucer: its schedule, its crossing of the top of the playfield,
// its flying sound, the shot's hit test and its explosion.
#include "game/saucer.h"

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/game.h"
#include "video/draw_queue.h"
#include "video/sprites.h"

Saucer saucer;

namespace {

constexpr int SAUCER_HALF_W = SAUCER_W / 2;
constexpr int EXPLOSION_HALF_W = EXPLOSION_W / 2;

// The pause before the next crossing comes from the same table as the score,
// by the shot count at the moment the crossing or explosion ends: kept on
// purpose, since counting shots to time the saucer is part of the game.
void schedule_next_appearance() {
    saucer.countdown = SAUCER_SCORES[saucer_score_index()] * SAUCER_PAUSE_FACTOR;
    saucer.x = SAUCER_PARKED_X;
}

void enter() {
    saucer.steps_left = SAUCER_CROSSING_STEPS;
    // The side is picked by the parity of the shot count, which players can
    // learn and play to; kept as it is for that.
    saucer.direction = saucer_score_index() & 1;
    saucer.y = SAUCER_Y;
    saucer.x = saucer.direction == 1 ? SAUCER_START_X_LEFTWARD : SAUCER_START_X_RIGHTWARD;
}

}  // namespace

int saucer_score_index() {
    // shots_fired is never negative in play; read unsigned so that a count
    // that has wrapped still gives an index inside the table.
    return int(uint32_t(game.shots_fired) % 6u);
}

void saucer_reset() {
    saucer.explosion = 0;
    saucer.steps_left = 0;
    saucer.x = SAUCER_PARKED_X;
    saucer.countdown = SAUCER_FIRST_COUNTDOWN;
}

void saucer_update() {
    // An exploding saucer neither counts down nor moves.
    if (saucer.explosion > 0) {
        saucer.explosion -= 1;
        if (saucer.explosion == 0) {
            draw_fill(saucer.x - EXPLOSION_HALF_W, saucer.y, EXPLOSION_W, EXPLOSION_H, 0);
            saucer.steps_left = 0;
            schedule_next_appearance();
        }
        return;
    }
    if (saucer.countdown > 0) {
        saucer.countdown -= 1;
        // It enters and takes its first step in the same frame.
        if (saucer.countdown == 0) enter();
    }
    if (saucer.steps_left <= 0) return;

    // The hum sounds at the fifth step and every 25 steps after it.
    if (saucer.steps_left % SAUCER_PULSE_STEPS == 0) sound_play(VOICE_SAUCER, SOUND_SAUCER);
    draw_saucer_frame(saucer.x - SAUCER_HALF_W, 0);
    saucer.x += saucer.direction == 0 ? 1 : -1;
    saucer.steps_left -= 1;
    if (saucer.steps_left == 0) {
        // It has left; nothing more is drawn.
        schedule_next_appearance();
        return;
    }
    // The two pictures take turns every 4 steps.
    draw_saucer_frame(saucer.x - SAUCER_HALF_W, (saucer.steps_left & 4) == 0 ? 1 : 2);
}

int saucer_hit_test(int px, int py) {
    // An exploding saucer cannot be hit again; the shot flies on.
    if (saucer.explosion > 0) return 0;
    if (py < SAUCER_HIT_TOP || py > SAUCER_HIT_BOTTOM) return 0;
    // A saucer away is parked left of every shot's column.
    if (px < saucer.x - SAUCER_HALF_W || px >= saucer.x + SAUCER_HALF_W) return 0;
    saucer.explosion = SAUCER_EXPLOSION_FRAMES;
    draw_saucer_frame(saucer.x - SAUCER_HALF_W, 0);
    draw_sprite(saucer.x - EXPLOSION_HALF_W, saucer.y, EXPLOSION_W, EXPLOSION_H, SPRITE_EXPLOSION);
    return 1;
}

void draw_saucer_frame(int x, int frame) { draw_saucer_frame_at(x, saucer.y, frame); }
