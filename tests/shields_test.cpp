// Shields: lay-out geometry, the one-pixel-low probe bands, one row per probe,
// the gaps, and the damage pictures on the neighbours of a destroyed block.
#include "game/shields.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "video/sprites.h"

namespace {

void fresh_shields() {
    shields_layout();
    draw_queue_reset();
}

// Left column of block k of shield j.
int block_x(int j, int k) { return 24 + 56 * j + 4 * k; }

}  // namespace

TEST(Shields, LayoutStandsFortyShieldsOfTwoRowsAndDrawsEveryBlockWhole) {
    draw_queue_reset();
    shields_layout();
    EXPECT_EQ(shields_count_alive(), 480);
    EXPECT_EQ(shields[0].x, 24);
    EXPECT_EQ(shields[0].y, 1243);
    EXPECT_EQ(shields[240].x, 24);
    EXPECT_EQ(shields[240].y, 1251);
    EXPECT_EQ(shields[6].x, 80);  // 32 pixels after shield 0 ends at 47
    EXPECT_EQ(shields[239].x + 4 - 1, 2231);
    auto cmds = pending_commands();
    ASSERT_EQ(cmds.size(), 480u);
    for (int i = 0; i < 480; ++i) {
        EXPECT_EQ(cmds[i].pixels, SPRITE_SHIELD);
        EXPECT_EQ(cmds[i].x, shields[i].x);
        EXPECT_EQ(cmds[i].y, shields[i].y);
        EXPECT_EQ(cmds[i].w, 4);
        EXPECT_EQ(cmds[i].h, 8);
    }
    // A new lay-out stands every block again.
    shields_hit_test(24, 1250);
    shields_layout();
    EXPECT_EQ(shields_count_alive(), 480);
    draw_queue_reset();
}

TEST(Shields, ProbeBandLiesOnePixelBelowTheBlocksAndExaminesOneRow) {
    fresh_shields();
    EXPECT_EQ(shields_hit_test(24, 1243), 0);
    EXPECT_EQ(shields_hit_test(24, 1259), 0);
    EXPECT_EQ(shields_count_alive(), 480);

    EXPECT_EQ(shields_hit_test(24, 1251), 1);  // upper row
    EXPECT_FALSE(shields[0].alive);
    EXPECT_TRUE(shields[240].alive);
    // The upper block is gone; a second probe at 1251 does not reach the lower row.
    EXPECT_EQ(shields_hit_test(24, 1251), 0);
    EXPECT_EQ(shields_hit_test(24, 1252), 1);  // lower row
    EXPECT_FALSE(shields[240].alive);

    EXPECT_EQ(shields_hit_test(28, 1244), 1);
    EXPECT_FALSE(shields[1].alive);
    EXPECT_EQ(shields_hit_test(28, 1258), 1);
    EXPECT_FALSE(shields[241].alive);
    EXPECT_EQ(shields_count_alive(), 476);
    draw_queue_reset();
}

TEST(Shields, ProbeAtABlocksRightEdgeBelongsToTheNextAndGapsHoldNothing) {
    fresh_shields();
    EXPECT_EQ(shields_hit_test(block_x(3, 2) + 4, 1248), 1);
    EXPECT_TRUE(shields[3 * 6 + 2].alive);
    EXPECT_FALSE(shields[3 * 6 + 3].alive);
    // The last column of a shield, then its 32-pixel gap.
    EXPECT_EQ(shields_hit_test(block_x(0, 5) + 3, 1248), 1);
    for (int x = 48; x < 80; ++x) {
        EXPECT_EQ(shields_hit_test(x, 1248), 0) << x;
        EXPECT_EQ(shields_hit_test(x, 1255), 0) << x;
    }
    EXPECT_EQ(shields_hit_test(23, 1248), 0);
    EXPECT_EQ(shields_hit_test(2232, 1248), 0);
    EXPECT_EQ(shields_hit_test(2231, 1248), 1);
    draw_queue_reset();
}

TEST(Shields, DestroyedBlockIsBlackedOutAndItsStandingNeighboursShowTheBite) {
    fresh_shields();
    // Block k = 2 of shield 4, upper row.
    int i = 4 * 6 + 2;
    ASSERT_EQ(shields_hit_test(block_x(4, 2), 1250), 1);
    auto cmds = pending_commands();
    ASSERT_EQ(cmds.size(), 4u);
    EXPECT_EQ(cmds[0].pixels, nullptr);
    EXPECT_EQ(cmds[0].gray, 0);
    EXPECT_EQ(cmds[0].x, shields[i].x);
    EXPECT_EQ(cmds[0].y, 1243);
    EXPECT_EQ(cmds[0].w, 4);
    EXPECT_EQ(cmds[0].h, 8);
    EXPECT_EQ(cmds[1].pixels, SPRITE_SHIELD_TOP_DAMAGED);
    EXPECT_EQ(cmds[1].x, shields[i + 240].x);
    EXPECT_EQ(cmds[1].y, 1251);
    EXPECT_EQ(cmds[2].pixels, SPRITE_SHIELD_RIGHT_DAMAGED);
    EXPECT_EQ(cmds[2].x, shields[i - 1].x);
    EXPECT_EQ(cmds[3].pixels, SPRITE_SHIELD_LEFT_DAMAGED);
    EXPECT_EQ(cmds[3].x, shields[i + 1].x);

    // The lower block below it: the upper one is gone, so only its sides.
    draw_queue_reset();
    ASSERT_EQ(shields_hit_test(block_x(4, 2), 1255), 1);
    cmds = pending_commands();
    ASSERT_EQ(cmds.size(), 3u);
    EXPECT_EQ(cmds[1].pixels, SPRITE_SHIELD_RIGHT_DAMAGED);
    EXPECT_EQ(cmds[1].y, 1251);
    EXPECT_EQ(cmds[2].pixels, SPRITE_SHIELD_LEFT_DAMAGED);

    // A lower block with its upper neighbour standing bites it from below.
    draw_queue_reset();
    ASSERT_EQ(shields_hit_test(block_x(4, 4), 1255), 1);
    cmds = pending_commands();
    ASSERT_GE(cmds.size(), 2u);
    EXPECT_EQ(cmds[1].pixels, SPRITE_SHIELD_BOTTOM_DAMAGED);
    EXPECT_EQ(cmds[1].x, block_x(4, 4));
    EXPECT_EQ(cmds[1].y, 1243);

    // With every neighbour gone only the black rectangle is queued.
    shields_hit_test(block_x(4, 0), 1250);
    shields_hit_test(block_x(4, 0), 1255);
    shields_hit_test(block_x(4, 1), 1255);
    draw_queue_reset();
    ASSERT_EQ(shields_hit_test(block_x(4, 1), 1250), 1);
    cmds = pending_commands();
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].pixels, nullptr);

    // A probe on a destroyed block finds nothing and queues nothing.
    draw_queue_reset();
    EXPECT_EQ(shields_hit_test(block_x(4, 1), 1250), 0);
    EXPECT_EQ(draw_queue.pending, 0);
    draw_queue_reset();
}

TEST(Shields, DamagePicturesNeverCrossIntoTheNeighbouringShield) {
    for (int i = 0; i < SHIELD_BLOCKS; ++i) {
        fresh_shields();
        int j = (i % 240) / 6;
        int x = shields[i].x;
        int y = i < 240 ? 1250 : 1255;
        ASSERT_EQ(shields_hit_test(x, y), 1) << i;
        for (const DrawCommand& c : pending_commands()) {
            EXPECT_GE(c.x, 24 + 56 * j) << "block " << i;
            EXPECT_LE(c.x + c.w - 1, 47 + 56 * j) << "block " << i;
        }
    }
    draw_queue_reset();
}
