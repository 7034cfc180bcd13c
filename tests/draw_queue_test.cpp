// The draw queue's ring: capacity, result codes and painting order.
#include "video/draw_queue.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

TEST(DrawQueue, HoldsAtMost3071CommandsAndDropsTheRestUnchanged) {
    draw_queue_reset();
    for (int i = 0; i < DRAW_QUEUE_CAPACITY - 1; ++i) ASSERT_EQ(draw_fill(0, 0, 1, 1, 0), DRAW_OK);
    EXPECT_EQ(draw_queue.pending, 3071);
    int w = draw_queue.write_index, r = draw_queue.read_index;
    EXPECT_EQ(draw_fill(0, 0, 1, 1, 0), DRAW_QUEUE_FULL);
    EXPECT_EQ(draw_sprite(0, 0, 1, 1, nullptr), DRAW_QUEUE_FULL);
    EXPECT_EQ(draw_glyph(0, 0, 'A'), DRAW_QUEUE_FULL);
    // The character test comes before the full test.
    EXPECT_EQ(draw_glyph(0, 0, 128), DRAW_BAD_CHAR);
    EXPECT_EQ(draw_glyph(0, 0, -1), DRAW_BAD_CHAR);
    EXPECT_EQ(draw_queue.write_index, w);
    EXPECT_EQ(draw_queue.read_index, r);
    EXPECT_EQ(draw_queue.pending, 3071);
    draw_queue_reset();
}
