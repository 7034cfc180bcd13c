// The desktop window: how it is fitted to a display, and the fullscreen keys.
#include "video/window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "input/input.h"
#include "tests/test_support.h"
#include "video/draw_queue.h"

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

namespace {
int toggles = 0;
void count_toggle() { toggles += 1; }
}  // namespace

TEST(Window, AltEnterAndF11ToggleFullscreenAndNeverReachTheGame) {
    ASSERT_TRUE(start_headless_video());
    input_init();
    input_poll();
    input_set_toggle_handler(count_toggle);
    toggles = 0;
    replay_push_key(SDLK_F11, true);
    replay_push_key(SDLK_RETURN, true, KMOD_LALT);
    replay_push_key(SDLK_RETURN, true, KMOD_RALT);
    input_poll();
    EXPECT_EQ(toggles, 3);
    EXPECT_EQ(input_held(), 0u);
    EXPECT_EQ(input.quit_requested, 0);
    // Enter alone is no toggle; fire with Alt held still fires.
    replay_push_key(SDLK_RETURN, true);
    replay_push_key(SDLK_z, true, KMOD_LALT);
    input_poll();
    EXPECT_EQ(toggles, 3);
    EXPECT_EQ(input_held(), INPUT_A);
    input_set_toggle_handler(nullptr);
    stop_headless_video();
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
    int w = 0, h = 0;
    window_size_at(0.742, w, h);
    EXPECT_EQ(std::to_string(w) + "x" + std::to_string(h), "1855x964");
    window_size_at(0.516, w, h);
    EXPECT_EQ(std::to_string(w) + "x" + std::to_string(h), "1290x670");
    window_size_at(0.25, w, h);
    EXPECT_EQ(std::to_string(w) + "x" + std::to_string(h), "625x325");
}
