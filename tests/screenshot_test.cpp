// Screenshots: the PNG holds exactly the frame the replay driver dumps for the
// same pass, and a new picture never replaces an older one.
#include "video/screenshot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb_image.h>

#include "replay/replay_run.h"
#include "platform/platform.h"
#include "replay/world_state.h"
#include "tests/test_support.h"
#include "video/draw_queue.h"

TEST(Screenshot, ThePngHoldsExactlyTheFrameTheReplayDriverDumpsForThatPass) {
    platform_set_env("SDL_VIDEODRIVER", "dummy", false);
    platform_set_env("SDL_AUDIODRIVER", "dummy", false);
    const std::string dir = scratch_folder("screenshot_test_frame");
    const uint64_t pass = 250 + 1 + 130 + 40;  // a game under way
    ReplayScript script;
    std::string error;
    const std::string text = "250 -\n1 fire\n130 -\n60 right+fire\n";
    ASSERT_TRUE(replay_parse_script(text.data(), text.size(), "test", script, error));
    ReplayOptions options;
    options.dumps.push_back({pass, dir + "/frame.ppm"});
    bool written = false;
    options.after_pass = [&](uint64_t p, int) {
        if (p != pass) return;
        std::FILE* f = std::fopen((dir + "/frame.png").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        written = screenshot_write_png(f);
        std::fclose(f);
    };
    world_reset();
    ReplayResult result;
    ASSERT_EQ(replay_run(script, options, result, error), 0) << error;
    ASSERT_TRUE(written);
    int w = 0, h = 0, channels = 0;
    uint8_t* png = stbi_load((dir + "/frame.png").c_str(), &w, &h, &channels, 3);
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(w, SCREEN_WIDTH);
    EXPECT_EQ(h, SCREEN_HEIGHT);
    const PpmImage frame = read_ppm(dir + "/frame.ppm");
    ASSERT_EQ(frame.rgb.size(), size_t(SCREEN_WIDTH) * SCREEN_HEIGHT * 3);
    EXPECT_EQ(std::memcmp(png, frame.rgb.data(), frame.rgb.size()), 0);
    size_t lit = 0;
    for (uint8_t c : frame.rgb) lit += c != 0;
    EXPECT_GT(lit, 10000u) << "the frame shows the game";
    stbi_image_free(png);
    std::filesystem::remove_all(dir);
}

TEST(Screenshot, PicturesAreNamedByTheSecondAndNeverReplaceAnOlderOne) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 3;
    EXPECT_EQ(screenshot_name(when, 1), "zuba-trilo-20261207-090503.png");
    EXPECT_EQ(screenshot_name(when, 2), "zuba-trilo-20261207-090503-2.png");
    ASSERT_TRUE(start_headless_video());
    const std::string dir = scratch_folder("screenshot_test_names") + "/deep/screenshots";
    std::set<std::string> paths;
    for (int i = 0; i < 3; ++i) {
        std::string path, error;
        ASSERT_TRUE(screenshot_save(dir, path, error)) << error;
        paths.insert(path);
    }
    EXPECT_EQ(paths.size(), 3u);
    EXPECT_EQ(size_t(std::distance(std::filesystem::directory_iterator(dir), {})), 3u);
    // A folder that cannot be made: one message, nothing written.
    std::string path, error;
    EXPECT_FALSE(screenshot_save(*paths.begin() + "/sub", path, error));
    EXPECT_NE(error.find("cannot create the screenshot folder"), std::string::npos) << error;
    stop_headless_video();
}
