// The presenter: start-up, clipping to the screen, pitch addressing and the
// 16 ms frame pacing, the last with a fake clock.
#include "video/presenter.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "tests/test_support.h"
#include "video/draw_queue.h"

// The window updates the presenter asks SDL for, seen on their way to SDL.
// Only the dynamic linker of Linux lets the test step in front of SDL: on
// Windows the game calls SDL.dll through its import table, so the case that
// counts updates runs on Linux alone (scripts/test-windows.sh leaves it out).
std::vector<SDL_Rect> window_updates;
#ifndef _WIN32
#include <dlfcn.h>
extern "C" void SDL_UpdateRects(SDL_Surface* screen, int count, SDL_Rect* rects) {
    using Real = void (*)(SDL_Surface*, int, SDL_Rect*);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "SDL_UpdateRects"));
    window_updates.assign(rects, rects + count);
    real(screen, count, rects);
}
#endif

namespace {

class Presenter : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start_headless_video(5000)); }
    void TearDown() override { stop_headless_video(); }
};

TEST_F(Presenter, PresentWaitsOutTheRestOf16MillisecondsSinceTheLastPresent) {
    struct Case {
        uint32_t last, now, wait;  // 0: no wait
    };
    const Case cases[] = {{1000, 1000, 16},   {1000, 1001, 15}, {1000, 1015, 1},   {1000, 1016, 0},
                          {1000, 61000, 0},   {0xFFFFFFFAu, 3, 7}, {0xFFFFFFF8u, 8, 0},
                          {0xFFFFFFFFu, 0xFFFFFFFFu, 16}};
    video_set_presenting(1);
    for (const Case& c : cases) {
        presenter.last_present_ticks = c.last;
        replay_clock_start(c.now);
        EXPECT_EQ(video_present(), DRAW_OK);
        EXPECT_EQ(replay_clock.waits, c.wait ? 1u : 0u) << c.last << " -> " << c.now;
        EXPECT_EQ(replay_clock.last_wait, c.wait) << c.last << " -> " << c.now;
        EXPECT_EQ(presenter.last_present_ticks, c.now + c.wait);
    }
}

TEST_F(Presenter, OnlyPresentingPaintsAndPacesWhileFlushPaintsWithoutWaiting) {
    draw_fill(0, 0, 4, 4, 255);
    replay_clock_start(5003);
    EXPECT_EQ(video_present(), DRAW_NOT_PRESENTING);
    EXPECT_EQ(replay_clock.waits, 0u);
    EXPECT_EQ(draw_queue.pending, 1);
    EXPECT_EQ(presenter.last_present_ticks, 5000u);
    EXPECT_EQ(video_pixel(0, 0), STARTUP_BLUE);
    video_flush();
    EXPECT_EQ(replay_clock.waits, 0u);
    EXPECT_EQ(video_pixel(3, 3), 0xFFFFFFFFu);
    video_set_presenting(1);
    EXPECT_EQ(video_present(), DRAW_OK);  // an empty queue still paces
    EXPECT_EQ(replay_clock.waits, 1u);
    EXPECT_EQ(replay_clock.last_wait, 13u);
}

TEST_F(Presenter, APresentUpdatesEveryChangedTileOfTheWindowAndNoOther) {
    draw_fill(10, 1275, 13, 8, 255);   // a cannon
    draw_fill(1500, 16, 16, 8, 255);   // a saucer
    draw_fill(2000, 600, 12, 8, 255);  // an invader
    draw_fill(-3000, 10, 100, 8, 255);  // off screen: nothing to update
    window_updates.clear();
    video_set_presenting(1);
    video_present();
    ASSERT_FALSE(video_last_update.whole);
    ASSERT_EQ(window_updates.size(), size_t(video_last_update.count));
    long area = 0;
    for (int i = 0; i < video_last_update.count; ++i) {
        const UpdateRect& r = video_last_update.rects[i];
        const SDL_Rect& w = window_updates[size_t(i)];
        EXPECT_TRUE(w.x == r.x && w.y == r.y && w.w == r.w && w.h == r.h) << "rectangle " << i;
        area += long(w.w) * w.h;
    }
    EXPECT_LE(area, 4 * UPDATE_TILE * UPDATE_TILE) << "the cannon may span two tiles";
}

// A screen-sized surface whose rows are padded, framed by guard memory:
// painting must address rows through the pitch and never touch the padding
// or the guards, whatever the rectangle.
class PaddedSurface : public ::testing::Test {
protected:
    static constexpr int ROW = SCREEN_WIDTH + 7, GUARD = 4096;
    std::vector<uint32_t> memory, expected;
    SDL_Surface* surface = nullptr;
    SDL_Surface* saved = nullptr;

    void SetUp() override {
        ASSERT_TRUE(start_headless_video());
        memory.assign(size_t(2 * GUARD + ROW * SCREEN_HEIGHT), 0x5A5A5A5Au);
        expected = memory;
        surface = SDL_CreateRGBSurfaceFrom(memory.data() + GUARD, SCREEN_WIDTH, SCREEN_HEIGHT, 32, ROW * 4,
                                           0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0);
        ASSERT_NE(surface, nullptr);
        saved = presenter.screen;
        presenter.screen = surface;
    }
    void TearDown() override {
        presenter.screen = saved;
        if (surface) SDL_FreeSurface(surface);
        stop_headless_video();
    }
    // Paints the model pixel by pixel, asking of each screen pixel whether the
    // rectangle covers it.
    void model(int x, int y, int w, int h, const uint8_t* bitmap, uint8_t gray) {
        for (int py = 0; py < SCREEN_HEIGHT; ++py)
            for (int px = 0; px < SCREEN_WIDTH; ++px) {
                int k = px - x, r = py - y;
                if (k >= 0 && r >= 0 && k < w && r < h)
                    expected[size_t(GUARD + py * ROW + px)] = gray_pixel(bitmap ? bitmap[size_t(r) * size_t(w) + size_t(k)] : gray);
            }
    }
};

TEST_F(PaddedSurface, FillsAndBitmapsReachingPastAnyEdgeShowOnlyTheirOnScreenPart) {
    struct Rect {
        int x, y, w, h;
    };
    const Rect rects[] = {
        {-2218, 300, 12, 8},   {4626, 300, 12, 8},   {-2218, 320, 6856, 3},  // the formation's rear reach
        {-6, 100, 12, 8},      {2494, 100, 12, 8},   {1000, -4, 12, 8},     {1000, 1296, 12, 8},
        {2495, 1295, 30, 30},  {-20, -20, 25, 25},   {-32768, -32768, 32767, 32767},
        {32767, 32767, 32767, 32767}, {-32768, 50, 32767, 2}, {0, 0, 32767, 1400},
    };
    uint8_t gray = 1;
    for (const Rect& r : rects) {
        for (bool bitmap : {false, true}) {
            std::vector<uint8_t> pixels(bitmap && r.w * r.h < 100000 ? size_t(r.w) * size_t(r.h) : 0);
            for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 7 + 3);
            if (bitmap && pixels.empty()) continue;
            if (bitmap) draw_sprite(r.x, r.y, int16_t(r.w), int16_t(r.h), pixels.data());
            else draw_fill(r.x, r.y, int16_t(r.w), int16_t(r.h), gray);
            model(r.x, r.y, r.w, r.h, bitmap ? pixels.data() : nullptr, gray);
            video_flush();
            gray = uint8_t(gray + 37);
            size_t i = 0;
            while (i < memory.size() && memory[i] == expected[i]) ++i;
            ASSERT_EQ(i, memory.size()) << (bitmap ? "bitmap" : "fill") << " at " << r.x << "," << r.y << " size "
                                        << r.w << "x" << r.h << ": word " << long(i) - GUARD << " differs";
        }
    }
}

}  // namespace
