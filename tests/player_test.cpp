// The player's cannon and shot: movement bounds, the fire latch, the shot's
// flight and what it scores, the cannon's explosion and blink.
#include "game/player.h"

#include <SDL.h>
#include <gtest/gtest.h>


#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/bombs.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/saucer.h"
#include "game/shields.h"
#include "input/input.h"
#include "tests/test_support.h"
#include "video/sprites.h"

namespace {

class Player : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(start_headless_video()); }
    static void TearDownTestSuite() { stop_headless_video(); }
    void SetUp() override {
        input_poll();  // empties the event queue
        input.buttons[0] = input.axes[0] = 0;
        game = GameSession{};
        game.player_x = PLAYER_X_START;
        saucer_reset();
        bombs_reset();
        shot_reset();
        draw_queue_reset();
        record_cues();
    }
    void TearDown() override { stop_recording_cues(); }
    static std::vector<int> xs_while_held(int sym, int x, int frames) {
        game.player_x = int16_t(x);
        replay_push_key(sym, true);
        std::vector<int> xs;
        for (int i = 0; i < frames; ++i, xs.push_back(game.player_x)) player_update();
        return xs;
    }
};

// A formation whose only live front invader is slot 0, at (x, y).
void lone_front_invader(int x, int y) {
    formation_layout();
    for (int i = 1; i < FRONT_SLOTS; ++i) formation.slots[i].kind = 0;
    formation.slots[0].x = int16_t(x);
    formation.slots[0].y = int16_t(y);
    formation.live_front = 1;
}

TEST_F(Player, CannonMovesOnePixelAFrameWithinBounds1And2406AndIdleQueuesNothing) {
    EXPECT_EQ(xs_while_held(SDLK_LEFT, 3, 3), (std::vector<int>{2, 1, 1}));
    replay_push_key(SDLK_LEFT, false);
    EXPECT_EQ(xs_while_held(SDLK_RIGHT, 2404, 3), (std::vector<int>{2405, 2406, 2406}));
    replay_push_key(SDLK_RIGHT, false);
    game.player_x = 200;
    draw_queue_reset();
    player_update();
    EXPECT_TRUE(queued().empty());
    input.buttons[0] = INPUT_RIGHT;
    player_update();
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 200, CANNON_Y, 13, 8}, {SPRITE_CANNON, 201, CANNON_Y, 13, 8}}));
}

TEST_F(Player, OnePressFiresOneShotTheNextPressAnotherAndAPressWhileAShotFliesIsLost) {
    game.player_x = 100;
    replay_push_key(SDLK_z, true);
    player_update();
    EXPECT_EQ(shot.active, 1);
    EXPECT_EQ(shot.x, 106);
    EXPECT_EQ(game.shots_fired, 1);
    EXPECT_EQ(cues, (Cues{{VOICE_PLAYER, SOUND_SHOT}}));
    // Held on after the shot ends: nothing more fires.
    shot.active = 0;
    for (int i = 0; i < 5; ++i) player_update();
    EXPECT_EQ(game.shots_fired, 1);
    replay_push_key(SDLK_z, false);
    player_update();
    // Pressed while a shot flies: refused, and lost when the shot ends.
    shot.active = 1;
    replay_push_key(SDLK_SPACE, true);
    player_update();
    shot.active = 0;
    player_update();
    EXPECT_EQ(shot.active, 0);
    EXPECT_EQ(game.shots_fired, 1);
    // Released and pressed again with no shot in flight: the next shot.
    replay_push_key(SDLK_SPACE, false);
    player_update();
    replay_push_key(SDLK_SPACE, true);
    player_update();
    EXPECT_EQ(game.shots_fired, 2);
}

TEST_F(Player, AShotFiredInFrameNIsFirstDrawnAt1263AndEndsReaching7InIts315thMove) {
    game.player_x = 300;
    input.buttons[0] = INPUT_A;
    player_update();
    input.buttons[0] = 0;
    missiles_update();  // the firing frame moves it; the next present shows it
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 305, 1267, 3, 8}, {SPRITE_SHOT, 305, 1263, 3, 8}}));
    int moves = 1, last_drawn = 1263;
    for (; shot.active && moves < 400; ++moves) {
        draw_queue_reset();
        shot_update();
        for (const Cmd& c : queued())
            if (c.pixels == SPRITE_SHOT) last_drawn = c.y;
    }
    EXPECT_EQ(moves, 315);
    EXPECT_EQ(shot.y, 7);
    EXPECT_EQ(last_drawn, 11);
}

TEST_F(Player, AnInvaderHitScores10AndRestsTheShot20FramesDuringWhichANewShotWaitsUnseen) {
    lone_front_invader(500, 700);
    player_fire(500);
    shot.y = 711;  // the next move puts its top at 707, the invader's last row
    EXPECT_EQ(shot_update(), 10);
    EXPECT_EQ(shot.active, 0);
    EXPECT_EQ(formation.explosion_steps, EXPLOSION_STEPS);
    EXPECT_EQ(cues, (Cues{{VOICE_PLAYER, SOUND_SHOT}, {VOICE_HIT, SOUND_INVADER_HIT}}));
    input.buttons[0] = INPUT_A;
    player_update();
    EXPECT_EQ(shot.active, 1);
    int rest = 0;
    for (; shot.cooldown > 0; ++rest) {
        draw_queue_reset();
        missiles_update();
        EXPECT_TRUE(queued().empty());
        EXPECT_EQ(shot.y, SHOT_START_Y);
    }
    EXPECT_EQ(rest, 20);
    draw_queue_reset();
    missiles_update();
    EXPECT_EQ(shot.y, 1263);
    EXPECT_EQ(count_queued(SPRITE_SHOT), 1);
}

TEST_F(Player, AShotThatBreaksAShieldBlockAndHitsAnInvaderInOneMoveScores) {
    shields_layout();
    lone_front_invader(30, 1244);  // over shield 0's block 1 (x 28..31)
    player_fire(30);
    shot.y = 1252;
    EXPECT_EQ(shot_update(), 10);
    EXPECT_EQ(shields[1].alive, 0);
    EXPECT_EQ(shot.cooldown, SHOT_COOLDOWN);
    // A block alone ends the shot without points or rest.
    formation.slots[0].kind = 0;
    formation.live_front = 0;
    shot.cooldown = 0;
    player_fire(33);
    shot.y = 1252;
    EXPECT_EQ(shot_update(), 0);
    EXPECT_EQ(shields[2].alive, 0);
    EXPECT_EQ(shot.active, 0);
    EXPECT_EQ(shot.cooldown, 0);
}

TEST_F(Player, TheSaucerScoresByShotNumberThe5thScoring300) {
    const int expected[] = {0, 100, 50, 100, 200, 300, 50, 100};  // by shot number 1..7
    for (int k = 1; k <= 7; ++k) {
        saucer.explosion = 0;
        saucer.x = 400;
        saucer.y = SAUCER_Y;
        game.shots_fired = k - 1;
        shot_reset();
        player_fire(400);
        shot.y = 27;  // the next move tests row 23
        EXPECT_EQ(shot_update(), expected[k]) << "shot " << k;
        EXPECT_EQ(shot.cooldown, 0);
        EXPECT_EQ(cues.back(), std::make_pair(VOICE_SAUCER, SOUND_SAUCER_HIT));
    }
}

TEST_F(Player, TheExplosionShowsPictureBFirstAndLastFor90FramesThenTheCannonBlinks60) {
    game.player_x = 700;
    game.player_explosion = PLAYER_EXPLOSION_FRAMES;
    player_fire(50);  // a shot in flight flies on meanwhile
    replay_push_key(SDLK_RIGHT, true);  // not read until the explosion is over
    std::vector<const uint8_t*> pictures;
    for (int f = 1; f <= 90; ++f) {
        draw_queue_reset();
        EXPECT_EQ(player_update(), f == 90 ? 1 : 0);
        missiles_update();
        pictures.push_back(pending_commands().at(0).pixels);
    }
    EXPECT_EQ(shot.y, 1267 - 4 * 90);
    EXPECT_EQ(game.shots_fired, 1);
    for (int f = 1; f <= 90; ++f)  // 90..88 B, 87..84 A, 83..80 B, ..., 3..1 B
        EXPECT_EQ(pictures[f - 1], ((91 - f) / 4) % 2 ? SPRITE_CANNON_EXPLOSION_A : SPRITE_CANNON_EXPLOSION_B) << f;
    EXPECT_EQ(game.player_x, 700);
    EXPECT_EQ(game.ready_countdown, READY_COUNTDOWN);
    for (int f = 1; f <= 61; ++f) {
        draw_queue_reset();
        player_update();
        if (f == 1) replay_push_key(SDLK_RIGHT, false);
        EXPECT_EQ(count_queued(SPRITE_CANNON), f <= 60 && f % 2 == 0 ? 1 : 0) << "blink frame " << f;
    }
    EXPECT_EQ(game.player_x, 701);
    EXPECT_EQ(game.ready_countdown, 0);
}

}  // namespace
