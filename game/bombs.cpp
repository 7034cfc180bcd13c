// The invaders' bombs: released by the formation's stepping, falling 3 pixels
// a frame, stopped by shields, and deadly to the cannon.
#include "game/bombs.h"

#include <algorithm>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/player.h"
#include "game/shields.h"
#include "video/draw_queue.h"
#include "video/sprites.h"

BombState bomb_state;

namespace {

void count_up() { bomb_state.bomb_counter = int32_t(uint32_t(bomb_state.bomb_counter) + 1u); }

// The lowest live invader of the first of 10 columns from c (wrapping) that
// has one, or nullptr.
const Invader* bomb_source(int c) {
    for (int i = 0; i < BOMB_SEARCH_COLUMNS; ++i) {
        const int column = (c + i) % FORMATION_COLUMNS;
        for (int row = 0; row < FORMATION_ROWS; ++row) {
            const Invader& inv = formation.slots[row * FORMATION_COLUMNS + column];
            if (inv.kind != 0) return &inv;
        }
    }
    return nullptr;
}

Bomb* free_bomb() {
    Bomb* end = bomb_state.bombs + BOMB_SLOTS;
    Bomb* b = std::find_if(bomb_state.bombs, end, [](const Bomb& x) { return x.kind == 0; });
    return b == end ? nullptr : b;
}

// The cannon is hit only between its edge columns (both edges miss), and not
// while it blinks or explodes.
bool hits_cannon(const Bomb& b) {
    return game.ready_countdown <= 0 && game.player_explosion <= 0 && b.y + BOMB_H >= CANNON_Y &&
           game.player_x < b.x && b.x < game.player_x + CANNON_W;
}

}  // namespace

void bombs_reset() {
    for (Bomb& b : bomb_state.bombs) b.kind = 0;
    bomb_state.bomb_counter = 0;
}

void bombs_release() {
    // With n live front invaders a release is due every n + 16 steps: the
    // fewer are left, the faster they bomb.
    formation.bomb_timer += 1;
    if (formation.bomb_timer <= formation_count_live() + BOMB_RELEASE_EXTRA_STEPS) return;
    const int c = int((formation.step_count ^ BOMB_COLUMN_SALT) % uint32_t(FORMATION_COLUMNS));
    formation.bomb_timer = 0;

    // Rows 6 and up are never destroyed, so the first column always yields.
    const Invader* source = bomb_source(c);
    if (!source) return;
    Bomb* b = free_bomb();
    if (!b) return;
    b->x = source->x;
    b->y = int16_t(source->y + INVADER_H);
    b->kind = (uint32_t(bomb_state.bomb_counter) & 1u) == 0 ? 1 : 2;
    b->anim = 0;
    count_up();
}

void bombs_update() {
    count_up();
    for (Bomb& b : bomb_state.bombs) {
        if (b.kind == 0) continue;
        draw_fill(b.x - 1, b.y, BOMB_W, BOMB_H, 0);
        b.y = int16_t(b.y + BOMB_SPEED);
        b.anim = uint8_t(b.anim + 1);

        if (shields_hit_test(b.x, b.y + BOMB_H)) {
            b.kind = 0;
            continue;
        }
        bool removed = false;
        // Tested before the bomb leaves play, so a bomb can still destroy the
        // cannon in the frame it leaves: kept on purpose, since players know
        // a bomb at the very bottom still kills, and replays depend on it.
        if (hits_cannon(b)) {
            sound_play(VOICE_PLAYER, SOUND_PLAYER_HIT);
            game.player_explosion = PLAYER_EXPLOSION_FRAMES;
            b.kind = 0;
            removed = true;
        }
        if (b.y > BOMB_LEAVE_Y) {
            b.kind = 0;
        } else if (!removed) {
            // Kind 1's two pictures are alike; kind 2 alternates zigzag and plain.
            const int first_frame = b.kind == 1 ? 0 : 2;
            draw_bomb_frame(b.x - 1, b.y, first_frame + (b.anim & 1));
        }
    }
}
