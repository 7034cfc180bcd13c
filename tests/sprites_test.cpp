// The frame selectors: a frame number outside its table queues nothing (the
// pictures themselves are checked by the golden frames).
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

TEST(FrameSelectors, AFrameOutsideItsTableQueuesNothing) {
    for (int frame : {-1, 4, 1000, -2147483647 - 1}) EXPECT_TRUE(queued_by(draw_bomb_frame, 0, 0, frame).empty());
    for (int frame : {-1, 6, 2147483647}) EXPECT_TRUE(queued_by(draw_invader_frame, 0, 0, frame).empty());
    for (int frame : {-1, 3}) EXPECT_TRUE(queued_by(draw_saucer_frame_at, 0, 0, frame).empty());
}

}  // namespace
