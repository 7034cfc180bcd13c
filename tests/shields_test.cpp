// Shields: the one-pixel-low probe bands, one row per probe, the gaps, and
// the damage pictures on the neighbours of a destroyed block.
#include "game/shields.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "video/sprites.h"

namespace {

class Shields : public ::testing::Test {
protected:
    void SetUp() override {
        shields_layout();
        draw_queue_reset();
    }
    void TearDown() override { draw_queue_reset(); }
};

// Left column of block k of shield j.
int block_x(int j, int k) { return 24 + 56 * j + 4 * k; }

TEST_F(Shields, ProbesHitTheUpperRowTo1251TheLowerFrom1252AndABlockFromItsXToXPlus3) {
    EXPECT_EQ(shields_hit_test(24, 1243), 0);
    EXPECT_EQ(shields_hit_test(24, 1259), 0);
    EXPECT_EQ(shields_count_alive(), 480);
    EXPECT_EQ(shields_hit_test(24, 1251), 1);
    EXPECT_FALSE(shields[0].alive);
    EXPECT_TRUE(shields[240].alive);
    EXPECT_EQ(shields_hit_test(24, 1251), 0);  // one row per probe
    EXPECT_EQ(shields_hit_test(24, 1252), 1);
    EXPECT_FALSE(shields[240].alive);
    EXPECT_EQ(shields_hit_test(28, 1244), 1);
    EXPECT_EQ(shields_hit_test(28, 1258), 1);
    EXPECT_EQ(shields_count_alive(), 476);
    // A probe at a block's x + 4 belongs to the next; the gaps hold nothing.
    EXPECT_EQ(shields_hit_test(block_x(3, 2) + 4, 1248), 1);
    EXPECT_TRUE(shields[3 * 6 + 2].alive);
    EXPECT_FALSE(shields[3 * 6 + 3].alive);
    for (int x : {23, 2232}) EXPECT_EQ(shields_hit_test(x, 1248), 0);
    for (int x = 48; x < 80; ++x) EXPECT_EQ(shields_hit_test(x, 1248) + shields_hit_test(x, 1255), 0) << x;
    EXPECT_EQ(shields_hit_test(2231, 1248), 1);
}

TEST_F(Shields, ADestroyedBlockIsBlackedOutAndItsStandingNeighboursShowTheBite) {
    const int i = 4 * 6 + 2, x = block_x(4, 2);
    ASSERT_EQ(shields_hit_test(x, 1250), 1);
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, x, 1243, 4, 8},
                                          {SPRITE_SHIELD_TOP_DAMAGED, x, 1251, 4, 8},
                                          {SPRITE_SHIELD_RIGHT_DAMAGED, x - 4, 1243, 4, 8},
                                          {SPRITE_SHIELD_LEFT_DAMAGED, x + 4, 1243, 4, 8}}));
    EXPECT_FALSE(shields[i].alive);
    // A lower block with its upper neighbour standing bites it from below.
    draw_queue_reset();
    ASSERT_EQ(shields_hit_test(block_x(4, 4), 1255), 1);
    EXPECT_EQ(queued().at(1), (Cmd{SPRITE_SHIELD_BOTTOM_DAMAGED, block_x(4, 4), 1243, 4, 8}));
    // With every neighbour gone only the black rectangle is queued.
    for (auto [k, y] : {std::pair{0, 1250}, {0, 1255}, {1, 1255}, {2, 1255}}) shields_hit_test(block_x(4, k), y);
    draw_queue_reset();
    ASSERT_EQ(shields_hit_test(block_x(4, 1), 1250), 1);
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, block_x(4, 1), 1243, 4, 8}}));
    // A probe on a destroyed block finds nothing and queues nothing.
    draw_queue_reset();
    EXPECT_EQ(shields_hit_test(block_x(4, 1), 1250), 0);
    EXPECT_EQ(draw_queue.pending, 0);
}

TEST_F(Shields, DamagePicturesNeverCrossIntoTheNeighbouringShield) {
    for (int i = 0; i < SHIELD_BLOCKS; ++i) {
        SetUp();
        const int j = (i % 240) / 6;
        ASSERT_EQ(shields_hit_test(shields[i].x, i < 240 ? 1250 : 1255), 1) << i;
        for (const Cmd& c : queued()) {
            EXPECT_GE(c.x, 24 + 56 * j) << "block " << i;
            EXPECT_LE(c.x + c.w - 1, 47 + 56 * j) << "block " << i;
        }
    }
}

}  // namespace
