// The screen sequence, run through the replay driver exactly as main runs it:
// splash and title timing, the prompt's blink, and quitting from any screen.
#include "app/screens.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/game.h"
#include "input/input.h"
#include "tests/test_support.h"
#include "tools/replay_run.h"
#include "tools/replay_trace.h"
#include "video/presenter.h"
#include "video/sprites.h"
#include "video/text.h"

namespace {

// What one pass left behind.
struct Pass {
    int state;  // the state whose step ran
    int screen_timer;
    int start_countdown;
    int quit;
    int hi_score;
    std::vector<std::pair<int, int>> cues;
    std::vector<DrawCommand> queued;  // waiting for the next present
};

struct ScriptRun {
    std::vector<Pass> passes;
    ReplayResult result;
};

ScriptRun run_script(const std::string& text, ReplayOptions options = {},
               std::function<void(uint64_t)> extra = nullptr) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ScriptRun run;
    ReplayScript script;
    std::string error;
    EXPECT_TRUE(replay_parse_script(text.data(), text.size(), "test", script, error)) << error;
    options.after_pass = [&](uint64_t pass, int state) {
        Pass p{state, screens.screen_timer, screens.start_countdown, input.quit_requested,
               game.hi_score, {}, pending_commands()};
        for (int i = 0; i < trace_cues.count; ++i) p.cues.emplace_back(trace_cues.voice[i], trace_cues.id[i]);
        run.passes.push_back(p);
        if (extra) extra(pass);
    };
    EXPECT_EQ(replay_run(script, options, run.result, error), 0) << error;
    EXPECT_EQ(run.result.passes, run.passes.size());
    return run;
}

void push_key_down(int sym) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = SDLKey(sym);
    SDL_PushEvent(&e);
}

// What draw_text queues for the prompt and for its eleven blanks.
std::vector<DrawCommand> text_commands(const char* text) {
    draw_queue_reset();
    draw_text(1206, 710, text);
    std::vector<DrawCommand> out = pending_commands();
    draw_queue_reset();
    return out;
}

bool same_commands(const std::vector<DrawCommand>& a, const std::vector<DrawCommand>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].pixels != b[i].pixels || a[i].x != b[i].x || a[i].y != b[i].y || a[i].w != b[i].w ||
            a[i].h != b[i].h || a[i].gray != b[i].gray)
            return false;
    }
    return true;
}

// The prompt a title frame queues: "PUSH BUTTON" when its blink phase t is a
// multiple of 60, the blanks when it is 30 more, nothing otherwise.
void expect_prompt(const Pass& p, int t, int frame) {
    static const std::vector<DrawCommand> prompt = text_commands("PUSH BUTTON");
    static const std::vector<DrawCommand> blanks = text_commands("           ");
    if (t % 60 == 0) {
        EXPECT_TRUE(same_commands(p.queued, prompt)) << "title frame " << frame << " queues the prompt";
    } else if (t % 30 == 0) {
        EXPECT_TRUE(same_commands(p.queued, blanks)) << "title frame " << frame << " queues the blanks";
    } else {
        EXPECT_TRUE(p.queued.empty()) << "title frame " << frame << " queues nothing";
    }
}

constexpr int SPLASH_FIRST_PASS = 2;  // pass 0 resets the hi-score, pass 1 builds the splash

TEST(ScreenSequence, WithoutInputTheSplashLasts180FramesAndTheTitleBlinksSlowlyForever) {
    game.hi_score = 777;
    const int title_begin = SPLASH_FIRST_PASS + 180;
    const int frames = 125;
    ScriptRun run = run_script(std::to_string(title_begin + 1 + frames) + " -\n");
    const std::vector<Pass>& p = run.passes;
    ASSERT_EQ(p.size(), size_t(title_begin + 1 + frames));
    EXPECT_EQ(p[0].state, SCREEN_RESET_HISCORE);
    EXPECT_EQ(p[0].hi_score, 0);
    EXPECT_EQ(p[1].state, SCREEN_SPLASH_BEGIN);
    EXPECT_EQ(p[1].screen_timer, 180);
    EXPECT_TRUE(p[1].queued.empty()) << "the splash is built and flushed in its set-up";
    for (int f = 1; f <= 180; ++f) {
        const Pass& s = p[size_t(SPLASH_FIRST_PASS + f - 1)];
        ASSERT_EQ(s.state, SCREEN_SPLASH_WAIT) << "splash frame " << f;
        ASSERT_EQ(s.screen_timer, 180 - f) << "splash frame " << f;
    }
    EXPECT_EQ(p[size_t(title_begin)].state, SCREEN_TITLE_BEGIN);
    EXPECT_EQ(p[size_t(title_begin)].screen_timer, 0);
    for (int f = 1; f <= frames; ++f) {
        const Pass& s = p[size_t(title_begin + f)];
        ASSERT_EQ(s.state, SCREEN_TITLE_WAIT) << "title frame " << f;
        EXPECT_EQ(s.screen_timer, f);
        EXPECT_EQ(s.start_countdown, 0);
        // Blanks in frames 30 and 90, the prompt from frame 60 and 120 on.
        expect_prompt(s, f, f);
    }
    for (const Pass& s : p) EXPECT_TRUE(s.cues.empty());
    EXPECT_FALSE(run.result.quit);
}

TEST(ScreenSequence, FireHeldFromTheStartEndsTheSplashInFrame62AndTheTitleInFrame120) {
    // Fire is held throughout except for a release and a second press during
    // the countdown, which must change nothing. A 'q' pressed in the countdown
    // waits in SDL's queue: nothing polls until the game's first frame.
    const int splash_end = SPLASH_FIRST_PASS + 61;  // splash frame 62
    const int title_frame1 = splash_end + 2;
    const int press = title_frame1 + 30;            // title frame 31
    const int title_end = title_frame1 + 119;       // title frame 120
    const int q_after = press + 60;
    ScriptRun run = run_script(std::to_string(press + 20) + " fire\n10 -\n1000 fire\n", {}, [&](uint64_t pass) {
        if (pass == uint64_t(q_after)) push_key_down(SDLK_q);
    });
    const std::vector<Pass>& p = run.passes;
    ASSERT_GE(p.size(), size_t(title_end + 3));

    for (int f = 1; f <= 61; ++f) EXPECT_EQ(p[size_t(SPLASH_FIRST_PASS + f - 1)].screen_timer, 180 - f);
    EXPECT_EQ(p[size_t(splash_end)].state, SCREEN_SPLASH_WAIT);
    EXPECT_EQ(p[size_t(splash_end)].screen_timer, 0);
    EXPECT_EQ(p[size_t(splash_end + 1)].state, SCREEN_TITLE_BEGIN);

    for (int f = 1; f <= 30; ++f) {
        EXPECT_EQ(p[size_t(title_frame1 + f - 1)].start_countdown, 0) << "title frame " << f;
        EXPECT_TRUE(p[size_t(title_frame1 + f - 1)].cues.empty());
    }
    // Frame 31 accepts the button, sounds the start chime and counts one down.
    EXPECT_EQ(p[size_t(press)].start_countdown, 89);
    EXPECT_EQ(p[size_t(press)].cues, (std::vector<std::pair<int, int>>{{VOICE_MARCH, SOUND_START}}));
    EXPECT_EQ(p[size_t(press)].screen_timer, 44);
    // The countdown jumps the blink phase by 15 a frame: the prompt and the
    // blanks take turns every second frame.
    for (int f = 32; f <= 120; ++f) {
        const Pass& s = p[size_t(title_frame1 + f - 1)];
        int t = 45 + 15 * (f - 32);
        ASSERT_EQ(s.state, SCREEN_TITLE_WAIT) << "title frame " << f;
        EXPECT_EQ(s.start_countdown, 120 - f) << "title frame " << f;
        EXPECT_EQ(s.screen_timer, t + 14) << "title frame " << f;
        EXPECT_TRUE(s.cues.empty()) << "one chime only; frame " << f;
        expect_prompt(s, t, f);
    }
    EXPECT_EQ(p[size_t(title_end + 1)].state, SCREEN_GAME_BEGIN);
    EXPECT_EQ(p[size_t(title_end + 1)].quit, 0);
    // The game's first frame polls, sees the 'q' and ends the run at once,
    // without a game-over screen.
    EXPECT_TRUE(run.result.quit);
    EXPECT_EQ(p.size(), size_t(title_end + 3));
    EXPECT_EQ(p.back().state, SCREEN_GAME_RUN);
    EXPECT_EQ(p.back().quit, 1);
}

TEST(ScreenSequence, EscapeInTheSplashWaitsForItsFirstPollingFrameAndWritesTheTrace) {
    // Escape is pressed in splash frame 9 and released in frame 10; nothing
    // polls before frame 62, which then sees the press and quits.
    std::string trace = testing::TempDir() + "screens_trace.jsonl";
    std::string dump = testing::TempDir() + "screens_splash.ppm";
    ReplayOptions options;
    options.trace_path = trace;
    options.trace_every = 25;
    options.dumps.push_back({1, dump});
    ScriptRun run = run_script("# splash frame 9\n10 -\n1 escape\n\n500 -\n", options);
    const std::vector<Pass>& p = run.passes;
    const int splash_frame62 = SPLASH_FIRST_PASS + 61;
    ASSERT_EQ(p.size(), size_t(splash_frame62 + 1));
    EXPECT_TRUE(run.result.quit);
    EXPECT_EQ(p.back().state, SCREEN_SPLASH_WAIT);
    EXPECT_EQ(p.back().screen_timer, 118);
    for (size_t i = 0; i + 1 < p.size(); ++i) EXPECT_EQ(p[i].quit, 0) << "pass " << i;
    // Shutdown ran: joysticks closed, surface released.
    EXPECT_EQ(presenter.screen, nullptr);
    EXPECT_EQ(input.joysticks[0], nullptr);
    EXPECT_EQ(input.joysticks[1], nullptr);

    // The trace holds passes 0, 25, 50 and the last, each with every field.
    std::ifstream in(trace);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    const char* keys[] = {"pass", "state", "score", "hi_score", "lives", "shots_fired", "player_x",
                          "fire_latch", "player_explosion", "ready_countdown", "screen_timer",
                          "start_countdown", "shot_active", "shot_x", "shot_y", "shot_cooldown",
                          "saucer_x", "saucer_y", "saucer_direction", "saucer_steps_left",
                          "saucer_countdown", "saucer_explosion", "cursor", "direction", "anim",
                          "explosion_steps", "step_count", "bomb_timer", "note_index", "live_front",
                          "bomb_counter", "bombs", "shields_alive", "cues", "quit"};
    for (const std::string& line : lines) {
        size_t at = 0;
        for (const char* k : keys) {
            size_t found = line.find(std::string("\"") + k + "\":", at);
            ASSERT_NE(found, std::string::npos) << k << " missing or out of order in " << line;
            at = found;
        }
        EXPECT_EQ(line.front(), '{');
        EXPECT_EQ(line.back(), '}');
    }
    EXPECT_EQ(lines[0].rfind("{\"pass\":0,\"state\":0,", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("{\"pass\":25,\"state\":2,", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2].rfind("{\"pass\":50,", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("{\"pass\":63,\"state\":2,", 0), 0u) << lines[3];
    EXPECT_NE(lines[3].find("\"screen_timer\":118,"), std::string::npos);
    EXPECT_NE(lines[3].find("\"quit\":1}"), std::string::npos);

    // The splash is its image alone, at (1170, 622), on black.
    std::ifstream ppm(dump, std::ios::binary);
    std::string header;
    std::getline(ppm, header);
    EXPECT_EQ(header, "P6");
    std::getline(ppm, header);
    EXPECT_EQ(header, "2500 1300");
    std::getline(ppm, header);
    EXPECT_EQ(header, "255");
    std::vector<char> rgb(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT * 3);
    ppm.read(rgb.data(), std::streamsize(rgb.size()));
    ASSERT_TRUE(ppm.good());
    int wrong = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            int dx = x - 1170, dy = y - 622;
            bool inside = dx >= 0 && dy >= 0 && dx < IMAGE_SPLASH_W && dy < IMAGE_SPLASH_H;
            uint8_t g = inside ? IMAGE_SPLASH[dy * IMAGE_SPLASH_W + dx] : 0;
            const char* px = &rgb[(size_t(y) * SCREEN_WIDTH + size_t(x)) * 3];
            if (uint8_t(px[0]) != g || uint8_t(px[1]) != g || uint8_t(px[2]) != g) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
    std::remove(trace.c_str());
    std::remove(dump.c_str());
}

TEST(ScreenSequence, WindowCloseInTheTitleWaitsForFrame31ThenQuits) {
    const int title_frame1 = SPLASH_FIRST_PASS + 181;
    ScriptRun run = run_script(std::to_string(title_frame1 + 17) + " -\n1 close\n100 -\n");
    const std::vector<Pass>& p = run.passes;
    EXPECT_TRUE(run.result.quit);
    ASSERT_EQ(p.size(), size_t(title_frame1 + 31));
    EXPECT_EQ(p.back().state, SCREEN_TITLE_WAIT);
    EXPECT_EQ(p.back().screen_timer, 31);
    EXPECT_EQ(p.back().quit, 1);
}

TEST(ScreenSequence, ATitleLeftAloneForYearsKeepsItsBlinkWithoutOverflowing) {
    ASSERT_TRUE(start_headless_video());
    input_init();
    screens.start_countdown = 0;
    const int start = 2'147'483'647 - 100;  // far past any real session
    screens.screen_timer = start;
    long long t = start;
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(screen_title_step(), 1);
        ++t;
        // The phase within the 60-frame blink goes on as if nothing happened,
        // and the button stays accepted.
        ASSERT_EQ(screens.screen_timer % 60, int(t % 60)) << i;
        ASSERT_GT(screens.screen_timer, 30);
        ASSERT_LE(screens.screen_timer, start + 1);
    }
    input_shutdown();
    stop_headless_video();
}

TEST(ScreenSequence, AFailedVideoStartPrintsTheOneErrorLineAndStartsNothingElse) {
    const char* before = getenv("SDL_VIDEODRIVER");
    std::string saved = before ? before : "";
    setenv("SDL_VIDEODRIVER", "nonexistent", 1);
    // A joystick slot that input_init would clear shows whether it ran.
    _SDL_Joystick* marker = reinterpret_cast<_SDL_Joystick*>(&saved);
    input.joysticks[0] = marker;
    presenter.presenting_enabled = 1;
    testing::internal::CaptureStdout();
    int result = app_startup();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(out, "SDL initialize error.\n");
    EXPECT_EQ(input.joysticks[0], marker);
    EXPECT_EQ(presenter.presenting_enabled, 0);
    input.joysticks[0] = nullptr;
    SDL_Quit();
    if (before) setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    else unsetenv("SDL_VIDEODRIVER");
}

}  // namespace
