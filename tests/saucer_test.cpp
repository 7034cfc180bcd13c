// The bonus saucer: its schedule, its crossing and hum, where a shot hits it,
// its explosion and the score table by shot count.
#include "game/saucer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/game.h"
#include "tests/test_support.h"
#include "video/sprites.h"

namespace {

std::vector<std::pair<int, int>> cues;
void record_cue(int voice, int id) { cues.emplace_back(voice, id); }

class Saucers : public ::testing::Test {
protected:
    void SetUp() override {
        game = GameSession{};
        saucer_reset();
        draw_queue_reset();
        cues.clear();
        sound_set_cue_hook(record_cue);
    }
    void TearDown() override { sound_set_cue_hook(nullptr); }

    // Runs updates until the saucer enters; the number of frames it took.
    int frames_to_entry() {
        int frames = 0;
        while (saucer.steps_left == 0 && frames < 5000) {
            saucer_update();
            ++frames;
        }
        return frames;
    }

    void put_crossing(int x) {
        saucer.x = x;
        saucer.y = SAUCER_Y;
        saucer.direction = 0;
        saucer.steps_left = 1000;
        saucer.countdown = 0;
        saucer.explosion = 0;
    }
};

TEST_F(Saucers, TheFirstSaucerEntersInFrame240FromTheSideOfTheShotCountsParity) {
    for (int shots = 0; shots < 2; ++shots) {
        saucer_reset();
        game.shots_fired = shots;
        for (int f = 1; f < 240; ++f) saucer_update();
        EXPECT_EQ(saucer.steps_left, 0);
        EXPECT_EQ(saucer.x, SAUCER_PARKED_X);
        saucer_update();
        EXPECT_EQ(saucer.steps_left, 2403);
        EXPECT_EQ(saucer.direction, shots);
        EXPECT_EQ(saucer.y, SAUCER_Y);
        // Its first step is taken in the frame it enters.
        EXPECT_EQ(saucer.x, shots == 0 ? 9 : 2411);
    }
}

TEST_F(Saucers, ACrossingTakes2404FramesAndHums96TimesFirstAtItsFifthStep) {
    game.shots_fired = 4;
    frames_to_entry();  // the entry frame is the crossing's first
    int frames = 1, hums = int(cues.size()), first_hum = hums > 0 ? 1 : 0;
    int min_x = saucer.x, max_x = saucer.x;
    while (saucer.steps_left > 0) {
        const size_t before = cues.size();
        saucer_update();
        ++frames;
        if (cues.size() > before) {
            ++hums;
            if (first_hum == 0) first_hum = frames;
            EXPECT_EQ(cues.back(), std::make_pair(VOICE_SAUCER, SOUND_SAUCER));
        }
        if (saucer.steps_left > 0) {
            min_x = std::min(min_x, saucer.x);
            max_x = std::max(max_x, saucer.x);
        }
    }
    EXPECT_EQ(frames, 2404);
    EXPECT_EQ(hums, 96);
    EXPECT_EQ(first_hum, 5);
    EXPECT_EQ(min_x, 9);
    EXPECT_EQ(max_x, 2411);
    // Away again: 200 points x 5 frames for shots_fired 4.
    EXPECT_EQ(saucer.x, SAUCER_PARKED_X);
    EXPECT_EQ(saucer.countdown, 1000);
}

TEST_F(Saucers, EachStepBlacksOutTheLastPictureAndDrawsTheNextChangingEvery4Steps) {
    game.shots_fired = 0;
    for (int f = 1; f < 240; ++f) saucer_update();
    std::vector<const uint8_t*> pictures;
    int first_left = 0, last_left = 0, last_black = 0;
    while (true) {
        draw_queue_reset();
        saucer_update();
        auto cmds = pending_commands();
        ASSERT_GE(cmds.size(), 1u);
        EXPECT_EQ(cmds[0].pixels, nullptr);
        EXPECT_EQ(cmds[0].w, 16);
        EXPECT_EQ(cmds[0].h, 8);
        EXPECT_EQ(cmds[0].y, 16);
        last_black = cmds[0].x;
        if (saucer.steps_left == 0) {
            EXPECT_EQ(cmds.size(), 1u);
            break;
        }
        ASSERT_EQ(cmds.size(), 2u);
        if (pictures.empty()) first_left = cmds[1].x;
        last_left = cmds[1].x;
        pictures.push_back(cmds[1].pixels);
    }
    EXPECT_EQ(pictures.size(), 2403u);
    EXPECT_EQ(first_left, 1);
    EXPECT_EQ(last_left, 2403);
    EXPECT_EQ(last_black, 2403);
    // steps_left after the step: 2403 (bit 2 clear: A), ..., turning every 4.
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int left = 2403 - int(i);
        ASSERT_EQ(pictures[i], (left & 4) == 0 ? SPRITE_SAUCER_A : SPRITE_SAUCER_B) << "step " << i + 1;
    }
    // A hit blacks the saucer out before its explosion picture.
    put_crossing(700);
    draw_queue_reset();
    saucer_hit_test(700, 19);
    auto cmds = pending_commands();
    ASSERT_EQ(cmds.size(), 2u);
    EXPECT_EQ(cmds[0].pixels, nullptr);
    EXPECT_EQ(cmds[0].x, 692);
    EXPECT_EQ(cmds[0].w, 16);
}

TEST_F(Saucers, AShotTopInRows16To23HitsColumnsXMinus8ToXPlus7) {
    const int x = 600;
    const std::pair<int, int> hits[] = {{592, 16}, {607, 23}, {600, 19}};
    const std::pair<int, int> misses[] = {{591, 19}, {608, 19}, {600, 15}, {600, 24}};
    for (auto [px, py] : misses) {
        put_crossing(x);
        EXPECT_EQ(saucer_hit_test(px, py), 0) << px << "," << py;
        EXPECT_EQ(saucer.explosion, 0);
    }
    EXPECT_TRUE(pending_commands().empty());
    for (auto [px, py] : hits) {
        put_crossing(x);
        EXPECT_EQ(saucer_hit_test(px, py), 1) << px << "," << py;
        EXPECT_EQ(saucer.explosion, SAUCER_EXPLOSION_FRAMES);
    }
    // The explosion picture stands over the saucer's middle.
    auto cmds = pending_commands();
    ASSERT_FALSE(cmds.empty());
    EXPECT_EQ(cmds.back().pixels, SPRITE_EXPLOSION);
    EXPECT_EQ(cmds.back().x, 596);
    EXPECT_EQ(cmds.back().y, 16);
    EXPECT_EQ(cmds.back().w, 8);
    EXPECT_EQ(cmds.back().h, 8);
    // A saucer away is out of every shot's reach.
    saucer_reset();
    for (int px = 7; px < 2420; ++px) ASSERT_EQ(saucer_hit_test(px, 19), 0);
}

TEST_F(Saucers, AnExplodingSaucerCannotBeHitAndStaysFrozenFor90Frames) {
    put_crossing(600);
    ASSERT_EQ(saucer_hit_test(600, 19), 1);
    for (int px = 580; px < 620; ++px)
        for (int py = 10; py < 30; ++py) ASSERT_EQ(saucer_hit_test(px, py), 0);
    draw_queue_reset();
    int frames = 0;
    while (saucer.explosion > 0) {
        saucer_update();
        ++frames;
        if (saucer.explosion > 0) {
            EXPECT_EQ(saucer.x, 600);
            EXPECT_TRUE(pending_commands().empty());
        }
    }
    EXPECT_EQ(frames, 90);
    auto cmds = pending_commands();
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].pixels, nullptr);
    EXPECT_EQ(cmds[0].x, 596);
    EXPECT_EQ(cmds[0].y, 16);
    EXPECT_EQ(cmds[0].w, 8);
    EXPECT_EQ(cmds[0].h, 8);
    EXPECT_EQ(saucer.steps_left, 0);
    EXPECT_EQ(saucer.x, SAUCER_PARKED_X);
}

TEST_F(Saucers, ThePauseComesFromTheShotCountWhenTheCrossingOrExplosionEnds) {
    const int pauses[6] = {250, 500, 250, 500, 1000, 1500};
    for (int shots = 0; shots < 6; ++shots) {
        // Hit with shot count 5, but the explosion ends with another count.
        put_crossing(600);
        game.shots_fired = 5;
        saucer_hit_test(600, 19);
        game.shots_fired = shots;
        while (saucer.explosion > 0) saucer_update();
        EXPECT_EQ(saucer.countdown, pauses[shots]);
        // A countdown of n set in frame F lets it enter in frame F + n.
        EXPECT_EQ(frames_to_entry(), pauses[shots]);

        // A crossing's last step.
        put_crossing(2410);
        saucer.steps_left = 1;
        saucer_update();
        EXPECT_EQ(saucer.countdown, pauses[shots]);
        EXPECT_EQ(saucer.x, SAUCER_PARKED_X);
    }
    EXPECT_EQ(saucer_score_index(), 5);
}

TEST_F(Saucers, AResetMidCrossingOrExplosionParksTheSaucerFor240Frames) {
    put_crossing(1200);
    saucer_reset();
    EXPECT_EQ(saucer.steps_left, 0);
    EXPECT_EQ(saucer.x, SAUCER_PARKED_X);
    EXPECT_EQ(frames_to_entry(), 240);

    put_crossing(1200);
    saucer_hit_test(1200, 19);
    saucer_reset();
    draw_queue_reset();
    EXPECT_EQ(saucer.explosion, 0);
    for (int f = 1; f < 240; ++f) saucer_update();
    EXPECT_TRUE(pending_commands().empty());
    EXPECT_TRUE(cues.empty());
    EXPECT_EQ(saucer_hit_test(1200, 19), 0);
}

class SaucerInPlay : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(start_headless_video()); }
    static void TearDownTestSuite() { stop_headless_video(); }
};

TEST_F(SaucerInPlay, AGameEndingMidCrossingLeavesNothingOfTheSaucerInTheNextGame) {
    game_begin();
    for (int f = 0; f < 300; ++f) ASSERT_EQ(game_frame(), 1);
    ASSERT_GT(saucer.steps_left, 0);
    // The game ends here; the next one starts.
    game_begin();
    EXPECT_EQ(saucer.steps_left, 0);
    EXPECT_EQ(saucer.explosion, 0);
    EXPECT_EQ(saucer.x, SAUCER_PARKED_X);
    int entered = 0;
    for (int f = 1; f <= 240 && entered == 0; ++f) {
        ASSERT_EQ(game_frame(), 1);
        if (saucer.steps_left > 0) entered = f;
    }
    EXPECT_EQ(entered, 240);

    // Likewise mid-explosion.
    saucer_hit_test(saucer.x, 19);
    ASSERT_GT(saucer.explosion, 0);
    game_begin();
    EXPECT_EQ(saucer.explosion, 0);
    EXPECT_EQ(saucer.countdown, SAUCER_FIRST_COUNTDOWN);
}

}  // namespace
