// Golden frames: the splash card, the title with and without its prompt, the
// game screen as a game begins and the game-over screen, regenerated with the
// replay driver and compared pixel for pixel with tests/golden/*.ppm.gz.
//
// On a difference the test writes <build>/golden-frames/<name>.diff.ppm (differing
// pixels red over the dimmed new frame) next to <name>.ppm, the new frame.
// After a deliberate change of the pictures, run the suite once with
// ZUBA_UPDATE_GOLDEN=1 to rewrite the goldens, look at them, and commit them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/screens.h"
#include "tests/test_support.h"
#include "tools/replay_run.h"
#include "tools/replay_script.h"
#include "video/draw_queue.h"
#include "video/sprites.h"

namespace {

struct Frame {
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    uint8_t gray(int x, int y) const { return rgb[(size_t(y) * w + x) * 3]; }
};

bool read_ppm(std::FILE* f, Frame& out) {
    int maxval = 0;
    if (!f || std::fscanf(f, "P6 %d %d %d", &out.w, &out.h, &maxval) != 3 || maxval != 255) return false;
    if (std::fgetc(f) == EOF || out.w <= 0 || out.h <= 0) return false;
    out.rgb.resize(size_t(out.w) * out.h * 3);
    return std::fread(out.rgb.data(), 1, out.rgb.size(), f) == out.rgb.size();
}

bool write_ppm(std::FILE* f, const Frame& frame) {
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", frame.w, frame.h);
    return std::fwrite(frame.rgb.data(), 1, frame.rgb.size(), f) == frame.rgb.size();
}

bool load_ppm(const std::string& path, Frame& out) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    bool ok = read_ppm(f, out);
    if (f) std::fclose(f);
    return ok;
}

// The goldens are gzip'd; gzip is on every machine that builds the game.
bool load_golden(const std::string& path, Frame& out) {
    std::FILE* f = popen(("gzip -dc < '" + path + "' 2>/dev/null").c_str(), "r");
    bool ok = read_ppm(f, out);
    if (f) ok = pclose(f) == 0 && ok;
    return ok;
}

bool save_golden(const std::string& path, const Frame& frame) {
    std::FILE* f = popen(("gzip -9n > '" + path + "'").c_str(), "w");
    bool ok = write_ppm(f, frame);
    if (f) ok = pclose(f) == 0 && ok;
    return ok;
}

void use_headless_drivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

std::string out_dir() { return std::string(ZUBA_BINARY_DIR) + "/golden-frames"; }
std::string fresh_path(const std::string& name) { return out_dir() + "/" + name + ".ppm"; }
std::string golden_path(const std::string& name) { return source_path("tests/golden/" + name + ".ppm.gz"); }

// Passes of tests/golden/screens.replay at whose end each frame is taken.
// With no input the splash card is built in pass 1 and lasts 180 frames; the
// title is built in pass 182, shows its first prompt from title frame 61
// (pass 243) and blanks it from frame 91 (pass 273). Fire held in pass 274
// starts the 90-frame countdown, and the game begins in pass 364, before its
// first game frame.
struct Shot {
    const char* name;
    uint64_t pass;
};
constexpr Shot SHOTS[] = {
    {"splash", 1}, {"title_prompt", 243}, {"title_blank", 273}, {"game_begin", 364}};

// Plays the script headless and writes the fresh frames of SHOTS.
bool make_screens_up_to_game_begin() {
    use_headless_drivers();
    mkdir(out_dir().c_str(), 0755);
    ReplayScript script;
    std::string error;
    if (!replay_load_script(source_path("tests/golden/screens.replay"), script, error)) {
        ADD_FAILURE() << error;
        return false;
    }
    ReplayOptions options;
    for (const Shot& s : SHOTS) options.dumps.push_back({s.pass, fresh_path(s.name)});
    ReplayResult result;
    if (replay_run(script, options, result, error) != 0) {
        ADD_FAILURE() << "replay failed: " << error;
        return false;
    }
    return true;
}

// The game-over screen with numbers on it, without playing a game.
bool make_game_over() {
    use_headless_drivers();
    mkdir(out_dir().c_str(), 0755);
    use_fake_clock();
    draw_queue_reset();
    bool made = app_startup() == 0;
    if (made) {
        screen_game_over_begin(1230, 4560);
        made = replay_write_ppm(fresh_path("game_over"));
        app_shutdown();
    }
    use_real_clock();
    return made;
}

Frame fresh(const std::string& name) {
    Frame f;
    EXPECT_TRUE(load_ppm(fresh_path(name), f)) << "no fresh frame " << fresh_path(name);
    return f;
}

// Compares one fresh frame with its golden and explains a difference.
void expect_matches_golden(const std::string& name) {
    std::string diff_path = out_dir() + "/" + name + ".diff.ppm";
    std::remove(diff_path.c_str());  // a stale diff would mislead
    Frame now;
    ASSERT_TRUE(load_ppm(fresh_path(name), now)) << fresh_path(name);
    if (const char* update = std::getenv("ZUBA_UPDATE_GOLDEN"); update && *update == '1') {
        ASSERT_TRUE(save_golden(golden_path(name), now)) << golden_path(name);
        return;
    }
    Frame golden;
    ASSERT_TRUE(load_golden(golden_path(name), golden)) << "cannot read " << golden_path(name);
    ASSERT_EQ(now.w, golden.w);
    ASSERT_EQ(now.h, golden.h);
    Frame diff = now;
    long differing = 0;
    int left = now.w, top = now.h, right = -1, bottom = -1;
    for (int y = 0; y < now.h; ++y) {
        for (int x = 0; x < now.w; ++x) {
            size_t i = (size_t(y) * now.w + x) * 3;
            bool same = now.rgb[i] == golden.rgb[i] && now.rgb[i + 1] == golden.rgb[i + 1] &&
                        now.rgb[i + 2] == golden.rgb[i + 2];
            if (same) {
                for (int k = 0; k < 3; ++k) diff.rgb[i + k] = uint8_t(now.rgb[i + k] / 3);
                continue;
            }
            ++differing;
            diff.rgb[i] = 255;
            diff.rgb[i + 1] = diff.rgb[i + 2] = 0;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (differing == 0) return;
    std::FILE* f = std::fopen(diff_path.c_str(), "wb");
    bool written = write_ppm(f, diff);
    if (f) written = std::fclose(f) == 0 && written;
    ADD_FAILURE() << name << ": " << differing << " pixels differ from the golden, within x " << left
                  << ".." << right << ", y " << top << ".." << bottom << "; "
                  << (written ? "diff image " + diff_path : "could not write " + diff_path)
                  << ", new frame " << fresh_path(name);
}

// The character in the 8 x 8 cell at (x, y), matched against the font.
char read_cell(const Frame& f, int x, int y) {
    for (int code = 32; code < 96; ++code) {
        const uint8_t* g = font_table[code];
        bool match = true;
        for (int i = 0; i < 64 && match; ++i) match = f.gray(x + i % 8, y + i / 8) == (g ? g[i] : 0);
        if (match) return char(code);
    }
    return '?';
}

std::string read_text(const Frame& f, int x, int y, int length) {
    std::string s;
    for (int i = 0; i < length; ++i) s += read_cell(f, x + 8 * i, y);
    return s;
}

}  // namespace

// One replay makes all four frames: the replay runs at the speed of the
// headless window, so it is played once.
TEST(GoldenFrames, SplashTitleAndGameBeginMatchTheirGoldensAndThePromptBlinksInTheBlackBand) {
    ASSERT_TRUE(make_screens_up_to_game_begin());
    for (const Shot& s : SHOTS) {
        SCOPED_TRACE(s.name);
        expect_matches_golden(s.name);
    }
    Frame on = fresh("title_prompt"), off = fresh("title_blank");
    ASSERT_FALSE(on.rgb.empty());
    ASSERT_FALSE(off.rgb.empty());
    EXPECT_EQ(read_text(on, 1206, 710, 11), "PUSH BUTTON");
    EXPECT_EQ(read_text(off, 1206, 710, 11), "           ");
    long inside = 0, outside = 0;
    for (int y = 0; y < 1300; ++y) {
        for (int x = 0; x < 2500; ++x) {
            if (on.gray(x, y) == off.gray(x, y)) continue;
            bool prompt = x >= 1206 && x < 1294 && y >= 710 && y < 718;
            ++(prompt ? inside : outside);
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0) << "the blink changed pixels outside the prompt";
}

TEST(GoldenFrames, GameOverMatchesItsGoldenAndShowsOnlyItsTitleBothLabelsAndBothNumbers) {
    ASSERT_TRUE(make_game_over());
    expect_matches_golden("game_over");
    Frame f = fresh("game_over");
    ASSERT_FALSE(f.rgb.empty());
    EXPECT_EQ(read_text(f, 2304, 116, 9), "GAME OVER");
    EXPECT_EQ(read_text(f, 2428, 32, 5), "SCORE");
    EXPECT_EQ(read_text(f, 2436, 40, 6), "001230");
    EXPECT_EQ(read_text(f, 2428, 56, 7), "HISCORE");
    EXPECT_EQ(read_text(f, 2436, 64, 6), "004560");
    struct Box {
        int x, y, w;
    };
    const Box text[] = {{2304, 116, 72}, {2428, 32, 40}, {2436, 40, 48}, {2428, 56, 56}, {2436, 64, 48}};
    long stray = 0;
    for (int y = 0; y < 1300; ++y) {
        for (int x = 0; x < 2500; ++x) {
            bool inside = false;
            for (const Box& b : text) inside = inside || (x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + 8);
            if (!inside && f.gray(x, y) != 0) ++stray;
        }
    }
    EXPECT_EQ(stray, 0) << "pixels lit outside the game-over texts";
}
