// The draw queue's ring: capacity, result codes and painting order.
#include "video/draw_queue.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "video/presenter.h"

namespace {

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

TEST(DrawQueue, CommandsKeepTheirArgumentsWithXAndYTruncatedTo16Bits) {
    draw_queue_reset();
    static const uint8_t bitmap[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(draw_fill(-2218, 1299, 12, 8, 200), DRAW_OK);
    EXPECT_EQ(draw_sprite(65536 + 10, -65536 + 20, 3, 2, bitmap), DRAW_OK);
    EXPECT_EQ(draw_glyph(7, 9, ' '), DRAW_OK);
    EXPECT_EQ(draw_glyph(0, 0, 128), DRAW_BAD_CHAR);
    EXPECT_EQ(draw_glyph(0, 0, 1000), DRAW_BAD_CHAR);
    EXPECT_EQ(draw_glyph(0, 0, -128), DRAW_BAD_CHAR);
    std::vector<DrawCommand> q = pending_commands();
    ASSERT_EQ(q.size(), 3u);
    EXPECT_EQ(q[0].pixels, nullptr);
    EXPECT_EQ(q[0].x, -2218);
    EXPECT_EQ(q[0].y, 1299);
    EXPECT_EQ(q[0].w, 12);
    EXPECT_EQ(q[0].h, 8);
    EXPECT_EQ(q[0].gray, 200);
    EXPECT_EQ(q[1].pixels, bitmap);
    EXPECT_EQ(q[1].x, 10);
    EXPECT_EQ(q[1].y, 20);
    EXPECT_EQ(q[1].gray, 0);
    // A space has no glyph: it is a black 8 x 8 square that erases.
    EXPECT_EQ(q[2].pixels, nullptr);
    EXPECT_EQ(q[2].x, 7);
    EXPECT_EQ(q[2].y, 9);
    EXPECT_EQ(q[2].w, 8);
    EXPECT_EQ(q[2].h, 8);
    EXPECT_EQ(q[2].gray, 0);
    draw_queue_reset();
}

TEST(DrawQueue, ClearingLeavesExactlyOneFullScreenBlackFill) {
    draw_queue_reset();
    for (int i = 0; i < 100; ++i) draw_fill(i, i, 1, 1, 255);
    draw_clear_screen();
    EXPECT_EQ(draw_queue.read_index, 0);
    EXPECT_EQ(draw_queue.write_index, 1);
    EXPECT_EQ(draw_queue.pending, 1);
    const DrawCommand& c = draw_queue.commands[0];
    EXPECT_EQ(c.pixels, nullptr);
    EXPECT_EQ(c.x, 0);
    EXPECT_EQ(c.y, 0);
    EXPECT_EQ(c.w, 2500);
    EXPECT_EQ(c.h, 1300);
    EXPECT_EQ(c.gray, 0);
    draw_queue_reset();
}

// Painting, on the real 2500 x 1300 surface of the dummy video driver.
class DrawQueuePainting : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start_headless_video()); }
    void TearDown() override { stop_headless_video(); }
};

TEST_F(DrawQueuePainting, GrayLevelsPaintOpaqueGrayPixels) {
    EXPECT_EQ(gray_pixel(0), 0xFF000000u);
    EXPECT_EQ(gray_pixel(255), 0xFFFFFFFFu);
    EXPECT_EQ(gray_pixel(128), 0xFF808080u);
    draw_fill(100, 200, 3, 2, 255);
    static const uint8_t bitmap[4] = {128, 0, 1, 255};
    draw_sprite(300, 400, 2, 2, bitmap);
    video_flush();
    for (int y = 200; y < 202; ++y)
        for (int x = 100; x < 103; ++x) EXPECT_EQ(video_pixel(x, y), 0xFFFFFFFFu);
    EXPECT_EQ(video_pixel(103, 200), STARTUP_BLUE);
    EXPECT_EQ(video_pixel(100, 202), STARTUP_BLUE);
    EXPECT_EQ(video_pixel(300, 400), 0xFF808080u);
    EXPECT_EQ(video_pixel(301, 400), 0xFF000000u);
    EXPECT_EQ(video_pixel(300, 401), 0xFF010101u);
    EXPECT_EQ(video_pixel(301, 401), 0xFFFFFFFFu);
}

TEST_F(DrawQueuePainting, LaterCommandsCoverEarlierOnesAndBitmapZeroIsBlackNotTransparent) {
    draw_fill(10, 10, 4, 4, 255);
    static const uint8_t bitmap[4] = {0, 0, 0, 50};
    draw_sprite(11, 11, 2, 2, bitmap);
    draw_fill(12, 12, 4, 4, 99);
    video_flush();
    EXPECT_EQ(video_pixel(10, 10), gray_pixel(255));
    EXPECT_EQ(video_pixel(11, 11), gray_pixel(0));
    EXPECT_EQ(video_pixel(12, 11), gray_pixel(0));
    EXPECT_EQ(video_pixel(11, 12), gray_pixel(0));
    EXPECT_EQ(video_pixel(12, 12), gray_pixel(99));
    EXPECT_EQ(video_pixel(13, 13), gray_pixel(99));
    EXPECT_EQ(video_pixel(15, 15), gray_pixel(99));
    EXPECT_EQ(video_pixel(13, 10), gray_pixel(255));
}

TEST_F(DrawQueuePainting, EmptyRectanglesPaintNothingButAreConsumed) {
    static const uint8_t bitmap[4] = {255, 255, 255, 255};
    draw_fill(50, 50, 0, 5, 255);
    draw_fill(50, 50, 5, 0, 255);
    draw_fill(50, 50, -5, 5, 255);
    draw_sprite(50, 50, 0, 2, bitmap);
    draw_sprite(50, 50, 2, -1, bitmap);
    video_flush();
    EXPECT_EQ(draw_queue.read_index, 5);
    EXPECT_EQ(draw_queue.write_index, 5);
    EXPECT_EQ(draw_queue.pending, 0);
    for (int y = 45; y < 56; ++y)
        for (int x = 45; x < 56; ++x) ASSERT_EQ(video_pixel(x, y), STARTUP_BLUE) << x << "," << y;
}

TEST_F(DrawQueuePainting, TheRingWrapsAndStillPaintsInQueueingOrder) {
    for (int i = 0; i < DRAW_QUEUE_CAPACITY - 1; ++i) draw_fill(0, 0, 1, 1, 1);
    video_flush();
    ASSERT_EQ(draw_queue.write_index, 3071);
    ASSERT_EQ(draw_queue.read_index, 3071);
    // Slot 3071, then slots 0 and 1 after the wrap; each covers the one before.
    draw_fill(20, 20, 10, 10, 10);
    EXPECT_EQ(draw_queue.write_index, 0);
    draw_fill(22, 22, 10, 10, 20);
    draw_fill(24, 24, 10, 10, 30);
    EXPECT_EQ(draw_queue.write_index, 2);
    EXPECT_EQ(draw_queue.pending, 3);
    video_flush();
    EXPECT_EQ(draw_queue.read_index, 2);
    EXPECT_EQ(draw_queue.pending, 0);
    EXPECT_EQ(video_pixel(21, 21), gray_pixel(10));
    EXPECT_EQ(video_pixel(23, 23), gray_pixel(20));
    EXPECT_EQ(video_pixel(25, 25), gray_pixel(30));
    EXPECT_EQ(video_pixel(31, 31), gray_pixel(30));
    // After a drain the ring takes a full load again.
    for (int i = 0; i < DRAW_QUEUE_CAPACITY - 1; ++i) ASSERT_EQ(draw_fill(0, 0, 1, 1, 0), DRAW_OK);
    EXPECT_EQ(draw_fill(0, 0, 1, 1, 0), DRAW_QUEUE_FULL);
}

TEST_F(DrawQueuePainting, AClearedScreenFlushesAllBlackAndDiscardsWhatWasQueued) {
    draw_fill(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 255);
    video_flush();
    draw_fill(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 255);
    draw_clear_screen();
    video_flush();
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            ASSERT_EQ(video_pixel(x, y), 0xFF000000u) << x << "," << y;
}

}  // namespace
