// The invader formation: 8400 invaders in 60 rows of 140, moved one at a time
// under a cursor. Each step moves one invader 4 pixels sideways (or 8 down),
// erodes the shields under it, redraws it and moves the cursor on; the end of
// each sweep animates the formation, turns it at the edges and makes the
// march beat due. Only the six front rows can be shot, counted or turn it.
#include "game/formation.h"

#include <cstdint>
#include <limits>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/bombs.h"
#include "game/shields.h"
#include "video/draw_queue.h"
#include "video/sprites.h"

Formation formation;

namespace {

constexpr int FIRST_X = 16;          // column 0 at lay-out; columns are 16 apart
constexpr int COLUMN_PITCH = 16;
constexpr int ROW0_Y = 784;          // row 0 at lay-out; rows are 12 apart upward
constexpr int ROW_PITCH = 12;
constexpr int ROWS_PER_KIND = 16;
constexpr int STEP_X = 4;
constexpr int DROP_Y = 8;
constexpr int PROBE_OFFSET_X = 4;    // the outer two of the three shield probes
constexpr uint32_t DIR_LEFT = 1;     // direction bit 0
constexpr uint32_t DIR_DROP = 2;     // direction bit 1
constexpr uint32_t MARCH_NOTES = 4;
constexpr int NEVER_HIT = 0;

struct KindLook {
    int width;       // 0: never drawn
    int half_width;
    int first_frame; // the first of its two pictures
    int hit_class;
};

// Indexed by kind. Kind 4 (the top twelve rows) is never drawn and never hit.
constexpr KindLook KINDS[5] = {
    {0, 0, 0, NEVER_HIT},
    {INVADER1_W, INVADER1_W / 2, 0, 2},
    {INVADER2_W, INVADER2_W / 2, 2, 3},
    {INVADER3_W, INVADER3_W / 2, 4, 4},
    {0, 0, 0, NEVER_HIT},
};

constexpr int EXPLOSION_ERASE_HALF = INVADER1_W / 2;  // a 12-wide black box, whatever the kind

bool drawn_kind(int kind) { return kind >= 1 && kind <= 3; }

// Plays out one step of a shot invader's explosion; the formation stands still.
void explosion_phase() {
    uint32_t slot = formation.exploding_slot % FORMATION_SLOTS;
    Invader& v = formation.slots[slot];
    draw_fill(v.x - EXPLOSION_ERASE_HALF, v.y, INVADER1_W, INVADER_H, 0);
    formation.explosion_steps -= 1;
    if (formation.explosion_steps <= 0) {
        if (v.kind != 0 && slot < uint32_t(FRONT_SLOTS)) formation.live_front -= 1;
        v.kind = 0;
        return;
    }
    draw_sprite(v.x - EXPLOSION_W / 2, v.y, EXPLOSION_W, EXPLOSION_H, SPRITE_EXPLOSION);
}

// Moves the invader under the cursor; returns 1 when it dropped onto the
// landing line.
int move_cursor_invader() {
    Invader& v = formation.slots[formation.cursor];
    if (v.kind == 0) return 0;  // its explosion has just ended
    int old_x = v.x, old_y = v.y;
    int landed = 0;
    if (formation.direction & DIR_DROP) {
        // Stored as 16 bits; the game ends at the landing long before a wrap.
        v.y = int16_t(old_y + DROP_Y);
        if (v.y >= LANDING_Y) landed = 1;
    } else {
        v.x = int16_t((formation.direction & DIR_LEFT) ? old_x - STEP_X : old_x + STEP_X);
    }
    // Every invader erodes the shields, the undrawn top rows included.
    int foot = v.y + INVADER_H;
    shields_hit_test(v.x - PROBE_OFFSET_X, foot);
    shields_hit_test(v.x, foot);
    shields_hit_test(v.x + PROBE_OFFSET_X, foot);
    if (drawn_kind(v.kind)) {
        const KindLook& k = KINDS[v.kind];
        draw_fill(old_x - k.half_width, old_y, int16_t(k.width), INVADER_H, 0);
        int frame = k.first_frame + int(formation.anim & 1u);
        draw_invader_frame(v.x - k.half_width, v.y, frame);
    }
    return landed;
}

// Only the front rows turn the formation, deliberately: once the front of an
// edge column is shot away, the rows behind it march past the edge.
void formation_edge_test() {
    bool any = false;
    int min_x = 0, max_x = 0;
    for (int s = 0; s < FRONT_SLOTS; ++s) {
        const Invader& v = formation.slots[s];
        if (v.kind == 0) continue;
        if (!any || v.x < min_x) min_x = v.x;
        if (!any || v.x > max_x) max_x = v.x;
        any = true;
    }
    if (!any) min_x = max_x = -1;
    if (formation.direction & DIR_LEFT) {
        if (min_x < EDGE_LEFT_X) formation.direction = DIR_DROP;
    } else {
        if (max_x >= EDGE_RIGHT_X) formation.direction = DIR_DROP | DIR_LEFT;
    }
}

void formation_march_note() {
    if (!formation.march_due || formation.steps_since_note < MARCH_MIN_STEPS) return;
    sound_play(VOICE_MARCH, SOUND_MARCH_1 + int(formation.note_index % MARCH_NOTES));
    formation.note_index = (formation.note_index + 1) % MARCH_NOTES;
    formation.march_due = 0;
    formation.steps_since_note = 0;
}

void sweep_complete() {
    formation.anim += 1;
    formation.direction &= ~DIR_DROP;
    formation.march_due = 1;
    formation_edge_test();
}

// Moves the cursor to the next live slot, looking at most FRONT_SLOTS ahead.
// Rear rows are never emptied, so only a cursor on the last slot with an empty
// front finds nothing; the formation then freezes until the next lay-out.
void advance_cursor() {
    int from = formation.cursor;
    for (int i = 0; i < FRONT_SLOTS; ++i) {
        int s = (from + 1 + i) % FORMATION_SLOTS;
        if (s == 0) sweep_complete();
        if (formation.slots[s].kind != 0) {
            formation.cursor = s;
            return;
        }
    }
    formation.cursor = -1;
}

}  // namespace

void formation_layout() {
    for (int r = 0; r < FORMATION_ROWS; ++r) {
        for (int c = 0; c < FORMATION_COLUMNS; ++c) {
            Invader& v = formation.slots[r * FORMATION_COLUMNS + c];
            v.x = int16_t(FIRST_X + c * COLUMN_PITCH);
            v.y = int16_t(ROW0_Y - ROW_PITCH * r);
            v.kind = uint8_t(r / ROWS_PER_KIND + 1);
        }
    }
    formation.cursor = 0;
    formation.anim = 0;
    formation.direction = 0;
    formation.march_due = 0;
    formation.note_index = 0;
    formation.explosion_steps = 0;
    formation.bomb_timer = 0;
    formation.step_count = 0;
    formation.live_front = FRONT_SLOTS;
    // Nothing is queued: each invader is first drawn when it is stepped.
}

int formation_step() {
    // Counts every call, frozen or not. It saturates instead of overflowing:
    // only "at least MARCH_MIN_STEPS" matters.
    if (formation.steps_since_note < std::numeric_limits<int32_t>::max()) formation.steps_since_note += 1;
    if (formation.cursor < 0 || formation.cursor >= FORMATION_SLOTS) return 0;

    if (formation.explosion_steps > 0) {
        explosion_phase();
        return 0;
    }
    int landed = move_cursor_invader();
    advance_cursor();
    bombs_release();
    formation.step_count += 1;  // unsigned: wraps harmlessly
    formation_march_note();
    return landed;
}

int formation_hit_test(int x, int y) {
    // Nothing below the first live front invader's picture can be hit.
    int y0 = 0;
    for (int s = 0; s < FRONT_SLOTS; ++s) {
        if (formation.slots[s].kind != 0) {
            y0 = formation.slots[s].y;
            break;
        }
    }
    if (y0 + INVADER_H <= y) return 0;
    for (int s = 0; s < FRONT_SLOTS; ++s) {
        const Invader& v = formation.slots[s];
        if (v.kind == 0 || v.kind > 4) continue;
        const KindLook& k = KINDS[v.kind];
        if (k.hit_class == NEVER_HIT) continue;
        if (v.y <= y && y <= v.y + INVADER_H && v.x - k.half_width <= x && x < v.x + k.half_width) {
            formation.exploding_slot = uint32_t(s);
            formation.explosion_steps = EXPLOSION_STEPS;
            return k.hit_class;
        }
    }
    return 0;
}

int formation_count_live() { return formation.live_front; }

void formation_recount_live() {
    int n = 0;
    for (int s = 0; s < FRONT_SLOTS; ++s) n += formation.slots[s].kind != 0 ? 1 : 0;
    formation.live_front = n;
}
