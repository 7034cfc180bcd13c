// The desktop window: how it is fitted to a display, resized and switched to
// fullscreen, and the picture it shows meanwhile.
#include "video/window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"
#include "tests/test_support.h"
#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/window_surface.h"

TEST(Window, FitsTheDisplayWithRoomForFrameAndPanelsNeverScalingUp) {
    struct Case {
        int w, h;
        double scale;
    };
    const Case cases[] = {
        {1920, 1080, 0.742},  // width limits: (1920 - 64) / 2500
        {1366, 768, 0.516},   // height limits: (768 - 96) / 1300
        {2564, 1396, 1.0},    // exactly room enough
        {2563, 1396, 0.999},
        {2564, 1395, 0.999},
        {3840, 2160, 1.0},    // never larger than the game
        {640, 480, 0.25},     // never below the smallest scale
        {0, 0, 1.0},          // display size unknown
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(window_fit_scale(c.w, c.h, SCREEN_WIDTH, SCREEN_HEIGHT), c.scale) << c.w << "x" << c.h;
    }
}

TEST(Window, AnInvisibleDriverNobodyAskedForMeansNoDisplay) {
    struct Case {
        const char* driver;
        const char* requested;
        bool missing;
    };
    const Case cases[] = {
        {"offscreen", nullptr, true},  // SDL's fallback when no display answers
        {"dummy", nullptr, true},
        {"offscreen", "", true},       // an empty variable asks for nothing
        {"offscreen", "offscreen", false},  // the tests and the replay driver ask by name
        {"dummy", "dummy", false},
        {"x11", nullptr, false},
        {"wayland", nullptr, false},
        {"windows", nullptr, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(window_driver_shows_nothing(c.driver, c.requested), c.missing)
            << c.driver << " asked " << (c.requested ? c.requested : "(unset)");
    }
}

TEST(Window, OnlyAWindowThePlayerResizedHasASizeToRemember) {
    game_window = GameWindow{};
    game_window.width = 1855;
    game_window.height = 964;
    EXPECT_EQ(window_size_to_remember(), "") << "fitted, never resized";
    game_window.fullscreen = true;
    EXPECT_EQ(window_size_to_remember(), "") << "fullscreen is not a size";
    game_window.resized = true;
    game_window.width = 1200;
    game_window.height = 900;
    EXPECT_EQ(window_size_to_remember(), "1200x900");
    game_window = GameWindow{};
    for (auto [scale, size] : {std::pair{0.742, "1855x964"}, {0.516, "1290x670"}, {0.25, "625x325"}}) {
        int w = 0, h = 0;
        window_size_at(scale, w, h);
        EXPECT_EQ(std::to_string(w) + "x" + std::to_string(h), size);
    }
}

namespace {
uint32_t window_pixel(int x, int y) {
    const SDL_Surface* w = presenter.window;
    return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(w->pixels) + size_t(y) * size_t(w->pitch))[x];
}
}  // namespace

TEST(Window, AWindowOfTheScreensSizeIsTheScreenAndResizingAwayAndBackKeepsThePicture) {
    WindowRequest request{};
    request.desktop = true;  // on the dummy driver: no display size, so 1:1
    window_request(request);
    ASSERT_TRUE(start_headless_video());
    EXPECT_TRUE(presenter.window == SDL_GetVideoSurface() && presenter.screen == presenter.window && !presenter.scaled)
        << "drawn straight into the window, as 0.1.0 did";
    draw_fill(0, 0, 2, 2, 200);
    video_flush();
    // Half size: the game's own surface, scaled (what it shows: the next test).
    window_resized(1250, 650);
    EXPECT_TRUE(presenter.scaled && presenter.screen != presenter.window);
    draw_fill(2498, 1298, 2, 2, 90);
    video_flush();
    // Back to the screen's size: drawn into directly again, showing all of it,
    // and so after fullscreen and back.
    window_resized(SCREEN_WIDTH, SCREEN_HEIGHT);
    EXPECT_TRUE(presenter.screen == presenter.window && !presenter.scaled);
    EXPECT_EQ(window_pixel(1000, 600), STARTUP_BLUE);
    window_toggle_fullscreen();
    window_toggle_fullscreen();
    EXPECT_EQ(presenter.screen, presenter.window);
    EXPECT_EQ(window_pixel(0, 0), gray_pixel(200));
    EXPECT_EQ(window_pixel(2499, 1299), gray_pixel(90));
    stop_headless_video();
    window_request(WindowRequest{});
    game_window = GameWindow{};
}

namespace {
// A pixel of the window's own surface beneath SDL's 1.2 layer, without alpha.
uint32_t own_window_pixel(int x, int y) {
    WindowSurface s{};
    if (!window_surface_get(s) || x >= s.w || y >= s.h) return 0xDEADBEEFu;
    return reinterpret_cast<const uint32_t*>(s.pixels + size_t(y) * size_t(s.pitch))[x] & 0xFFFFFFu;
}
uint32_t rgb(uint32_t pixel) { return pixel & 0xFFFFFFu; }
void unset_env(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}
// The window as the desktop resizes it, before the game hears of it.
void resize_beneath(int w, int h) {
    using SetSize = void (*)(void*, int, int);
    using FromId = void* (*)(uint32_t);
#ifdef _WIN32
    const char* library = "SDL2.dll";
#else
    const char* library = "libSDL2-2.0.so.0";
#endif
    auto set_size = reinterpret_cast<SetSize>(platform_loaded_function(library, "SDL_SetWindowSize"));
    auto from_id = reinterpret_cast<FromId>(platform_loaded_function(library, "SDL_GetWindowFromID"));
    ASSERT_TRUE(set_size && from_id);
    void* window = nullptr;
    for (uint32_t id = 64; id >= 1 && !window; --id) window = from_id(id);
    ASSERT_NE(window, nullptr);
    set_size(window, w, h);
}
}  // namespace

TEST(Window, TheWindowsOwnPixelsShowOnlyTheRightPictureAtAnySizeAndVsyncKeepsTheLayersPresent) {
    platform_set_env("SDL_RENDER_DRIVER", "software", false);
    platform_set_env("SDL_FRAMEBUFFER_ACCELERATION", "0", true);
    WindowRequest request{};
    request.desktop = true;
    request.scale = 0.5;
    window_request(request);
    ASSERT_TRUE(start_headless_video());
    const auto finish = [] {
        stop_headless_video();
        window_request(WindowRequest{});
        game_window = GameWindow{};
        unset_env("SDL_FRAMEBUFFER_ACCELERATION");
        unset_env("SDL12COMPAT_SYNC_TO_VBLANK");
    };
    if (!presenter.direct) {
        finish();
        GTEST_SKIP() << "SDL's 1.2 layer does not run on SDL 2 with its software renderer here";
    }
    const uint32_t blue = rgb(STARTUP_BLUE);
    ASSERT_EQ(presenter.window->w, 1250);
    EXPECT_EQ(own_window_pixel(625, 325), blue);
    draw_fill(0, 0, 2, 2, 200);
    draw_fill(2498, 1298, 2, 2, 90);
    video_flush();
    EXPECT_EQ(own_window_pixel(0, 0), rgb(gray_pixel(200)));
    EXPECT_EQ(own_window_pixel(1249, 649), rgb(gray_pixel(90)));
    EXPECT_EQ(own_window_pixel(1, 1), blue);

    // The desktop makes the window smaller before the game is told: nothing
    // is written into the smaller surface (the sanitizers watch), and once
    // the size is back the whole window is shown again, not just the change.
    resize_beneath(1000, 520);
    draw_fill(600, 600, 2, 2, 30);
    video_flush();
    resize_beneath(1250, 650);
    draw_fill(1000, 600, 2, 2, 60);
    video_flush();
    EXPECT_EQ(own_window_pixel(0, 0), rgb(gray_pixel(200)));
    EXPECT_EQ(own_window_pixel(300, 300), rgb(gray_pixel(30)));
    EXPECT_EQ(own_window_pixel(500, 300), rgb(gray_pixel(60)));
    EXPECT_EQ(own_window_pixel(900, 100), blue);

    // At the screen's own size the picture is copied, still rectangle by
    // rectangle, from the game's own surface; wider, with black bars.
    window_resized(SCREEN_WIDTH, SCREEN_HEIGHT);
    EXPECT_TRUE(presenter.direct);
    EXPECT_NE(presenter.screen, presenter.window);
    EXPECT_EQ(own_window_pixel(1, 1), rgb(gray_pixel(200)));
    EXPECT_EQ(own_window_pixel(2499, 1299), rgb(gray_pixel(90)));
    draw_fill(1800, 900, 2, 2, 7);
    video_flush();
    EXPECT_EQ(own_window_pixel(1801, 901), rgb(gray_pixel(7)));
    EXPECT_EQ(own_window_pixel(1802, 900), blue);
    window_resized(SCREEN_WIDTH + 500, SCREEN_HEIGHT);
    EXPECT_EQ(own_window_pixel(250 + 1800, 900), rgb(gray_pixel(7)));
    EXPECT_EQ(own_window_pixel(100, 900), 0u);
    EXPECT_EQ(own_window_pixel(SCREEN_WIDTH + 450, 900), 0u);

    // Vsync asked for: only the layer's own present waits for the display,
    // so the picture goes through the layer's surface again.
    platform_set_env("SDL12COMPAT_SYNC_TO_VBLANK", "1", true);
    window_resized(1250, 650);
    EXPECT_FALSE(presenter.direct);
    EXPECT_EQ(rgb(window_pixel(0, 0)), rgb(gray_pixel(200)));
    EXPECT_EQ(rgb(window_pixel(900, 450)), rgb(gray_pixel(7)));
    finish();
}
