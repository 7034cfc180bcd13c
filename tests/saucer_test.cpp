// The bonus saucer: its schedule, its crossing and hum, where a shot hits it,
// its explosion and the pause that follows.
#include "game/saucer.h"

#include <gtest/gtest.h>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/game.h"
#include "tests/test_support.h"
#include "video/sprites.h"

namespace {

class Saucers : public ::testing::Test {
protected:
    void SetUp() override {
        game = GameSession{};
        saucer_reset();
        draw_queue_reset();
        record_cues();
    }
    void TearDown() override { stop_recording_cues(); }
    // Runs updates until the saucer enters; the number of frames it took.
    static int frames_to_entry() {
        int frames = 0;
        for (; saucer.steps_left == 0 && frames < 5000; ++frames) saucer_update();
        return frames;
    }
    static void put_crossing(int x) {
        saucer.x = x;
        saucer.y = SAUCER_Y;
        saucer.direction = 0;
        saucer.steps_left = 1000;
        saucer.countdown = saucer.explosion = 0;
    }
};

TEST_F(Saucers, TheFirstSaucerEntersInFrame240FromTheSideOfTheShotCountsParity) {
    for (int shots : {0, 1}) {
        saucer_reset();
        game.shots_fired = shots;
        EXPECT_EQ(frames_to_entry(), 240);
        EXPECT_EQ(saucer.direction, shots);
        EXPECT_EQ(saucer.x, shots == 0 ? 9 : 2411);  // its first step taken
    }
}

TEST_F(Saucers, ACrossingTakes2404FramesHums96TimesAndChangesPictureEvery4Steps) {
    game.shots_fired = 4;
    int frames = frames_to_entry() == 240 ? 1 : 0;
    std::vector<const uint8_t*> pictures;
    while (saucer.steps_left > 0) {
        draw_queue_reset();
        saucer_update();
        ++frames;
        auto q = queued();
        ASSERT_FALSE(q.empty());
        EXPECT_EQ(q[0].pixels, nullptr);
        if (q.size() == 2) pictures.push_back(q[1].pixels);
    }
    EXPECT_EQ(frames, 2404);
    EXPECT_EQ(cues, Cues(96, {VOICE_SAUCER, SOUND_SAUCER}));
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 2403, 16, 16, 8}}));  // blacked out at the end
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int left = 2402 - int(i);
        ASSERT_EQ(pictures[i], (left & 4) == 0 ? SPRITE_SAUCER_A : SPRITE_SAUCER_B) << "step " << i + 2;
    }
    EXPECT_EQ(saucer.x, SAUCER_PARKED_X);
    EXPECT_EQ(saucer.countdown, 1000);  // shots_fired 4
}

TEST_F(Saucers, AShotTopInRows16To23HitsColumnsXMinus8ToXPlus7ButNotWhileItExplodesFor90Frames) {
    for (auto [px, py] : {std::pair{591, 19}, {608, 19}, {600, 15}, {600, 24}}) {
        put_crossing(600);
        EXPECT_EQ(saucer_hit_test(px, py), 0) << px << "," << py;
    }
    for (auto [px, py] : {std::pair{592, 16}, {607, 23}, {600, 19}}) {
        put_crossing(600);
        draw_queue_reset();
        EXPECT_EQ(saucer_hit_test(px, py), 1) << px << "," << py;
        EXPECT_EQ(saucer.explosion, SAUCER_EXPLOSION_FRAMES);
    }
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 592, 16, 16, 8}, {SPRITE_EXPLOSION, 596, 16, 8, 8}}));
    // Exploding, it cannot be hit, and stays for 90 frames.
    for (int px = 580; px < 620; ++px)
        for (int py = 10; py < 30; ++py) ASSERT_EQ(saucer_hit_test(px, py), 0);
    int frames = 0;
    for (; saucer.explosion > 0; ++frames) {
        draw_queue_reset();
        saucer_update();
    }
    EXPECT_EQ(frames, 90);
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 596, 16, 8, 8}}));
    EXPECT_EQ(saucer.x, SAUCER_PARKED_X);
    for (int px = 7; px < 2420; ++px) ASSERT_EQ(saucer_hit_test(px, 19), 0) << "away: out of every shot's reach";
}

TEST_F(Saucers, ThePauseFollowsTheShotCountWhenTheCrossingOrExplosionEndsNotAtTheHit) {
    const int pauses[6] = {250, 500, 250, 500, 1000, 1500};
    for (int shots = 0; shots < 6; ++shots) {
        put_crossing(600);
        game.shots_fired = 5;
        saucer_hit_test(600, 19);
        game.shots_fired = shots;
        while (saucer.explosion > 0) saucer_update();
        EXPECT_EQ(frames_to_entry(), pauses[shots]) << shots;
        put_crossing(2410);
        saucer.steps_left = 1;
        saucer_update();
        EXPECT_EQ(saucer.countdown, pauses[shots]) << shots;
    }
}

}  // namespace
