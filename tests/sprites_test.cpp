// The frame selectors: each frame number draws its table's picture, or its
// black eraser, at the place given.
#include "video/sprites.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/test_support.h"

namespace {

std::vector<Cmd> queued_by(void (*draw)(int, int, int), int x, int y, int frame) {
    draw_queue_reset();
    draw(x, y, frame);
    std::vector<Cmd> out = queued();
    draw_queue_reset();
    return out;
}

TEST(FrameSelectors, InvaderAndSaucerFramesQueueTheirTablesPictureAtThePlaceGiven) {
    const uint8_t* pictures[] = {nullptr, SPRITE_INVADER1_A, SPRITE_INVADER1_B, nullptr, SPRITE_INVADER2_A,
                                 SPRITE_INVADER2_B, nullptr, SPRITE_INVADER3_A, SPRITE_INVADER3_B, nullptr,
                                 SPRITE_EXPLOSION};
    const int widths[] = {12, 12, 12, 10, 10, 10, 8, 8, 8, 8, 8};
    for (int frame = 0; frame <= 10; ++frame)  // rear-row invaders may stand off screen
        EXPECT_EQ(queued_by(draw_invader_frame, -6, 700, frame),
                  (std::vector<Cmd>{{pictures[frame], -6, 700, widths[frame], 8}})) << frame;
    const uint8_t* saucer[] = {nullptr, SPRITE_SAUCER_A, SPRITE_SAUCER_B, nullptr, SPRITE_EXPLOSION};
    for (int frame = 0; frame <= 4; ++frame)
        EXPECT_EQ(queued_by(draw_saucer_frame_at, 100, 24, frame),
                  (std::vector<Cmd>{{saucer[frame], 100, 24, frame < 3 ? 16 : 8, 8}})) << frame;
}

TEST(FrameSelectors, AFrameOutsideItsTableQueuesNothing) {
    for (int frame : {-1, 6, 1000, -2147483647 - 1}) EXPECT_TRUE(queued_by(draw_bomb_frame, 0, 0, frame).empty());
    for (int frame : {-1, 11, 2147483647}) EXPECT_TRUE(queued_by(draw_invader_frame, 0, 0, frame).empty());
    for (int frame : {-1, 5}) EXPECT_TRUE(queued_by(draw_saucer_frame_at, 0, 0, frame).empty());
}

}  // namespace
