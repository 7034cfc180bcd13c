// The game frame: what a new game resets, how a game ends (a landing at once,
// the last cannon after the frame), scoring, the wave re-lay and the hi-score.
#include "game/game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/formation.h"
#include "game/player.h"
#include "game/saucer.h"
#include "game/shields.h"
#include "tests/test_support.h"
#include "video/sprites.h"
#include "video/text.h"

namespace {

class GameFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(start_headless_video()); }
    static void TearDownTestSuite() { stop_headless_video(); }
    void SetUp() override {
        record_cues();
        game.hi_score = 0;
        game_begin();
    }
    void TearDown() override { stop_recording_cues(); }
};

// Row 0 one drop above the landing line, dropping: the next moving step lands.
void arrange_landing() {
    for (int c = 0; c < FORMATION_COLUMNS; ++c) formation.slots[c].y = 1264;
    formation.direction = 2;
    formation.cursor = 0;
}

// The shot in flight so that its next move puts its top at (x, y).
void aim_shot(int x, int y) {
    shot.active = 1;
    shot.x = int16_t(x);
    shot.y = int16_t(y + SHOT_SPEED);
    shot.cooldown = 0;
}

// The digits queued on the panel's score row.
std::string score_row_text() {
    std::string s;
    for (const Cmd& c : queued())
        for (char d = '0'; d <= '9'; ++d)
            if (c.y == SCORE_ROW && c.x >= PANEL_SEPARATOR_X && c.pixels == font_table[int(d)]) s += d;
    return s;
}

TEST_F(GameFrameTest, ANewGameShowsScore0TwoLivesAndABlinkingCannonAtX10KeepingTheHiScore) {
    game.score = 77;
    game.shots_fired = 12;
    game.hi_score = 999;
    shields_hit_test(24, 1250);
    cues.clear();
    draw_queue_reset();
    game_begin();
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.lives, 2);
    EXPECT_EQ(game.player_x, 10);
    EXPECT_EQ(game.ready_countdown, 60);
    EXPECT_EQ(game.shots_fired, 0);
    EXPECT_EQ(game.hi_score, 999);
    EXPECT_EQ(formation_count_live(), 840);
    EXPECT_EQ(count_queued(SPRITE_SHIELD), 480);
    EXPECT_EQ(cues.back(), std::make_pair(VOICE_HIT, SOUND_GAME_BEGIN));
    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(formation.step_count, uint32_t(STEPS_PER_FRAME));
}

TEST_F(GameFrameTest, ALandingEndsTheGameInItsFrameAndOnlyAHigherFinalScoreReplacesTheHiScore) {
    arrange_landing();
    saucer.x = 300;
    saucer.steps_left = 7;
    saucer.explosion = 0;
    EXPECT_EQ(game_frame(), 0);
    EXPECT_EQ(formation.step_count, 1u);  // no step after the landing one
    EXPECT_EQ(saucer.x, 300);
    EXPECT_EQ(saucer.steps_left, 7);
    EXPECT_EQ(game.lives, 2);
    // Only a higher final score replaces the hi-score, which survives to the next game.
    const int cases[][3] = {{199, 200, 200}, {200, 200, 200}, {201, 200, 201}};
    for (const auto& c : cases) {
        game.hi_score = c[1];
        game_begin();
        EXPECT_EQ(game.hi_score, c[1]);
        arrange_landing();
        game.score = c[0];
        ASSERT_EQ(game_frame(), 0);
        EXPECT_EQ(game.hi_score, c[2]) << c[0] << " vs " << c[1];
    }
}

TEST_F(GameFrameTest, TheGameGoesOnWithoutASpareCannonAndEndsWhenTheLastIsLost) {
    const int lives_after[] = {1, 0, -1};
    for (int lives : lives_after) {
        game.player_explosion = 1;  // the cannon's explosion ends in this frame
        draw_queue_reset();
        EXPECT_EQ(game_frame(), lives >= 0 ? 1 : 0) << "lives left " << lives;
        EXPECT_EQ(game.lives, lives);
        EXPECT_EQ(count_queued(font_table['0' + std::max(lives, 0)]), lives >= 0 ? 1 : 0) << "the panel's count";
    }
}

TEST_F(GameFrameTest, ThePanelShowsTheNewScoreInFramesThatScoreAndIsLeftAloneOtherwise) {
    game.score = 1230;
    aim_shot(16, 786);  // into slot 0
    draw_queue_reset();
    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(game.score, 1240);
    EXPECT_EQ(score_row_text(), "001240");
    draw_queue_reset();
    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(score_row_text(), "");
}

TEST_F(GameFrameTest, AClearedWaveIsReLaidInTheSameFrameWithScoreLivesAndShotsKept) {
    for (int s = 0; s < FRONT_SLOTS; ++s) formation.slots[s].kind = 0;
    formation_recount_live();
    for (int x = 24; x < 200; x += 4) shields_hit_test(x, 1250);
    game.score = 1230;
    game.lives = 1;
    game.shots_fired = 7;
    draw_queue_reset();
    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(formation_count_live(), 840);
    EXPECT_EQ(formation.step_count, 0u);
    EXPECT_EQ(shields_count_alive(), 480);
    EXPECT_EQ(count_queued(SPRITE_SHIELD), 480);
    EXPECT_EQ(game.score, 1230);
    EXPECT_EQ(game.lives, 1);
    EXPECT_EQ(game.shots_fired, 7);
}

}  // namespace
