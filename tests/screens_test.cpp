// The screen sequence, run through the replay driver exactly as main runs it:
// splash and title timing, the prompt's blink, and quitting from any screen.
#include "session/screens.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/game.h"
#include "input/input.h"
#include "platform/platform.h"
#include "tests/test_support.h"
#include "replay/replay_events.h"
#include "replay/replay_run.h"
#include "replay/replay_trace.h"
#include "replay/world_state.h"
#include "video/presenter.h"
#include "video/text.h"
#include "video/window.h"

namespace {

// What one pass left behind.
struct Pass {
    int state, screen_timer, start_countdown, quit, hi_score;
    Cues cues;
    std::vector<Cmd> queued;  // waiting for the next present
};

struct ScriptRun {
    std::vector<Pass> passes;
    ReplayResult result;
};

ScriptRun run_script(const std::string& text, ReplayOptions options = {},
                     std::function<void(uint64_t)> extra = nullptr) {
    platform_set_env("SDL_VIDEODRIVER", "dummy", false);
    platform_set_env("SDL_AUDIODRIVER", "dummy", false);
    ScriptRun run;
    ReplayScript script;
    std::string error;
    EXPECT_TRUE(replay_parse_script(text.data(), text.size(), "test", script, error)) << error;
    options.after_pass = [&](uint64_t pass, int state) {
        Pass p{state, screens.screen_timer, screens.start_countdown, input.quit_requested, game.hi_score, {}, queued()};
        for (int i = 0; i < trace_cues.count; ++i) p.cues.emplace_back(trace_cues.voice[i], trace_cues.id[i]);
        run.passes.push_back(p);
        if (extra) extra(pass);
    };
    EXPECT_EQ(replay_run(script, options, run.result, error), 0) << error;
    return run;
}

// The prompt a title frame queues: "PUSH BUTTON" when its blink phase t is a
// multiple of 60, the blanks when it is 30 more, nothing otherwise.
void expect_prompt(const Pass& p, int t, int frame) {
    auto text = [](const char* s) {
        draw_queue_reset();
        draw_text(1206, 710, s);
        std::vector<Cmd> out = queued();
        draw_queue_reset();
        return out;
    };
    static const std::vector<Cmd> prompt = text("PUSH BUTTON"), blanks = text("           ");
    EXPECT_EQ(p.queued, t % 60 == 0 ? prompt : t % 30 == 0 ? blanks : std::vector<Cmd>{}) << "title frame " << frame;
}

constexpr int SPLASH_FIRST_PASS = 2;  // pass 0 resets the hi-score, pass 1 builds the splash

TEST(ScreenSequence, WithoutInputTheSplashLasts180FramesAndTheTitleBlinksSlowlyForever) {
    game.hi_score = 777;
    const int title_begin = SPLASH_FIRST_PASS + 180, frames = 125;
    ScriptRun run = run_script(std::to_string(title_begin + 1 + frames) + " -\n");
    const std::vector<Pass>& p = run.passes;
    ASSERT_EQ(p.size(), size_t(title_begin + 1 + frames));
    EXPECT_EQ(p[0].hi_score, 0) << "every run starts with hi-score 0";
    for (int f = 1; f <= 180; ++f) {
        ASSERT_EQ(p[size_t(SPLASH_FIRST_PASS + f - 1)].state, SCREEN_SPLASH_WAIT) << f;
        ASSERT_EQ(p[size_t(SPLASH_FIRST_PASS + f - 1)].screen_timer, 180 - f) << f;
    }
    EXPECT_EQ(p[size_t(title_begin)].state, SCREEN_TITLE_BEGIN);
    for (int f = 1; f <= frames; ++f) {
        const Pass& s = p[size_t(title_begin + f)];
        ASSERT_EQ(s.state, SCREEN_TITLE_WAIT) << "title frame " << f;
        expect_prompt(s, f, f);  // blanks in frames 30 and 90, the prompt in 60 and 120
    }
    for (const Pass& s : p) EXPECT_TRUE(s.cues.empty());
}

TEST(ScreenSequence, FireHeldFromTheStartEndsTheSplashInFrame62AndTheTitleInFrame120) {
    // Fire held throughout but for a release and a second press during the
    // countdown, which change nothing. A 'q' pressed in the countdown waits in
    // SDL's queue until the game's first frame polls, then quits at once.
    const int splash_end = SPLASH_FIRST_PASS + 61, title_frame1 = splash_end + 2;
    const int press = title_frame1 + 30, title_end = title_frame1 + 119;
    ScriptRun run = run_script(std::to_string(press + 20) + " fire\n10 -\n1000 fire\n", {}, [&](uint64_t pass) {
        if (pass == uint64_t(press + 60)) replay_push_key(SDLK_q, true);
    });
    const std::vector<Pass>& p = run.passes;
    ASSERT_EQ(p.size(), size_t(title_end + 3));
    EXPECT_EQ(p[size_t(splash_end - 1)].screen_timer, 119);  // splash frame 61
    EXPECT_EQ(p[size_t(splash_end)].screen_timer, 0);
    EXPECT_EQ(p[size_t(splash_end + 1)].state, SCREEN_TITLE_BEGIN);
    EXPECT_EQ(p[size_t(press - 1)].start_countdown, 0);
    EXPECT_EQ(p[size_t(press)].start_countdown, 89);  // title frame 31 accepts the button
    EXPECT_EQ(p[size_t(press)].cues, (Cues{{VOICE_MARCH, SOUND_START}}));
    // The countdown steps the blink phase by 15 a frame: prompt and blanks
    // take turns every second frame. No input is read: one chime only.
    for (int f = 32; f <= 120; ++f) {
        const Pass& s = p[size_t(title_frame1 + f - 1)];
        EXPECT_EQ(s.start_countdown, 120 - f) << "title frame " << f;
        EXPECT_TRUE(s.cues.empty()) << "title frame " << f;
        expect_prompt(s, 45 + 15 * (f - 32), f);
    }
    EXPECT_EQ(p[size_t(title_end + 1)].state, SCREEN_GAME_BEGIN);
    EXPECT_TRUE(run.result.quit);
    EXPECT_EQ(p.back().state, SCREEN_GAME_RUN);  // no game-over screen after a quit in play
}

TEST(ScreenSequence, EscapeInTheSplashQuitsAtItsFirstPollingFrameWithAFullTrace) {
    std::string trace = std::string(ZUBA_BINARY_DIR) + "/screens_trace.jsonl";
    ReplayOptions options;
    options.trace_path = trace;
    options.trace_every = 25;
    // Escape pressed in splash frame 9 and released in 10; frame 62 polls.
    ScriptRun run = run_script("# splash frame 9\n10 -\n1 escape\n\n500 -\n", options);
    ASSERT_EQ(run.passes.size(), size_t(SPLASH_FIRST_PASS + 62));
    EXPECT_TRUE(run.result.quit);
    EXPECT_EQ(run.passes.back().screen_timer, 118);
    EXPECT_EQ(presenter.screen, nullptr) << "shutdown ran";
    EXPECT_EQ(input.joysticks[0], nullptr);
    // Passes 0, 25, 50 and the last.
    std::ifstream in(trace);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].rfind("{\"pass\":25,\"state\":2,", 0), 0u) << lines[1];
    EXPECT_EQ(lines[3].rfind("{\"pass\":63,\"state\":2,", 0), 0u) << lines[3];
    EXPECT_NE(lines[3].find("\"quit\":1}"), std::string::npos);
    std::remove(trace.c_str());
}

TEST(ScreenSequence, ATitleLeftAloneForYearsKeepsItsBlinkWithoutOverflowing) {
    ASSERT_TRUE(start_headless_video());
    input_init();
    screens.start_countdown = 0;
    const long long start = 2'147'483'647 - 100;
    screens.screen_timer = int(start);
    for (long long t = start + 1; t <= start + 200; ++t) {
        ASSERT_TRUE(screen_title_step() == ScreenStep::STAYS);
        ASSERT_EQ(screens.screen_timer % 60, int(t % 60));
        ASSERT_GT(screens.screen_timer, 30);  // the button stays accepted
    }
    input_shutdown();
    stop_headless_video();
}

TEST(ScreenSequence, ReturningToTheSplashEndsThePauseStopsEverySoundKeepsTheHiScoreAndForgetsTheQuit) {
    ASSERT_TRUE(start_headless_video());
    input_init();
    screens.state = SCREEN_GAME_RUN;
    game.hi_score = 1230;
    for (int v = 0; v < VOICE_COUNT; ++v) voice_start(v, sound_block(SOUND_SHOT), 500);
    input.quit_requested = 1;
    input.quit_pending = 1;
    screen_pause();
    ASSERT_TRUE(screen_paused());
    screen_return_to_splash();
    for (int v = 0; v < VOICE_COUNT; ++v) EXPECT_LE(mixer.voices[v].remaining, 0) << "voice " << v;
    EXPECT_FALSE(screen_paused());
    EXPECT_EQ(mixer.paused, 0) << "the sound of the next game plays";
    EXPECT_EQ(input.quit_requested, 0);
    input_poll();
    EXPECT_EQ(input.quit_requested, 0) << "a waiting quit is forgotten too";
    EXPECT_EQ(screens.state, SCREEN_SPLASH_BEGIN);
    screen_pass();
    EXPECT_EQ(screens.state, SCREEN_SPLASH_WAIT);
    EXPECT_EQ(game.hi_score, 1230);
    input_shutdown();
    stop_headless_video();
}

// Pause and resume, through the script's pause key (p).

// The trace of every pass without its pass number, and the passes paused.
struct PausedRun {
    std::vector<std::string> trace;
    std::vector<bool> paused;
    std::vector<int> shots;
    std::vector<int> audio_paused;
};

PausedRun run_traced(const std::string& text) {
    world_reset();
    PausedRun out;
    run_script(text, {}, [&](uint64_t pass) {
        std::string line = trace_line(pass, screens.state);
        out.trace.push_back(line.substr(line.find(',')));
        out.paused.push_back(screen_paused());
        out.shots.push_back(game.shots_fired);
        out.audio_paused.push_back(mixer.paused);
    });
    return out;
}

// The script up to the game under way: fire starts it, 121 passes later the
// first game frame runs.
const std::string TO_GAME = "250 -\n1 fire\n130 -\n";

TEST(Pause, AGamePausedAndResumedGoesOnExactlyAsIfItHadNeverPaused) {
    const std::string after = "30 right+fire\n100 left\n200 fire\n";
    PausedRun plain = run_traced(TO_GAME + "60 right+fire\n" + after);
    // The pass that brings the pause key is the first paused one; the pass
    // that brings it again plays. Keys held throughout stay held.
    PausedRun paused = run_traced(TO_GAME + "30 right+fire\n1 right+fire+pause\n40 right+fire\n" +
                                  "1 right+fire+pause\n29 right+fire\n" + after);
    const size_t from = 250 + 1 + 130 + 30, passes = 41;
    ASSERT_EQ(paused.trace.size(), plain.trace.size() + passes);
    for (size_t i = 0; i < paused.trace.size(); ++i) {
        const bool inside = i >= from && i < from + passes;
        ASSERT_EQ(paused.paused[i], inside) << i;
        ASSERT_EQ(paused.audio_paused[i], inside ? 1 : 0) << i;
        // A paused pass changes nothing and starts no sound.
        const std::string& expected = inside ? paused.trace[from - 1] : plain.trace[i < from ? i : i - passes];
        ASSERT_EQ(paused.trace[i], inside ? expected.substr(0, expected.find(",\"cues\"")) +
                                                ",\"cues\":[],\"quit\":0}\n"
                                          : expected)
            << "pass " << i;
    }
}

TEST(Pause, FireResumesWithoutFiringAndOnlyAFreshPressFiresAgain) {
    PausedRun run = run_traced(TO_GAME + "100 -\n1 pause\n20 -\n1 fire\n30 fire\n10 -\n1 fire\n");
    const size_t pause = 250 + 1 + 130 + 100, resume = pause + 21;
    EXPECT_TRUE(run.paused[pause]);
    EXPECT_TRUE(run.paused[resume - 1]);
    EXPECT_FALSE(run.paused[resume]);
    EXPECT_EQ(run.shots[resume + 30], run.shots[pause - 1]) << "the resuming press fired";
    EXPECT_EQ(run.shots.back(), run.shots[pause - 1] + 1) << "a fresh press fires";
}

TEST(Pause, PauseActsOnlyInAGameAndQuitStillWorksWhilePaused) {
    // Pressed on the splash card and the title, p changes nothing.
    PausedRun pressed = run_traced("100 pause\n300 pause+fire\n");
    PausedRun fired = run_traced("100 -\n300 fire\n");
    ASSERT_EQ(pressed.trace.size(), fired.trace.size());
    for (size_t i = 0; i < fired.trace.size(); ++i) {
        ASSERT_EQ(pressed.trace[i], fired.trace[i]) << "pass " << i;
        ASSERT_FALSE(pressed.paused[i]) << "pass " << i;
    }
    // Nor does a pause asked from outside (the browser page hidden).
    for (ScreenState other : {SCREEN_SPLASH_WAIT, SCREEN_TITLE_WAIT, SCREEN_GAME_OVER_WAIT}) {
        screens.state = other;
        screen_pause();
        EXPECT_FALSE(screen_paused()) << other;
    }
    ScriptRun quit = run_script(TO_GAME + "10 -\n1 pause\n10 -\n1 escape\n100 -\n");
    EXPECT_TRUE(quit.result.quit);
    EXPECT_EQ(quit.passes.size(), size_t(250 + 1 + 130 + 10 + 1 + 10 + 1));
}

TEST(Pause, ThePausedLabelReadsInAFittedWindowIsSteadyAndResumingPutsBackExactlyThePixelsItCovered) {
    // Around the middle of the play field, where the formation marches.
    constexpr int X0 = 900, Y0 = 540, W = 620, H = 220;
    std::vector<std::vector<uint32_t>> frames;
    auto grab = [&] {
        std::vector<uint32_t> f;
        for (int y = Y0; y < Y0 + H; ++y)
            for (int x = X0; x < X0 + W; ++x) f.push_back(video_pixel(x, y) & 0xFFFFFFu);
        frames.push_back(f);
    };
    const uint64_t pause = 250 + 1 + 130 + 5;
    run_script(TO_GAME + "5 -\n1 pause\n60 -\n1 pause\n", {}, [&](uint64_t pass) {
        // Before the pause, two paused passes far apart, the resumed frame.
        if (pass == pause - 1 || pass == pause + 2 || pass == pause + 50 || pass == pause + 61) grab();
    });
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_NE(frames[1], frames[0]) << "PAUSED is shown";
    EXPECT_EQ(frames[2], frames[1]) << "and does not blink";
    EXPECT_EQ(frames[3], frames[0]) << "resuming restores what it covered";

    // The letters: white pixels the paused frame has. Their height, shown in
    // a window fitted to a 1366 x 768 display, reads comfortably.
    int top = H, bottom = -1, left = W, right = -1;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (frames[1][size_t(y * W + x)] == 0xFFFFFFu && frames[0][size_t(y * W + x)] != 0xFFFFFFu) {
                top = std::min(top, y), bottom = std::max(bottom, y);
                left = std::min(left, x), right = std::max(right, x);
            }
    ASSERT_GE(bottom, top) << "no letters";
    const double fitted = window_fit_scale(1366, 768, SCREEN_WIDTH, SCREEN_HEIGHT);
    EXPECT_GE((bottom - top + 1) * fitted, 20.0) << "letters " << bottom - top + 1 << " pixels tall";
    // They stand on a black box: a band around them hides whatever was there.
    constexpr int BAND = 10;
    ASSERT_TRUE(top >= BAND && left >= BAND && bottom + BAND < H && right + BAND < W);
    int covered = 0;
    for (int y = top - BAND; y <= bottom + BAND; ++y)
        for (int x = left - BAND; x <= right + BAND; ++x) {
            const bool band = y < top || y > bottom || x < left || x > right;
            if (!band) continue;
            ASSERT_EQ(frames[1][size_t(y * W + x)], 0u) << x + X0 << "," << y + Y0;
            if (frames[0][size_t(y * W + x)] != 0) covered += 1;
        }
    EXPECT_GT(covered, 0) << "the formation lay under the box, so the test shows the box hides it";
}

TEST(Pause, LosingTheWindowFocusPausesTheGameReleasesHeldKeysAndDoesNotResumeByItself) {
    const uint64_t lost = 250 + 1 + 130 + 20;
    std::vector<uint32_t> held;
    std::vector<bool> paused;
    run_script(TO_GAME + "20 right\n30 right\n1 right+pause\n", {}, [&](uint64_t pass) {
        if (pass == lost - 1) push_window_active(0, SDL_APPINPUTFOCUS);
        if (pass == lost + 10) push_window_active(1, SDL_APPINPUTFOCUS);
        held.push_back(input.buttons[0]);
        paused.push_back(screen_paused());
    });
    EXPECT_FALSE(paused[lost - 1]);
    EXPECT_TRUE(paused[lost]);
    EXPECT_EQ(held[lost], 0u) << "the held right key is released";
    EXPECT_TRUE(paused[lost + 29]) << "coming back does not resume";
    EXPECT_FALSE(paused[lost + 30]) << "the pause key resumes";
}

}  // namespace
