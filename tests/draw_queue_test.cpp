// The draw queue's ring: capacity, result codes and painting order.
#include "video/draw_queue.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "video/presenter.h"

namespace {

TEST(DrawQueue, HoldsAtMost3071CommandsRefusesTheRestUnchangedAndChecksTheCharacterFirst) {
    draw_queue_reset();
    for (int i = 0; i < DRAW_QUEUE_CAPACITY - 1; ++i) ASSERT_EQ(draw_fill(0, 0, 1, 1, 0), DRAW_OK);
    EXPECT_EQ(draw_fill(0, 0, 1, 1, 0), DRAW_QUEUE_FULL);
    EXPECT_EQ(draw_sprite(0, 0, 1, 1, nullptr), DRAW_QUEUE_FULL);
    EXPECT_EQ(draw_glyph(0, 0, 'A'), DRAW_QUEUE_FULL);
    for (int code : {128, 1000, -1}) EXPECT_EQ(draw_glyph(0, 0, code), DRAW_BAD_CHAR) << code;
    EXPECT_EQ(draw_queue.write_index, 3071);
    EXPECT_EQ(draw_queue.read_index, 0);
    EXPECT_EQ(draw_queue.pending, 3071);
    // A clear leaves exactly one full-screen black fill; a space is a black square.
    draw_clear_screen();
    draw_glyph(7, 9, ' ');
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 0, 0, 2500, 1300}, {nullptr, 7, 9, 8, 8}}));
    draw_queue_reset();
}

class DrawQueuePainting : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start_headless_video()); }
    void TearDown() override { stop_headless_video(); }
};

TEST_F(DrawQueuePainting, LaterCommandsWinPixelByPixelAndBitmapZeroIsOpaqueBlack) {
    draw_fill(10, 10, 4, 4, 255);
    static const uint8_t bitmap[4] = {0, 128, 0, 1};
    draw_sprite(11, 11, 2, 2, bitmap);
    draw_fill(12, 12, 4, 4, 99);
    video_flush();
    const std::pair<int, uint32_t> pixels[] = {{10, 0xFFFFFFFFu}, {11, 0xFF000000u}, {12, 0xFF636363u},
                                               {15, 0xFF636363u}, {16, STARTUP_BLUE}};
    for (auto [xy, value] : pixels) EXPECT_EQ(video_pixel(xy, xy), value) << xy;
    EXPECT_EQ(video_pixel(12, 11), 0xFF808080u);
}

TEST_F(DrawQueuePainting, TheRingWrapsAfterSlot3071AndStillPaintsInQueueingOrder) {
    for (int i = 0; i < DRAW_QUEUE_CAPACITY - 1; ++i) draw_fill(0, 0, 1, 1, 1);
    video_flush();
    for (int i = 1; i <= 3; ++i) draw_fill(18 + 2 * i, 18 + 2 * i, 10, 10, uint8_t(10 * i));  // slots 3071, 0, 1
    EXPECT_EQ(draw_queue.write_index, 2);
    video_flush();
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(video_pixel(19 + 2 * i, 19 + 2 * i), gray_pixel(uint8_t(10 * i)));
    // A cleared screen flushes all black, whatever was queued before the clear.
    draw_fill(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 255);
    draw_clear_screen();
    video_flush();
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) ASSERT_EQ(video_pixel(x, y), 0xFF000000u) << x << "," << y;
}

}  // namespace
