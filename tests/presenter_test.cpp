// The presenter: start-up, clipping to the screen, pitch addressing and the
// 16 ms frame pacing, the last with a fake clock.
#include "video/presenter.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "tests/test_support.h"
#include "video/draw_queue.h"

namespace {

class Presenter : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start_headless_video(5000)); }
    void TearDown() override { stop_headless_video(); }
};

TEST_F(Presenter, StartsWithABlueWindowOf2500By1300At32BitsAndPresentingOff) {
    SDL_Surface* s = presenter.screen;
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, 2500);
    EXPECT_EQ(s->h, 1300);
    EXPECT_EQ(s->format->BitsPerPixel, 32);
    EXPECT_EQ(s->format->Rmask, 0x00FF0000u);
    EXPECT_EQ(s->format->Bmask, 0x000000FFu);
    EXPECT_EQ(presenter.presenting_enabled, 0);
    EXPECT_EQ(presenter.last_present_ticks, 5000u);
    EXPECT_EQ(draw_queue.pending, 0);
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) ASSERT_EQ(video_pixel(x, y), 0xFF0000C0u) << x << "," << y;
}

struct PacingCase {
    uint32_t last;
    uint32_t now;
    std::vector<uint32_t> delays;
};

// A frame is held to 16 ms since the last paced present, also when no time at
// all has passed; across the 32-bit wrap of the tick counter as well.
TEST_F(Presenter, PresentWaitsOutTheRestOf16MillisecondsAfterTheLastPresent) {
    const PacingCase cases[] = {
        {1000, 1000, {16}},  // elapsed 0: a whole frame (the loop must not run free)
        {1000, 1001, {15}},
        {1000, 1015, {1}},
        {1000, 1016, {}},
        {1000, 1017, {}},
        {1000, 61000, {}},
        {0xFFFFFFFAu, 0x00000003u, {7}},   // 9 ms across the wrap
        {0xFFFFFFF8u, 0x00000008u, {}},    // 16 ms across the wrap
        {0xFFFFFFFFu, 0xFFFFFFFFu, {16}},
    };
    video_set_presenting(1);
    for (const PacingCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.last << " -> " << c.now);
        presenter.last_present_ticks = c.last;
        use_fake_clock(c.now);
        EXPECT_EQ(video_present(), DRAW_OK);
        EXPECT_EQ(fake_clock.delays, c.delays);
        // Taken after the wait: the next frame's 16 ms start here.
        uint32_t waited = c.delays.empty() ? 0 : c.delays[0];
        EXPECT_EQ(presenter.last_present_ticks, c.now + waited);
    }
}

TEST_F(Presenter, PresentPaintsTheQueueAndAnEmptyQueueStillPaces) {
    video_set_presenting(1);
    use_fake_clock(5010);
    draw_fill(0, 0, 4, 4, 255);
    EXPECT_EQ(video_present(), DRAW_OK);
    EXPECT_EQ(fake_clock.delays, std::vector<uint32_t>{6});
    EXPECT_EQ(draw_queue.pending, 0);
    EXPECT_EQ(video_pixel(3, 3), 0xFFFFFFFFu);
    fake_clock.delays.clear();
    EXPECT_EQ(video_present(), DRAW_OK);
    EXPECT_EQ(fake_clock.delays, std::vector<uint32_t>{16});
    EXPECT_EQ(presenter.last_present_ticks, 5032u);
}

TEST_F(Presenter, WhileNotPresentingPresentDoesNothingAtAll) {
    draw_fill(0, 0, 4, 4, 255);
    draw_fill(10, 0, 4, 4, 255);
    use_fake_clock(5003);
    EXPECT_EQ(video_present(), DRAW_NOT_PRESENTING);
    EXPECT_TRUE(fake_clock.delays.empty());
    EXPECT_EQ(draw_queue.pending, 2);
    EXPECT_EQ(draw_queue.read_index, 0);
    EXPECT_EQ(draw_queue.write_index, 2);
    EXPECT_EQ(presenter.last_present_ticks, 5000u);
    EXPECT_EQ(video_pixel(0, 0), STARTUP_BLUE);
}

TEST_F(Presenter, FlushPaintsWithoutWaitingWhetherPresentingOrNot) {
    for (int on : {0, 1}) {
        video_set_presenting(on);
        use_fake_clock(5001);
        draw_fill(0, 0, 4, 4, uint8_t(100 + on));
        EXPECT_EQ(video_flush(), DRAW_OK);
        EXPECT_TRUE(fake_clock.delays.empty());
        EXPECT_EQ(presenter.last_present_ticks, 5000u);
        EXPECT_EQ(draw_queue.pending, 0);
        EXPECT_EQ(video_pixel(0, 0), gray_pixel(uint8_t(100 + on)));
        EXPECT_EQ(presenter.presenting_enabled, on);
    }
}

// A surface of the screen's size whose rows are padded, framed by guard
// memory: painting must address rows through the pitch, and must never touch
// the padding or the guards, whatever the rectangle.
class PaddedSurface : public ::testing::Test {
protected:
    static constexpr int PAD = 7;  // pixels of padding after every row
    static constexpr int ROW = SCREEN_WIDTH + PAD;
    static constexpr int GUARD = 4096;  // pixels of guard before and after
    static constexpr uint32_t SENTINEL = 0x5A5A5A5Au;
    static constexpr uint32_t START = 0xFF123456u;

    std::vector<uint32_t> memory;
    std::vector<uint32_t> expected;
    SDL_Surface* surface = nullptr;
    SDL_Surface* saved = nullptr;

    void SetUp() override {
        ASSERT_TRUE(start_headless_video());
        memory.assign(size_t(2 * GUARD + ROW * SCREEN_HEIGHT), SENTINEL);
        for (int y = 0; y < SCREEN_HEIGHT; ++y)
            for (int x = 0; x < SCREEN_WIDTH; ++x) at(x, y) = START;
        expected = memory;
        surface = SDL_CreateRGBSurfaceFrom(memory.data() + GUARD, SCREEN_WIDTH, SCREEN_HEIGHT, 32,
                                           ROW * 4, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0);
        ASSERT_NE(surface, nullptr);
        ASSERT_EQ(surface->pitch, ROW * 4);
        saved = presenter.screen;
        presenter.screen = surface;
    }
    void TearDown() override {
        presenter.screen = saved;
        if (surface) SDL_FreeSurface(surface);
        stop_headless_video();
    }
    uint32_t& at(int x, int y) { return memory[size_t(GUARD + y * ROW + x)]; }
    uint32_t& model(int x, int y) { return expected[size_t(GUARD + y * ROW + x)]; }

    // Which screen pixels a rectangle covers, asked pixel by pixel.
    void expect_paint(int x, int y, int w, int h, const uint8_t* bitmap, uint8_t gray) {
        int x0 = int16_t(x), y0 = int16_t(y);
        for (int py = 0; py < SCREEN_HEIGHT; ++py)
            for (int px = 0; px < SCREEN_WIDTH; ++px) {
                int k = px - x0, r = py - y0;
                if (k < 0 || r < 0 || k >= w || r >= h) continue;
                model(px, py) = gray_pixel(bitmap ? bitmap[size_t(r) * size_t(w) + size_t(k)] : gray);
            }
    }
    void expect_memory_as_modelled() {
        for (size_t i = 0; i < memory.size(); ++i) {
            if (memory[i] == expected[i]) continue;
            long long p = (long long)i - GUARD;
            ADD_FAILURE() << "pixel word " << p << " (row " << p / ROW << ", column " << p % ROW
                          << ") is " << std::hex << memory[i] << ", expected " << expected[i];
            return;
        }
    }
};

struct Rect {
    int x, y, w, h;
};

TEST_F(PaddedSurface, FillsReachingPastAnyEdgeAreClippedToTheScreen) {
    const Rect rects[] = {
        {-2218, 300, 12, 8},     // the formation's leftmost rear invader, wholly off screen
        {4626, 300, 12, 8},      // its rightmost, ending at x 4637
        {-2218, 320, 6856, 8},   // one rear row from x -2218 to 4637
        {-6, 100, 12, 8},        // straddling the left edge
        {2494, 100, 12, 8},      // straddling the right edge
        {1000, -4, 12, 8},       // the top edge
        {1000, 1296, 12, 8},     // the bottom edge
        {2495, 1295, 30, 30},    // the bottom right corner
        {-20, -20, 25, 25},      // the top left corner
        {-32768, -32768, 32767, 32767},  // ends at -1: nothing
        {32767, 32767, 32767, 32767},
        {-32768, 50, 32767, 2},
        {100, -32768, 2, 32767},
        {0, 0, 32767, 32767},    // the whole screen and far beyond
    };
    uint8_t gray = 1;
    for (const Rect& r : rects) {
        draw_fill(r.x, r.y, int16_t(r.w), int16_t(r.h), gray);
        expect_paint(r.x, r.y, r.w, r.h, nullptr, gray);
        video_flush();
        SCOPED_TRACE(testing::Message() << "fill at " << r.x << "," << r.y << " size " << r.w << "x" << r.h);
        expect_memory_as_modelled();
        gray = uint8_t(gray + 37);
    }
}

TEST_F(PaddedSurface, BitmapsReachingPastAnyEdgeShowTheirOnScreenPart) {
    const Rect rects[] = {
        {-2218, 300, 6856, 3},  // a bitmap as wide as the formation's reach
        {-5, 10, 12, 8},        {2493, 10, 12, 8},  {600, -3, 12, 8},
        {600, 1297, 12, 8},     {-7, -5, 16, 8},    {2490, 1296, 16, 8},
        {-32768, 500, 32767, 1}, {2499, 1299, 1, 1}, {0, 0, 2500, 1300},
    };
    for (const Rect& r : rects) {
        std::vector<uint8_t> bitmap(size_t(r.w) * size_t(r.h));
        for (size_t i = 0; i < bitmap.size(); ++i) bitmap[i] = uint8_t(i * 7 + 3);
        draw_sprite(r.x, r.y, int16_t(r.w), int16_t(r.h), bitmap.data());
        expect_paint(r.x, r.y, r.w, r.h, bitmap.data(), 0);
        video_flush();
        SCOPED_TRACE(testing::Message() << "bitmap at " << r.x << "," << r.y << " size " << r.w << "x" << r.h);
        expect_memory_as_modelled();
    }
}

}  // namespace
