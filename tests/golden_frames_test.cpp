// Golden frames: the splash card, the title with and without its prompt, the
// game screen as a game begins and the game-over screen, regenerated with the
// replay driver and compared pixel for pixel with tests/golden/*.ppm.gz.
//
// On a difference the test writes <build>/golden-frames/<name>.diff.ppm
// (differing pixels red over the dimmed new frame) beside <name>.ppm, the new
// frame. After a deliberate change of the pictures, run the suite once with
// ZUBA_UPDATE_GOLDEN=1 to rewrite the goldens, look at them, and commit them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/screens.h"
#include "tests/test_support.h"
#include "replay/replay_run.h"
#include "replay/replay_script.h"
#include "video/draw_queue.h"

namespace {

struct Frame {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    uint8_t gray(int x, int y) const { return rgb[(size_t(y) * w + x) * 3]; }
    std::string text(int x, int y, int length) const {
        return read_text([this](int px, int py) { return gray(px, py); }, x, y, length);
    }
};

// Reads (or writes) a PPM through a file or a gzip pipe.
bool read_ppm(std::FILE* f, Frame& out) {
    int maxval = 0;
    if (!f || std::fscanf(f, "P6 %d %d %d", &out.w, &out.h, &maxval) != 3 || maxval != 255) return false;
    if (std::fgetc(f) == EOF || out.w <= 0 || out.h <= 0) return false;
    out.rgb.resize(size_t(out.w) * out.h * 3);
    return std::fread(out.rgb.data(), 1, out.rgb.size(), f) == out.rgb.size();
}

bool write_ppm(std::FILE* f, const Frame& frame) {
    return f && std::fprintf(f, "P6\n%d %d\n255\n", frame.w, frame.h) > 0 &&
           std::fwrite(frame.rgb.data(), 1, frame.rgb.size(), f) == frame.rgb.size();
}

std::string out_dir() { return std::string(ZUBA_BINARY_DIR) + "/golden-frames"; }
std::string fresh_path(const std::string& name) { return out_dir() + "/" + name + ".ppm"; }
std::string golden_path(const std::string& name) { return source_path("tests/golden/" + name + ".ppm.gz"); }

Frame fresh(const std::string& name) {
    Frame f;
    std::FILE* file = std::fopen(fresh_path(name).c_str(), "rb");
    EXPECT_TRUE(read_ppm(file, f)) << "no fresh frame " << fresh_path(name);
    if (file) std::fclose(file);
    return f;
}

// Passes of tests/golden/screens.replay at whose end each frame is taken: the
// splash is built in pass 1; the title, built in pass 182, shows its first
// prompt from title frame 61 (pass 243) and blanks it from frame 91 (pass
// 273); fire in pass 274 starts the countdown, and the game begins in 364.
struct Shot {
    const char* name;
    uint64_t pass;
};
constexpr Shot SHOTS[] = {{"splash", 1}, {"title_prompt", 243}, {"title_blank", 273}, {"game_begin", 364}};

void use_headless_drivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    mkdir(out_dir().c_str(), 0755);
}

// Compares one fresh frame with its golden and explains a difference.
void expect_matches_golden(const std::string& name) {
    std::string diff_path = out_dir() + "/" + name + ".diff.ppm";
    std::remove(diff_path.c_str());  // a stale diff would mislead
    Frame now = fresh(name), golden;
    ASSERT_FALSE(now.rgb.empty());
    if (const char* update = std::getenv("ZUBA_UPDATE_GOLDEN"); update && *update == '1') {
        std::FILE* f = popen(("gzip -9n > '" + golden_path(name) + "'").c_str(), "w");
        ASSERT_TRUE(write_ppm(f, now) && pclose(f) == 0) << golden_path(name);
        return;
    }
    std::FILE* f = popen(("gzip -dc < '" + golden_path(name) + "' 2>/dev/null").c_str(), "r");
    bool read = read_ppm(f, golden);
    ASSERT_TRUE(f && pclose(f) == 0 && read) << "cannot read " << golden_path(name);
    ASSERT_EQ(now.rgb.size(), golden.rgb.size());
    Frame diff = now;
    long differing = 0;
    for (size_t i = 0; i < now.rgb.size(); i += 3) {
        bool same = now.rgb[i] == golden.rgb[i] && now.rgb[i + 1] == golden.rgb[i + 1] && now.rgb[i + 2] == golden.rgb[i + 2];
        differing += !same;
        for (int k = 0; k < 3; ++k) diff.rgb[i + k] = same ? uint8_t(now.rgb[i + k] / 3) : k == 0 ? 255 : 0;
    }
    if (differing == 0) return;
    std::FILE* d = std::fopen(diff_path.c_str(), "wb");
    bool written = write_ppm(d, diff);
    if (d) written = std::fclose(d) == 0 && written;
    ADD_FAILURE() << name << ": " << differing << " pixels differ from the golden; "
                  << (written ? "diff image " + diff_path : "could not write " + diff_path) << ", new frame "
                  << fresh_path(name);
}

// Pixels lit outside the given 8-pixel-high text boxes.
long lit_outside(const Frame& f, std::vector<std::vector<int>> boxes) {
    long stray = 0;
    for (int y = 0; y < f.h; ++y)
        for (int x = 0; x < f.w; ++x) {
            bool inside = false;
            for (const auto& b : boxes) inside = inside || (x >= b[0] && x < b[0] + b[2] && y >= b[1] && y < b[1] + 8);
            stray += !inside && f.gray(x, y) != 0;
        }
    return stray;
}

}  // namespace

TEST(GoldenFrames, SplashTitleAndGameBeginMatchTheirGoldensAndOnlyThePromptBlinks) {
    use_headless_drivers();
    ReplayScript script;
    std::string error;
    ASSERT_TRUE(replay_load_script(source_path("tests/golden/screens.replay"), script, error)) << error;
    ReplayOptions options;
    for (const Shot& s : SHOTS) options.dumps.push_back({s.pass, fresh_path(s.name)});
    ReplayResult result;
    ASSERT_EQ(replay_run(script, options, result, error), 0) << error;
    for (const Shot& s : SHOTS) {
        SCOPED_TRACE(s.name);
        expect_matches_golden(s.name);
    }
    Frame on = fresh("title_prompt"), off = fresh("title_blank");
    ASSERT_EQ(on.rgb.size(), off.rgb.size());
    EXPECT_EQ(on.text(1206, 710, 11), "PUSH BUTTON");
    EXPECT_EQ(off.text(1206, 710, 11), "           ");
    for (int y = 0; y < 1300; ++y)
        for (int x = 0; x < 2500; ++x)
            ASSERT_TRUE((x >= 1206 && x < 1294 && y >= 710 && y < 718) || on.gray(x, y) == off.gray(x, y)) << x << "," << y;
}

TEST(GoldenFrames, GameOverMatchesItsGoldenAndShowsOnlyItsTitleBothLabelsAndBothNumbers) {
    use_headless_drivers();
    use_fake_clock();
    draw_queue_reset();
    ASSERT_EQ(app_startup(), 0);
    screen_game_over_begin(1230, 4560);  // without playing a game
    ASSERT_TRUE(replay_write_ppm(fresh_path("game_over")));
    app_shutdown();
    use_real_clock();
    expect_matches_golden("game_over");
    Frame f = fresh("game_over");
    ASSERT_FALSE(f.rgb.empty());
    EXPECT_EQ(f.text(2304, 116, 9), "GAME OVER");
    EXPECT_EQ(f.text(2428, 32, 5) + f.text(2436, 40, 6), "SCORE001230");
    EXPECT_EQ(f.text(2428, 56, 7) + f.text(2436, 64, 6), "HISCORE004560");
    EXPECT_EQ(lit_outside(f, {{2304, 116, 72}, {2428, 32, 40}, {2436, 40, 48}, {2428, 56, 56}, {2436, 64, 48}}), 0);
}
