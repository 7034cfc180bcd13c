// The game frame: what a new game resets, the order of a frame, how a game
// ends (landing at once, last cannon after the frame), scoring, the wave
// re-lay and the hi-score.
#include "game/game.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/screens.h"
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

struct Cue {
    int voice, id;
};
std::vector<Cue> cues;
void record_cue(int voice, int id) { cues.push_back({voice, id}); }

class GameFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(start_headless_video()); }
    static void TearDownTestSuite() { stop_headless_video(); }
    void SetUp() override {
        cues.clear();
        sound_set_cue_hook(record_cue);
        game.hi_score = 0;
        game_begin();
    }
    void TearDown() override { sound_set_cue_hook(nullptr); }
};

// Row 0 one drop above the landing line, dropping, cursor on slot 0: the
// next moving step lands.
void arrange_landing() {
    for (int c = 0; c < FORMATION_COLUMNS; ++c) formation.slots[c].y = 1264;
    formation.direction = 2;
    formation.cursor = 0;
}

// Sets the shot in flight so that its next move puts its top at (x, y).
void aim_shot(int x, int y) {
    shot.active = 1;
    shot.x = int16_t(x);
    shot.y = int16_t(y + SHOT_SPEED);
    shot.cooldown = 0;
}

// Whether the shot module is the real one (it rests out a cooldown).
bool shot_module_present() {
    shot.cooldown = 1;
    shot.active = 0;
    shot_update();
    bool real = shot.cooldown == 0;
    shot.cooldown = 0;
    return real;
}

// Whether the digits of the status panel queue anything yet. Empties the queue.
bool numbers_drawn() {
    draw_queue_reset();
    draw_number(0, SCORE_ROW);
    bool drawn = draw_queue.pending > 0;
    draw_queue_reset();
    return drawn;
}

int commands_on_score_row() {
    int n = 0;
    for (const DrawCommand& c : pending_commands()) n += c.y == SCORE_ROW && c.x >= PANEL_SEPARATOR_X;
    return n;
}

}  // namespace

TEST_F(GameFrameTest, GameBeginResetsTheSessionButKeepsHiScoreAndFireLatch) {
    game.score = 77;
    game.lives = -1;
    game.player_x = 500;
    game.ready_countdown = 0;
    game.player_explosion = 33;
    game.shots_fired = 12;
    game.hi_score = 999;
    game.fire_latch = 1;
    shot.active = 1;
    shot.cooldown = 9;
    formation.cursor = -1;
    shields_hit_test(24, 1250);
    cues.clear();
    draw_queue_reset();

    game_begin();
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.lives, 2);
    EXPECT_EQ(game.player_x, 10);
    EXPECT_EQ(game.ready_countdown, 60);
    EXPECT_EQ(game.player_explosion, 0);
    EXPECT_EQ(game.shots_fired, 0);
    EXPECT_EQ(game.hi_score, 999);
    EXPECT_EQ(game.fire_latch, 1);
    EXPECT_EQ(shot.active, 0);
    EXPECT_EQ(shot.cooldown, 0);
    EXPECT_EQ(formation.cursor, 0);
    EXPECT_EQ(formation_count_live(), 840);
    EXPECT_EQ(shields_count_alive(), 480);
    int shield_pictures = 0;
    for (const DrawCommand& c : pending_commands()) shield_pictures += c.pixels == SPRITE_SHIELD;
    EXPECT_EQ(shield_pictures, 480);
    ASSERT_FALSE(cues.empty());
    EXPECT_EQ(cues.back().voice, VOICE_HIT);
    EXPECT_EQ(cues.back().id, SOUND_GAME_BEGIN);
}

TEST_F(GameFrameTest, FramePresentsWhatWasQueuedThenRuns70FormationSteps) {
    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(formation.step_count, 70u);
    EXPECT_EQ(formation.cursor, 70);
    for (const DrawCommand& c : pending_commands()) EXPECT_NE(c.pixels, SPRITE_SHIELD);
    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(formation.step_count, 140u);
}

TEST_F(GameFrameTest, LandingEndsTheGameInItsFrameEvenWithTwoLivesAndTheSaucerStandsStill) {
    arrange_landing();
    saucer.x = 300;
    saucer.steps_left = 7;
    saucer.countdown = 50;
    saucer.explosion = 0;
    Saucer before = saucer;
    game.score = 300;
    game.hi_score = 200;
    EXPECT_EQ(game.lives, 2);
    EXPECT_EQ(game_frame(), 0);
    EXPECT_EQ(formation.step_count, 1u);  // no step after the landing one
    EXPECT_EQ(formation.slots[0].y, 1272);
    EXPECT_EQ(formation.slots[1].y, 1264);
    EXPECT_EQ(saucer.x, before.x);
    EXPECT_EQ(saucer.steps_left, before.steps_left);
    EXPECT_EQ(saucer.countdown, before.countdown);
    EXPECT_EQ(game.lives, 2);
    EXPECT_EQ(game.hi_score, 300);
}

TEST_F(GameFrameTest, OnlyAHigherFinalScoreReplacesTheHiScore) {
    const int cases[][3] = {{199, 200, 200}, {200, 200, 200}, {201, 200, 201}, {0, 0, 0}};
    for (const auto& c : cases) {
        game_begin();
        arrange_landing();
        game.score = c[0];
        game.hi_score = c[1];
        ASSERT_EQ(game_frame(), 0);
        EXPECT_EQ(game.hi_score, c[2]) << c[0] << " vs " << c[1];
    }
}

TEST_F(GameFrameTest, PointsScoredInTheEndingFrameCountTowardTheHiScore) {
    if (!shot_module_present()) GTEST_SKIP() << "the shot module is still a stand-in";
    arrange_landing();
    // The shot reaches slot 5 (x 96) in this frame; its explosion plays out in
    // the first 20 steps and the next step lands slot 0.
    aim_shot(96, 1266);
    game.score = 500;
    game.hi_score = 0;
    EXPECT_EQ(game_frame(), 0);
    EXPECT_EQ(game.score, 510);
    EXPECT_EQ(game.hi_score, 510);
    EXPECT_EQ(formation.slots[5].kind, 0);
    EXPECT_EQ(formation.slots[0].y, 1272);
}

TEST_F(GameFrameTest, ScoreIsRedrawnOnlyInFramesThatScore) {
    if (!shot_module_present()) GTEST_SKIP() << "the shot module is still a stand-in";
    bool digits = numbers_drawn();
    aim_shot(16, 786);  // into slot 0
    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(game.score, 10);
    if (digits) {
        EXPECT_GT(commands_on_score_row(), 0);
    }
    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(game.score, 10);
    EXPECT_EQ(commands_on_score_row(), 0);
    if (!digits) GTEST_SKIP() << "the digits are still a stand-in";
}

TEST_F(GameFrameTest, ClearedWaveIsReLaidInTheSameFrameWithScoreAndLivesUnchanged) {
    for (int s = 0; s < FRONT_SLOTS; ++s) formation.slots[s].kind = 0;
    formation_recount_live();
    formation.cursor = FRONT_SLOTS;
    for (int x = 24; x < 200; x += 4) shields_hit_test(x, 1250);
    game.score = 1230;
    game.lives = 1;
    game.shots_fired = 7;
    draw_queue_reset();

    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(formation_count_live(), 840);
    EXPECT_EQ(formation.cursor, 0);
    EXPECT_EQ(formation.step_count, 0u);
    EXPECT_EQ(formation.slots[FRONT_SLOTS].x, 16);
    EXPECT_EQ(shields_count_alive(), 480);
    int shield_pictures = 0;
    for (const DrawCommand& c : pending_commands()) shield_pictures += c.pixels == SPRITE_SHIELD;
    EXPECT_EQ(shield_pictures, 480);
    EXPECT_EQ(game.score, 1230);
    EXPECT_EQ(game.lives, 1);
    EXPECT_EQ(game.shots_fired, 7);

    // A wave frozen at its end is re-laid the same way.
    for (int s = 0; s < FRONT_SLOTS; ++s) formation.slots[s].kind = 0;
    formation_recount_live();
    formation.cursor = -1;
    EXPECT_EQ(game_frame(), 1);
    EXPECT_EQ(formation.cursor, 0);
    EXPECT_EQ(formation_count_live(), 840);
}

TEST_F(GameFrameTest, LastCannonLostEndsTheGameOnlyAfterTheRestOfTheFrame) {
    game.lives = 2;
    game.player_explosion = 1;
    EXPECT_EQ(game_frame(), 1);
    if (game.player_explosion == 1) GTEST_SKIP() << "the cannon module is still a stand-in";
    EXPECT_EQ(game.lives, 1);

    game.lives = 0;
    game.player_explosion = 1;
    game.score = 40;
    game.hi_score = 30;
    uint32_t steps = formation.step_count;
    EXPECT_EQ(game_frame(), 0);
    EXPECT_EQ(game.lives, -1);
    EXPECT_EQ(formation.step_count, steps + 70);  // the steps still ran
    EXPECT_EQ(game.hi_score, 40);
}

TEST_F(GameFrameTest, HiScoreStartsAtZeroEachRunAndSurvivesFromGameToGame) {
    game.hi_score = 42;
    screens.state = SCREEN_RESET_HISCORE;
    screen_pass();
    EXPECT_EQ(game.hi_score, 0);

    game_begin();
    arrange_landing();
    game.score = 350;
    ASSERT_EQ(game_frame(), 0);
    EXPECT_EQ(game.hi_score, 350);
    game_begin();
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.hi_score, 350);
    arrange_landing();
    game.score = 120;
    ASSERT_EQ(game_frame(), 0);
    EXPECT_EQ(game.hi_score, 350);
}
