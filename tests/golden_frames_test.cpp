// Golden frames: the splash card, the title with and without its prompt, the
// game screen as a game begins and the game-over screen, regenerated with the
// replay driver and compared pixel for pixel with tests/golden/*.ppm.gz.
//
// The new frames stay in <build>/golden-frames/<name>.ppm; on a difference
// `compare OLD NEW diff.png` (ImageMagick) shows where. After a deliberate
// change of the pictures, run the suite once with ZUBA_UPDATE_GOLDEN=1 to
// rewrite the goldens, look at them, and commit them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "replay/frame_dump.h"
#include "replay/replay_run.h"
#include "session/screens.h"
#include "tests/test_support.h"

namespace {

std::string fresh_path(const std::string& name) {
    return std::string(ZUBA_BINARY_DIR) + "/golden-frames/" + name + ".ppm";
}
std::string golden_path(const std::string& name) { return source_path("tests/golden/" + name + ".ppm.gz"); }

void expect_matches_golden(const std::string& name) {
    if (const char* update = std::getenv("ZUBA_UPDATE_GOLDEN"); update && *update == '1') {
        ASSERT_EQ(std::system(("gzip -9n < '" + fresh_path(name) + "' > '" + golden_path(name) + "'").c_str()), 0);
        return;
    }
    PpmImage now = read_ppm(fresh_path(name)), golden = read_ppm(golden_path(name));
    ASSERT_FALSE(now.rgb.empty()) << "no new frame " << fresh_path(name);
    ASSERT_FALSE(golden.rgb.empty()) << "cannot read " << golden_path(name);
    ASSERT_EQ(now.rgb.size(), golden.rgb.size());
    long differing = 0;
    for (size_t i = 0; i < now.rgb.size(); ++i) differing += now.rgb[i] != golden.rgb[i];
    EXPECT_EQ(differing, 0) << name << ": colour values differ from the golden; new frame " << fresh_path(name);
}

// Passes of tests/golden/screens.replay at whose end each frame is taken: the
// splash is built in pass 1; the title, built in pass 182, shows its first
// prompt from title frame 61 (pass 243) and blanks it from frame 91 (pass
// 273); fire in pass 274 starts the countdown, and the game begins in 364.
TEST(GoldenFrames, SplashTitleWithAndWithoutPromptGameBeginAndGameOverMatchTheirGoldens) {
    // The replay driver's SDL runs headless; the new frames go to golden-frames/.
    platform_set_env("SDL_VIDEODRIVER", "dummy", true);
    platform_set_env("SDL_AUDIODRIVER", "dummy", true);
    std::filesystem::create_directories(std::string(ZUBA_BINARY_DIR) + "/golden-frames");
    ReplayScript script;
    std::string error;
    ASSERT_TRUE(replay_load_script(source_path("tests/golden/screens.replay"), script, error)) << error;
    const std::pair<const char*, uint64_t> shots[] = {
        {"splash", 1}, {"title_prompt", 243}, {"title_blank", 273}, {"game_begin", 364}};
    ReplayOptions options;
    for (auto [name, pass] : shots) options.dumps.push_back({pass, fresh_path(name)});
    ReplayResult result;
    ASSERT_EQ(replay_run(script, options, result, error), 0) << error;
    for (auto [name, pass] : shots) expect_matches_golden(name);
    // The game-over screen with score 1230 and hi-score 4560.
    replay_clock_start(0);
    draw_queue_reset();
    ASSERT_EQ(screen_startup(), 0);
    screen_game_over_begin(1230, 4560);  // without playing a game
    ASSERT_TRUE(replay_write_ppm(fresh_path("game_over")));
    screen_shutdown();
    replay_clock_stop();
    expect_matches_golden("game_over");
}

}  // namespace
