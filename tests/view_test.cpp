// The picture in the window: a frame of play scaled by the presenter's view
// equals the area average of the 2500 x 1300 screen worked out here on its
// own, a 1-pixel shot never vanishes, changed rectangles alone give the same
// window as the whole picture, bars stay black and sharp means whole pixels.
#include "video/view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/bombs.h"
#include "game/player.h"
#include "platform/platform.h"
#include "replay/replay_run.h"
#include "tests/test_support.h"
#include "video/presenter.h"
#include "video/sprites.h"
#include "video/window.h"

#include <SDL.h>

namespace {

constexpr ViewFormat ARGB = {16, 8, 0, 0xFF000000u};

struct Screen {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT, gray_pixel(0));
    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(pixels.data()); }
    int gray(int x, int y) const { return int(pixels[size_t(y) * SCREEN_WIDTH + x] & 0xFFu); }
};

struct Window {
    int w, h;
    std::vector<uint32_t> pixels;
    Window(int width, int height) : w(width), h(height), pixels(size_t(width) * height, 0x12345678u) {}
    uint8_t* bytes() { return reinterpret_cast<uint8_t*>(pixels.data()); }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * w + x]; }
};

VideoView view;  // large: kept out of the stack

void scale_all(const Screen& screen, Window& window, VideoFilter filter = FILTER_SMOOTH) {
    view_fit(view, window.w, window.h, filter);
    view_bars(view, window.bytes(), window.w * 4, ARGB);
    view_scale(view, view_window_rect(view, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT), screen.bytes(), SCREEN_WIDTH * 4,
               window.bytes(), window.w * 4, ARGB);
}

// The average gray of the screen area under window pixel (x, y) of a picture
// of w x h, by plain geometry in floating point.
double area_average(const Screen& screen, int w, int h, int x, int y) {
    const double sx = double(SCREEN_WIDTH) / w, sy = double(SCREEN_HEIGHT) / h;
    const double x0 = x * sx, x1 = (x + 1) * sx, y0 = y * sy, y1 = (y + 1) * sy;
    double sum = 0;
    for (int j = int(std::floor(y0)); j < int(std::ceil(y1)) && j < SCREEN_HEIGHT; ++j) {
        const double cover_y = std::min(y1, j + 1.0) - std::max(y0, double(j));
        for (int i = int(std::floor(x0)); i < int(std::ceil(x1)) && i < SCREEN_WIDTH; ++i) {
            const double cover_x = std::min(x1, i + 1.0) - std::max(x0, double(i));
            sum += cover_x * cover_y * screen.gray(i, j);
        }
    }
    return sum / (sx * sy);
}

// A frame of play with the shot and bombs in flight, as the replay driver
// paints it: the golden script's first pass that has both on screen.
Screen frame_in_play(int& shot_x, int& shot_y) {
    platform_set_env("SDL_VIDEODRIVER", "dummy", true);
    platform_set_env("SDL_AUDIODRIVER", "dummy", true);
    ReplayScript script;
    std::string error;
    EXPECT_TRUE(replay_load_script(source_path("tests/replay/shoot_invaders_and_saucer.script"), script, error))
        << error;
    static Screen frame;  // large: kept out of the stack
    bool taken = false;
    ReplayOptions options;
    options.after_pass = [&](uint64_t, int) {
        if (taken || !shot.active || shot.y > 1200) return;
        int falling = 0;
        for (const Bomb& b : bomb_state.bombs) falling += b.kind != 0;
        if (falling < 2) return;
        video_flush();  // what the next present would show
        for (int y = 0; y < SCREEN_HEIGHT; ++y)
            for (int x = 0; x < SCREEN_WIDTH; ++x) frame.pixels[size_t(y) * SCREEN_WIDTH + x] = video_pixel(x, y);
        shot_x = shot.x;
        shot_y = shot.y;
        taken = true;
    };
    ReplayResult result;
    EXPECT_EQ(replay_run(script, options, result, error), 0) << error;
    EXPECT_TRUE(taken) << "no pass had the shot and two bombs in flight";
    return frame;
}

TEST(View, AFrameOfPlayScaledIsTheAreaAverageOfTheScreenInASmallHalfFittedAndFullSizeWindow) {
    int shot_x = 0, shot_y = 0;
    const Screen frame = frame_in_play(shot_x, shot_y);
    ASSERT_GT(frame.gray(shot_x, shot_y + 5), 0) << "the shot's 1-pixel column is on the screen";
    // 0.2: a window the player dragged small, more screen pixels per window
    // pixel than the scaler's fixed-length sums take.
    for (double scale : {0.2, 0.5, 0.742, 1.0}) {
        int w = 0, h = 0;
        window_size_at(scale, w, h);
        Window window(w, h);
        scale_all(frame, window);
        ASSERT_TRUE(view.x == 0 && view.y == 0 && view.w == w && view.h == h) << "the window is the picture";
        int worst = 0, wx = 0, wy = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint32_t p = window.at(x, y);
                const int g = int(p & 0xFFu);
                ASSERT_EQ(p, 0xFF000000u | uint32_t(g) << 16 | uint32_t(g) << 8 | uint32_t(g)) << "gray stays gray";
                const int off = int(std::lround(std::fabs(g - area_average(frame, w, h, x, y)) * 1000));
                if (off > worst) {
                    worst = off;
                    wx = x;
                    wy = y;
                }
            }
        }
        EXPECT_LE(worst, 1000) << "scale " << scale << ": " << worst / 1000.0 << " gray levels off at " << wx << ","
                               << wy;
        // The shot's thin column shows in the window.
        const int col = int(shot_x * double(w) / SCREEN_WIDTH);
        const int row = int((shot_y + 5) * double(h) / SCREEN_HEIGHT);
        EXPECT_GT(window.at(col, row) & 0xFFu, 0u) << "scale " << scale;
    }
}

TEST(View, AtHalfSizeAndTheSmallestScaleTheShotsColumnShowsInEveryPosition) {
    for (double scale : {0.5, 0.25}) {
        int w = 0, h = 0;
        window_size_at(scale, w, h);
        Window window(w, h);
        const int steps = int(std::lround(1 / scale));
        for (int dx = 0; dx < steps; ++dx) {
            for (int dy = 0; dy < steps; ++dy) {
                Screen screen;
                const int left = 1200 + dx, top = 600 + dy;
                for (int y = 0; y < SHOT_H; ++y)
                    for (int x = 0; x < SHOT_W; ++x)
                        screen.pixels[size_t(top + y) * SCREEN_WIDTH + left + x] = gray_pixel(SPRITE_SHOT[y * SHOT_W + x]);
                scale_all(screen, window);
                // Rows 3 to 6 of the shot are one pixel wide, at its middle column.
                const int col = int((left + 1) * scale);
                for (int y = int((top + 3) * scale); y <= int((top + 6) * scale); ++y)
                    EXPECT_GT(window.at(col, y) & 0xFFu, 0u)
                        << "scale " << scale << ", shot at +" << dx << ",+" << dy << ", window row " << y;
            }
        }
    }
}

TEST(View, ChangedRectanglesAloneGiveTheSameWindowAsTheWholePicture) {
    Screen screen;
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (uint32_t& p : screen.pixels) p = gray_pixel(uint8_t(next() >> 24));
    for (double scale : {0.742, 0.333, 1.3}) {
        int w = 0, h = 0;
        window_size_at(scale, w, h);
        Window shown(w + 40, h), whole(w + 40, h);  // bars at the sides
        scale_all(screen, shown);
        for (int k = 0; k < 40; ++k) {
            const int x = int(next() % SCREEN_WIDTH), y = int(next() % SCREEN_HEIGHT);
            const int rw = 1 + int(next() % 60), rh = 1 + int(next() % 60);
            const uint32_t g = gray_pixel(uint8_t(next() >> 24));
            for (int yy = y; yy < std::min(y + rh, SCREEN_HEIGHT); ++yy)
                for (int xx = x; xx < std::min(x + rw, SCREEN_WIDTH); ++xx) screen.pixels[size_t(yy) * SCREEN_WIDTH + xx] = g;
            const ViewRect r = view_window_rect(view, x, y, x + rw, y + rh);
            ASSERT_GE(r.x0, view.x);
            ASSERT_LE(r.x1, view.x + view.w);
            view_scale(view, r, screen.bytes(), SCREEN_WIDTH * 4, shown.bytes(), shown.w * 4, ARGB);
        }
        scale_all(screen, whole);
        EXPECT_TRUE(shown.pixels == whole.pixels) << "scale " << scale;
    }
}

TEST(View, ThePictureKeepsItsShapeInAnyWindowWithBlackBarsAndSharpMeansWholePixels) {
    Screen screen;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) screen.pixels[size_t(y) * SCREEN_WIDTH + x] = gray_pixel((x ^ y) & 1 ? 255 : 40);
    // Wider than the picture: bars left and right; taller: above and below.
    auto bars_black = [](const Window& w) {
        long lit = 0;
        for (int y = 0; y < w.h; ++y)
            for (int x = 0; x < w.w; ++x)
                if (x < view.x || y < view.y || x >= view.x + view.w || y >= view.y + view.h)
                    lit += w.at(x, y) != 0xFF000000u;
        return lit;
    };
    struct Case {
        int w, h, x, y, picture_w, picture_h;
    };
    for (Case c : {Case{2000, 600, (2000 - 1154) / 2, 0, 1154, 600}, {800, 900, 0, (900 - 416) / 2, 800, 416}}) {
        Window window(c.w, c.h);
        scale_all(screen, window);
        EXPECT_TRUE(view.x == c.x && view.y == c.y && view.w == c.picture_w && view.h == c.picture_h) << c.w;
        EXPECT_EQ(bars_black(window), 0) << c.w << "x" << c.h;
    }
    // Colour is averaged as colour: the start-up blue stays that blue, and
    // half of it next to black is half as blue.
    Screen blue;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH / 2; ++x) blue.pixels[size_t(y) * SCREEN_WIDTH + x] = STARTUP_BLUE;
    Window half(1250, 650);
    scale_all(blue, half);
    EXPECT_EQ(half.at(0, 0), STARTUP_BLUE);
    EXPECT_EQ(half.at(624, 649), STARTUP_BLUE);
    EXPECT_EQ(half.at(625, 0), 0xFF000000u);
    Window third(833, 433);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) blue.pixels[size_t(y) * SCREEN_WIDTH + 1250] = gray_pixel(255);
    scale_all(blue, third);
    const uint32_t mixed = third.at(416, 200);  // covers 1248.5 to 1251.5: blue, white, black
    EXPECT_NEAR(int(mixed & 0xFFu), (192 * 1.5 + 255) / 3.0, 1.0);
    EXPECT_NEAR(int((mixed >> 16) & 0xFFu), 255 / 3.0, 1.0);
    // Above full size: sharp shows only the screen's own grays, smooth also
    // blends them where a window pixel straddles two screen pixels.
    for (VideoFilter filter : {FILTER_SHARP, FILTER_SMOOTH}) {
        Window big(3750, 1950);
        scale_all(screen, big, filter);
        int blended = 0;
        for (uint32_t p : big.pixels) blended += (p & 0xFFu) != 255 && (p & 0xFFu) != 40;
        if (filter == FILTER_SHARP) {
            EXPECT_EQ(blended, 0);
            // 1.5 times: screen pixels become blocks of one and two window pixels.
            EXPECT_NE(big.at(0, 0), big.at(1, 0));
            EXPECT_EQ(big.at(1, 0), big.at(2, 0));
        } else {
            EXPECT_GT(blended, 0);
        }
    }
}

}  // namespace
