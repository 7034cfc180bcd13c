// Faults and long runs: a frame that queues more than the ring holds, a window
// closed while the cannon explodes, joystick noise from devices, buttons and
// axes the game does not use, a title screen left alone to the end of its
// 32-bit count, and the game's counters at the ends of their ranges.
#include <SDL.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/screens.h"
#include "audio/mixer.h"
#include "game/bombs.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/player.h"
#include "game/saucer.h"
#include "game/shields.h"
#include "input/input.h"
#include "tests/test_support.h"
#include "replay/replay_run.h"
#include "replay/replay_trace.h"
#include "replay/world_state.h"
#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/sprites.h"

namespace {

uint32_t painted_gray(int g) { return 0xFF000000u | uint32_t(g) << 16 | uint32_t(g) << 8 | uint32_t(g); }

ReplayScript parse(const std::string& text) {
    ReplayScript script;
    std::string error;
    EXPECT_TRUE(replay_parse_script(text.data(), text.size(), "faults", script, error)) << error;
    return script;
}

void push_event(SDL_Event& e) { ASSERT_EQ(SDL_PushEvent(&e), 0) << "event type " << int(e.type); }

// Fire held through the splash, one press in the title, then the cannon walks
// right under the bombs until one destroys it.
const char* const WALK_INTO_BOMBS = "70 fire\n60 -\n2 fire\n100 -\n3000 right\n";

// ---------------------------------------------------------------------------
// A crowded frame: the ring holds 3071 commands; more are dropped.

TEST(CrowdedFrame, TheSurplusIsDroppedWhatWasQueuedPaintsIntactAndTheNextDrainIsFine) {
    ASSERT_TRUE(start_headless_video());
    // Start away from slot 0, so the full ring spans the wrap.
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(draw_fill(0, 0, 1, 1, 0), DRAW_OK);
    video_flush();
    ASSERT_EQ(draw_queue.read_index, 1000);

    // 3071 one-pixel fills on rows 100 and 101, each its own gray.
    auto spot = [](int i, int& x, int& y, int& g) {
        x = i % SCREEN_WIDTH;
        y = 100 + i / SCREEN_WIDTH;
        g = 1 + i % 250;
    };
    for (int i = 0; i < DRAW_QUEUE_CAPACITY - 1; ++i) {
        int x, y, g;
        spot(i, x, y, g);
        ASSERT_EQ(draw_fill(x, y, 1, 1, uint8_t(g)), DRAW_OK) << i;
    }
    ASSERT_EQ(draw_queue.pending, 3071);
    const int read = draw_queue.read_index, write = draw_queue.write_index;
    EXPECT_EQ(write, (read + 3071) % DRAW_QUEUE_CAPACITY);

    // A frame that goes on queueing: every kind of command, all dropped.
    const std::vector<uint32_t> row_before = [] {
        std::vector<uint32_t> r;
        for (int x = 0; x < 200; ++x) r.push_back(video_pixel(x, 500));
        return r;
    }();
    for (int i = 0; i < 500; ++i) {
        EXPECT_EQ(draw_fill(i % 200, 500, 1, 1, 255), DRAW_QUEUE_FULL);
        EXPECT_EQ(draw_sprite(i % 200, 500, SHOT_W, SHOT_H, SPRITE_SHOT), DRAW_QUEUE_FULL);
        EXPECT_EQ(draw_glyph(i % 200, 500, 'A'), DRAW_QUEUE_FULL);
    }
    EXPECT_EQ(draw_queue.pending, 3071);
    EXPECT_EQ(draw_queue.read_index, read);
    EXPECT_EQ(draw_queue.write_index, write);

    // The drain paints the 3071 in full and nothing of the surplus.
    video_flush();
    EXPECT_EQ(draw_queue.pending, 0);
    EXPECT_EQ(draw_queue.read_index, write);
    int wrong = 0;
    for (int i = 0; i < DRAW_QUEUE_CAPACITY - 1; ++i) {
        int x, y, g;
        spot(i, x, y, g);
        wrong += video_pixel(x, y) != painted_gray(g);
    }
    EXPECT_EQ(wrong, 0);
    for (int x = 0; x < 200; ++x) ASSERT_EQ(video_pixel(x, 500), row_before[size_t(x)]) << x;

    // The next frame queues and paints as usual.
    EXPECT_EQ(draw_fill(10, 600, 4, 2, 77), DRAW_OK);
    EXPECT_EQ(draw_sprite(20, 600, SHOT_W, SHOT_H, SPRITE_SHOT), DRAW_OK);
    EXPECT_EQ(draw_queue.pending, 2);
    video_flush();
    EXPECT_EQ(draw_queue.pending, 0);
    EXPECT_EQ(video_pixel(13, 601), painted_gray(77));
    for (int r = 0; r < SHOT_H; ++r)
        for (int k = 0; k < SHOT_W; ++k)
            EXPECT_EQ(video_pixel(20 + k, 600 + r), painted_gray(SPRITE_SHOT[r * SHOT_W + k]));
    stop_headless_video();
}

// ---------------------------------------------------------------------------
// A window closed while the cannon explodes: no input is read during the
// explosion, so the quit waits in the event queue for the next poll.

TEST(WindowClose, DuringTheCannonsExplosionItWaitsForTheNextPollThenShutsDownCleanly) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    struct Seen {
        int state, explosion, lives, ready, quit;
    };
    std::vector<Seen> seen;
    int64_t closed_at = -1;
    ReplayOptions options;
    options.after_pass = [&](uint64_t pass, int state) {
        seen.push_back({state, game.player_explosion, game.lives, game.ready_countdown, input.quit_requested});
        // Halfway through the first explosion of the game.
        if (closed_at < 0 && state == SCREEN_GAME_RUN && game.player_explosion == PLAYER_EXPLOSION_FRAMES / 2) {
            SDL_Event e;
            std::memset(&e, 0, sizeof e);
            e.type = SDL_QUIT;
            push_event(e);
            closed_at = int64_t(pass);
        }
    };
    ReplayResult result;
    std::string error;
    const int status = replay_run(parse(WALK_INTO_BOMBS), options, result, error);
    ASSERT_GE(closed_at, 0) << "no bomb reached the cannon";
    EXPECT_EQ(status, 0) << error;
    EXPECT_TRUE(result.quit);

    // The rest of the explosion ran without a quit: 45 more frames, the last
    // of which ended it and took a life.
    const size_t c = size_t(closed_at);
    const size_t end = c + PLAYER_EXPLOSION_FRAMES / 2;
    ASSERT_EQ(result.passes, end + 2) << "the run ends in the first pass after the explosion";
    for (size_t p = c + 1; p <= end; ++p) {
        EXPECT_EQ(seen[p].state, SCREEN_GAME_RUN);
        EXPECT_EQ(seen[p].quit, 0) << "pass " << p;
        EXPECT_EQ(seen[p].explosion, int(end - p)) << "pass " << p;
    }
    EXPECT_EQ(seen[end].lives, seen[c].lives - 1);
    // The next frame polls, sees the close and is the last.
    const Seen& last = seen[end + 1];
    EXPECT_EQ(last.state, SCREEN_GAME_RUN);
    EXPECT_EQ(last.quit, 1);
    EXPECT_EQ(last.explosion, 0);
    EXPECT_EQ(last.ready, READY_COUNTDOWN - 1);

    // Shut down in order: sound closed and silent, joysticks closed, SDL gone.
    EXPECT_EQ(mixer.device_open, 0);
    for (const Voice& v : mixer.voices) EXPECT_LE(v.remaining, 0);
    EXPECT_EQ(input.joysticks[0], nullptr);
    EXPECT_EQ(input.joysticks[1], nullptr);
    EXPECT_EQ(presenter.screen, nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

// ---------------------------------------------------------------------------
// Joystick noise: devices from index 2, buttons from 10, axes from 2, hats and
// balls change nothing in the game.

// One event a pass, in turn: a button of device 2 to 255, button 10 to 255 of
// device 0, an axis of device 2 to 255, axis 2 to 255 of device 0, a hat, a
// ball. (SDL's queue holds 128 events, and the longest stretch of frames that
// read no input is about 92, so none is lost.)
void push_joystick_noise(uint64_t pass) {
    const int n = int(pass / 6 % 254);
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    switch (pass % 6) {
        case 0:
        case 1:
            e.type = pass % 12 < 6 ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
            e.jbutton.state = e.type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.jbutton.which = uint8_t(pass % 6 == 0 ? 2 + n : 0);
            e.jbutton.button = uint8_t(pass % 6 == 0 ? n % 10 : 10 + n % 246);
            break;
        case 2:
        case 3:
            e.type = SDL_JOYAXISMOTION;
            e.jaxis.which = uint8_t(pass % 6 == 2 ? 2 + n : 0);
            e.jaxis.axis = uint8_t(pass % 6 == 2 ? n % 2 : 2 + n);
            e.jaxis.value = int16_t(n % 2 ? -32768 : 32767);
            break;
        case 4:
            e.type = SDL_JOYHATMOTION;
            e.jhat.which = uint8_t(n % 4);
            e.jhat.hat = uint8_t(n % 3);
            e.jhat.value = uint8_t(n % 16);
            break;
        default:
            e.type = SDL_JOYBALLMOTION;
            e.jball.which = uint8_t(n % 4);
            e.jball.xrel = int16_t(n % 2 ? -32768 : 32767);
            e.jball.yrel = int16_t(-n);
            break;
    }
    push_event(e);
}

std::vector<std::string> traced_run(const std::string& script, bool noise) {
    world_reset();  // both runs begin alike
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::vector<std::string> lines;
    ReplayOptions options;
    options.after_pass = [&](uint64_t pass, int state) {
        lines.push_back(trace_line(pass, state));
        if (noise) push_joystick_noise(pass);
    };
    ReplayResult result;
    std::string error;
    EXPECT_EQ(replay_run(parse(script), options, result, error), 0) << error;
    return lines;
}

TEST(JoystickNoise, UnusedDevicesButtonsAxesHatsAndBallsLeaveTheWholeGameAsItWas) {
    // Splash, title, a game with movement, a cannon lost to a bomb, a shot.
    const std::string script = "70 fire\n60 -\n2 fire\n100 -\n1700 right\n30 -\n2 fire\n100 left\n";
    const std::vector<std::string> quiet = traced_run(script, false);
    const std::vector<std::string> noisy = traced_run(script, true);
    ASSERT_EQ(quiet.size(), noisy.size());
    size_t differ = 0;
    for (size_t i = 0; i < quiet.size(); ++i) {
        if (quiet[i] != noisy[i]) {
            if (differ == 0) ADD_FAILURE() << "first difference:\n" << quiet[i] << noisy[i];
            ++differ;
        }
    }
    EXPECT_EQ(differ, 0u);
    // The run did reach a game with a shot and an explosion.
    bool fired = false, exploded = false;
    for (const std::string& l : quiet) {
        fired |= l.find("\"shot_active\":1") != std::string::npos;
        exploded |= l.find("\"player_explosion\":90") != std::string::npos;
    }
    EXPECT_TRUE(fired);
    EXPECT_TRUE(exploded);
}

// ---------------------------------------------------------------------------
// The title screen's blink phase at the end of its 32-bit count.

class TitleAtTheLimit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_headless_video());
        input_init();
        video_set_presenting(1);
        screens.start_countdown = 0;
    }
    void TearDown() override {
        input_shutdown();
        stop_headless_video();
    }
    // One title frame; what it queued: 'P' for the prompt, ' ' for the
    // blanks, 0 for nothing.
    static char step(ScreenStep& result) {
        result = screen_title_step();
        std::vector<DrawCommand> q = pending_commands();
        if (q.empty()) return 0;
        EXPECT_EQ(q.size(), 11u);
        return q[0].pixels ? 'P' : ' ';
    }
    static void press_fire() {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = SDLK_z;
        push_event(e);
    }
};

TEST_F(TitleAtTheLimit, TheSlowBlinkKeepsItsRhythmPastTheLargestCount) {
    // Far past a year of frames, at the phase's largest values, and just
    // below the point where it steps back.
    for (long long start : {1'799'999'900LL, (long long)INT_MAX - 59, (long long)INT_MAX}) {
        screens.screen_timer = int(start);
        screens.start_countdown = 0;
        long long t = start;
        for (int i = 0; i < 300; ++i) {
            ScreenStep result;
            const char queued = step(result);
            ++t;
            ASSERT_TRUE(result == ScreenStep::STAYS);
            const char expected = t % 60 == 0 ? 'P' : t % 30 == 0 ? ' ' : 0;
            ASSERT_EQ(queued, expected) << "start " << start << " frame " << i;
            ASSERT_EQ(screens.screen_timer % 60, int(t % 60));
            ASSERT_GT(screens.screen_timer, 30) << "the button stays accepted";
        }
    }
}

TEST_F(TitleAtTheLimit, APressAtTheLargestCountStillStartsTheGameAfter90FramesBlinkingFast) {
    for (long long start : {1'799'999'989LL, (long long)INT_MAX - 1, (long long)INT_MAX}) {
        screens.screen_timer = int(start);
        screens.start_countdown = 0;
        press_fire();
        std::string blink;
        int frames = 0;
        ScreenStep result = ScreenStep::STAYS;
        while (result == ScreenStep::STAYS && frames < 200) {
            const char queued = step(result);
            blink += queued ? queued : '.';
            ++frames;
            ASSERT_GE(screens.screen_timer, 0);
        }
        EXPECT_EQ(frames, 90) << "start " << start;
        EXPECT_TRUE(result == ScreenStep::ENDS);
        // After the press frame the prompt is redrawn every second frame,
        // prompt and blanks in turn.
        const std::string after = blink.substr(1);
        for (size_t f = 1; f < after.size(); ++f) ASSERT_NE(after[f] == '.', after[f - 1] == '.') << blink;
        std::string shown;
        for (char ch : after)
            if (ch != '.') shown += ch;
        EXPECT_GE(shown.size(), 44u) << blink;
        for (size_t i = 1; i < shown.size(); ++i) ASSERT_NE(shown[i], shown[i - 1]) << blink;
        // The key stays held; let it go for the next round.
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = SDL_KEYUP;
        e.key.keysym.sym = SDLK_z;
        push_event(e);
        input_poll();
    }
}

// ---------------------------------------------------------------------------
// The game's counters over very long runs: each keeps to its range.

class LongRunCounters : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(start_headless_video()); }
    static void TearDownTestSuite() { stop_headless_video(); }
    void SetUp() override {
        game.hi_score = 0;
        game_begin();
    }
};

TEST_F(LongRunCounters, AScoreAtItsLargestValueStaysThereAndBecomesTheHiScore) {
    // The next move of the shot hits the front invader of column 0.
    shot.active = 1;
    shot.x = 16;
    shot.y = int16_t(786 + SHOT_SPEED);
    shot.cooldown = 0;
    game.score = INT32_MAX - 5;
    ASSERT_EQ(game_frame(), 1);
    EXPECT_EQ(game.score, INT32_MAX);
    game.lives = -1;  // the game ends after this frame
    game.player_explosion = 0;
    EXPECT_EQ(game_frame(), 0);
    EXPECT_EQ(game.hi_score, INT32_MAX);
}

TEST_F(LongRunCounters, TheShotCountWrapsAndTheSaucerStillScoresFromItsTable) {
    game.shots_fired = INT32_MAX;
    EXPECT_EQ(player_fire(100), 0);
    EXPECT_EQ(game.shots_fired, INT32_MIN);
    for (int i = 0; i < 12; ++i) {
        const int index = saucer_score_index();
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 6);
        shot.active = 0;
        player_fire(100);
    }
    // The pause it sets comes from the same table.
    saucer.explosion = 1;
    saucer_update();
    EXPECT_GT(saucer.countdown, 0);
    EXPECT_LE(saucer.countdown, 300 * SAUCER_PAUSE_FACTOR);
}

TEST_F(LongRunCounters, TheStepCountWrapsAndBombsStillComeFromTheFormation) {
    formation.step_count = UINT32_MAX;
    formation.bomb_timer = formation_count_live() + BOMB_RELEASE_EXTRA_STEPS;  // due at the next step
    bomb_state.bomb_counter = INT32_MAX;
    formation_step();
    EXPECT_EQ(formation.step_count, 0u);
    int falling = 0;
    for (const Bomb& b : bomb_state.bombs) falling += b.kind != 0;
    EXPECT_EQ(falling, 1);
    EXPECT_EQ(bomb_state.bomb_counter, INT32_MIN);
    for (int i = 0; i < 1000; ++i) formation_step();
    EXPECT_EQ(formation.step_count, 1000u);
}

}  // namespace
