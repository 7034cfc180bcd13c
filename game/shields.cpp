// The forty shields: two rows of 240 blocks, each destroyed whole by the first
// probe that touches it, with the neighbours redrawn to look eaten away.
#include "game/shields.h"

#include <algorithm>
#include <iterator>

#include "video/draw_queue.h"
#include "video/sprites.h"

ShieldBlock shields[SHIELD_BLOCKS];

namespace {

constexpr int SHIELD_FIRST_X = 24;   // left column of shield 0
constexpr int SHIELD_PITCH = 56;     // from one shield's left column to the next
// The probe band lies one pixel below the blocks: a probe sees a block when it
// touches the pixel row just under it, as a falling object's foot would.
constexpr int PROBE_TOP_Y = SHIELD_UPPER_Y + 1;                   // 1244
constexpr int PROBE_UPPER_LAST_Y = SHIELD_LOWER_Y;                // 1251
constexpr int PROBE_BOTTOM_Y = SHIELD_LOWER_Y + SHIELD_BLOCK_H - 1;  // 1258

void draw_block(int i, const uint8_t* picture) {
    draw_sprite(shields[i].x, shields[i].y, SHIELD_BLOCK_W, SHIELD_BLOCK_H, picture);
}

}  // namespace

void shields_layout() {
    for (int i = 0; i < SHIELD_BLOCKS; ++i) {
        int r = i % SHIELD_ROW_BLOCKS;
        int j = r / SHIELD_BLOCKS_PER_SHIELD;
        int k = r % SHIELD_BLOCKS_PER_SHIELD;
        ShieldBlock& b = shields[i];
        b.alive = 1;
        b.x = int16_t(SHIELD_FIRST_X + SHIELD_PITCH * j + SHIELD_BLOCK_W * k);
        b.y = int16_t(i < SHIELD_ROW_BLOCKS ? SHIELD_UPPER_Y : SHIELD_LOWER_Y);
        // Whole pictures cover whatever damage the previous wave left.
        draw_block(i, SPRITE_SHIELD);
    }
}

int shields_hit_test(int x, int y) {
    if (y < PROBE_TOP_Y || y > PROBE_BOTTOM_Y) return 0;
    // One row per probe: the row whose probe band holds y.
    int first = y <= PROBE_UPPER_LAST_Y ? 0 : SHIELD_ROW_BLOCKS;
    for (int i = first; i < first + SHIELD_ROW_BLOCKS; ++i) {
        const ShieldBlock& b = shields[i];
        if (b.alive && b.x <= x && x < b.x + SHIELD_BLOCK_W) {
            // Blocks of one row never overlap, so this is the only one.
            shields_destroy_block(i);
            return 1;
        }
    }
    return 0;
}

void shields_destroy_block(int i) {
    if (i < 0 || i >= SHIELD_BLOCKS) return;
    shields[i].alive = 0;
    draw_fill(shields[i].x, shields[i].y, SHIELD_BLOCK_W, SHIELD_BLOCK_H, 0);

    if (i >= SHIELD_ROW_BLOCKS) {
        if (shields[i - SHIELD_ROW_BLOCKS].alive) draw_block(i - SHIELD_ROW_BLOCKS, SPRITE_SHIELD_BOTTOM_DAMAGED);
    } else {
        if (shields[i + SHIELD_ROW_BLOCKS].alive) draw_block(i + SHIELD_ROW_BLOCKS, SPRITE_SHIELD_TOP_DAMAGED);
    }
    // Side neighbours only within the same shield: the gap separates shields.
    int k = i % SHIELD_BLOCKS_PER_SHIELD;
    if (k != 0 && shields[i - 1].alive) draw_block(i - 1, SPRITE_SHIELD_RIGHT_DAMAGED);
    if (k != SHIELD_BLOCKS_PER_SHIELD - 1 && shields[i + 1].alive) draw_block(i + 1, SPRITE_SHIELD_LEFT_DAMAGED);
}

int shields_count_alive() {
    return int(std::count_if(std::begin(shields), std::end(shields), [](const ShieldBlock& b) { return b.alive != 0; }));
}
