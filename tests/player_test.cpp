// The player's cannon and shot: movement bounds, the fire latch, the shot's
// flight and what it scores, the cannon's explosion and blink.
#include "game/player.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

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

std::vector<std::pair<int, int>> cues;
void record_cue(int voice, int id) { cues.emplace_back(voice, id); }

void push_key(SDLKey sym, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

int count_sprites(const std::vector<DrawCommand>& cmds, const uint8_t* pixels) {
    int n = 0;
    for (const DrawCommand& c : cmds) n += c.pixels == pixels ? 1 : 0;
    return n;
}

class Player : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(start_headless_video()); }
    static void TearDownTestSuite() { stop_headless_video(); }

    void SetUp() override {
        input_poll();  // empties the event queue
        input.buttons[0] = 0;
        input.axes[0] = 0;
        game = GameSession{};
        game.player_x = PLAYER_X_START;
        saucer_reset();
        bombs_reset();
        shot_reset();
        draw_queue_reset();
        cues.clear();
        sound_set_cue_hook(record_cue);
    }
    void TearDown() override { sound_set_cue_hook(nullptr); }

    // One game frame's share of this module: the cannon, then the missiles.
    int frame() {
        player_update();
        return missiles_update();
    }
};

TEST_F(Player, CannonMovesOnePixelPerFrameWithinBounds1And2406) {
    game.player_x = 3;
    push_key(SDLK_LEFT, true);
    std::vector<int> xs;
    for (int i = 0; i < 4; ++i) {
        player_update();
        xs.push_back(game.player_x);
    }
    EXPECT_EQ(xs, (std::vector<int>{2, 1, 1, 1}));
    push_key(SDLK_LEFT, false);

    game.player_x = 2404;
    push_key(SDLK_RIGHT, true);
    xs.clear();
    for (int i = 0; i < 4; ++i) {
        player_update();
        xs.push_back(game.player_x);
    }
    EXPECT_EQ(xs, (std::vector<int>{2405, 2406, 2406, 2406}));

    // Both held: left first, then right, so the cannon stands except at x 1.
    push_key(SDLK_LEFT, true);
    player_update();
    EXPECT_EQ(game.player_x, 2406);
    game.player_x = 500;
    player_update();
    EXPECT_EQ(game.player_x, 500);
    game.player_x = 1;
    player_update();
    EXPECT_EQ(game.player_x, 2);
}

TEST_F(Player, AMovingCannonIsRedrawnAndAnIdleOneQueuesNothing) {
    game.player_x = 200;
    player_update();
    EXPECT_TRUE(pending_commands().empty());

    input.buttons[0] = INPUT_RIGHT;
    player_update();
    auto cmds = pending_commands();
    ASSERT_EQ(cmds.size(), 2u);
    EXPECT_EQ(cmds[0].pixels, nullptr);
    EXPECT_EQ(cmds[0].x, 200);
    EXPECT_EQ(cmds[0].y, CANNON_Y);
    EXPECT_EQ(cmds[0].w, 13);
    EXPECT_EQ(cmds[0].h, 8);
    EXPECT_EQ(cmds[0].gray, 0);
    EXPECT_EQ(cmds[1].pixels, SPRITE_CANNON);
    EXPECT_EQ(cmds[1].x, 201);
    EXPECT_EQ(cmds[1].y, CANNON_Y);
    EXPECT_EQ(cmds[1].w, 13);
    EXPECT_EQ(cmds[1].h, 8);
}

TEST_F(Player, OnePressFiresOneShotAndAPressWhileAShotFliesIsLost) {
    game.player_x = 100;
    push_key(SDLK_z, true);
    player_update();
    EXPECT_EQ(shot.active, 1);
    EXPECT_EQ(shot.x, 106);
    EXPECT_EQ(shot.y, SHOT_START_Y);
    EXPECT_EQ(game.shots_fired, 1);
    EXPECT_EQ(game.fire_latch, 1);
    EXPECT_EQ(cues, (std::vector<std::pair<int, int>>{{VOICE_PLAYER, SOUND_SHOT}}));

    // Held on: the shot ends while the button is still held, and nothing fires.
    shot.active = 0;
    for (int i = 0; i < 5; ++i) player_update();
    EXPECT_EQ(shot.active, 0);
    EXPECT_EQ(game.shots_fired, 1);

    // Released and pressed again: a second shot.
    push_key(SDLK_z, false);
    player_update();
    EXPECT_EQ(game.fire_latch, 0);
    push_key(SDLK_SPACE, true);
    player_update();
    EXPECT_EQ(game.shots_fired, 2);
    push_key(SDLK_SPACE, false);
    player_update();

    // A press while that shot flies is refused, not counted, and lost.
    push_key(SDLK_z, true);
    player_update();
    EXPECT_EQ(game.shots_fired, 2);
    EXPECT_EQ(game.fire_latch, 1);
    shot.active = 0;
    player_update();
    EXPECT_EQ(shot.active, 0);
    EXPECT_EQ(game.shots_fired, 2);
    EXPECT_EQ(player_fire(50), 0);
    EXPECT_EQ(player_fire(60), 2);
    EXPECT_EQ(shot.x, 50);
    EXPECT_EQ(game.shots_fired, 3);
}

TEST_F(Player, AShotClimbsFrom1263To11AndEndsReaching7InIts315thMove) {
    game.player_x = 300;
    input.buttons[0] = INPUT_A;
    player_update();
    input.buttons[0] = 0;
    // The frame that fires also moves the shot; its picture is queued for the
    // next present at 1263, covering the cannon's middle three columns.
    EXPECT_EQ(missiles_update(), 0);
    auto cmds = pending_commands();
    ASSERT_EQ(cmds.size(), 2u);
    EXPECT_EQ(cmds[0].pixels, nullptr);
    EXPECT_EQ(cmds[0].x, 305);
    EXPECT_EQ(cmds[0].y, 1267);
    EXPECT_EQ(cmds[0].w, 3);
    EXPECT_EQ(cmds[1].pixels, SPRITE_SHOT);
    EXPECT_EQ(cmds[1].x, 305);
    EXPECT_EQ(cmds[1].y, 1263);
    EXPECT_EQ(cmds[1].w, 3);
    EXPECT_EQ(cmds[1].h, 8);

    int moves = 1, last_drawn = 1263;
    while (shot.active && moves < 400) {
        draw_queue_reset();
        shot_update();
        ++moves;
        for (const DrawCommand& c : pending_commands())
            if (c.pixels == SPRITE_SHOT) last_drawn = c.y;
    }
    EXPECT_EQ(moves, 315);
    EXPECT_EQ(shot.y, 7);
    EXPECT_EQ(last_drawn, 11);
    EXPECT_EQ(count_sprites(pending_commands(), SPRITE_SHOT), 0);
}

TEST_F(Player, DuringTheRestAfterAnInvaderHitANewShotWaitsUnseenThenFlies) {
    shot.cooldown = SHOT_COOLDOWN;
    input.buttons[0] = INPUT_A;
    player_update();
    EXPECT_EQ(shot.active, 1);
    int rest_frames = 0;
    while (shot.cooldown > 0) {
        draw_queue_reset();
        missiles_update();
        EXPECT_TRUE(pending_commands().empty());
        EXPECT_EQ(shot.y, SHOT_START_Y);
        ++rest_frames;
    }
    EXPECT_EQ(rest_frames, 20);
    // Still in flight, so a new press is refused.
    input.buttons[0] = 0;
    player_update();
    input.buttons[0] = INPUT_A;
    player_update();
    EXPECT_EQ(game.shots_fired, 1);
    draw_queue_reset();
    missiles_update();
    EXPECT_EQ(shot.y, 1263);
    EXPECT_EQ(count_sprites(pending_commands(), SPRITE_SHOT), 1);
}

TEST_F(Player, AShotInFlightGoesOnWhileTheCannonExplodes) {
    player_fire(50);
    game.player_explosion = PLAYER_EXPLOSION_FRAMES;
    input.buttons[0] = INPUT_A;
    game.fire_latch = 0;
    for (int i = 0; i < 10; ++i) frame();
    EXPECT_EQ(shot.y, 1267 - 40);
    EXPECT_EQ(game.fire_latch, 0);
    EXPECT_EQ(game.shots_fired, 1);
}

TEST_F(Player, TheExplosionShowsPictureBFirstAndLastFor90FramesThenTheCannonBlinks60) {
    game.player_x = 700;
    game.player_explosion = PLAYER_EXPLOSION_FRAMES;
    // Keys pressed during the explosion are not even read.
    push_key(SDLK_RIGHT, true);
    std::vector<const uint8_t*> pictures;
    int finished_at = 0;
    for (int f = 1; f <= 90; ++f) {
        draw_queue_reset();
        if (player_update() == 1) finished_at = f;
        auto cmds = pending_commands();
        ASSERT_GE(cmds.size(), 1u);
        EXPECT_EQ(cmds[0].x, 700);
        EXPECT_EQ(cmds[0].y, CANNON_Y);
        EXPECT_EQ(cmds[0].w, 13);
        pictures.push_back(cmds[0].pixels);
        if (f == 90) {
            ASSERT_EQ(cmds.size(), 2u);
            EXPECT_EQ(cmds[1].pixels, nullptr);
            EXPECT_EQ(cmds[1].x, 700);
            EXPECT_EQ(cmds[1].w, 13);
        }
    }
    EXPECT_EQ(finished_at, 90);
    EXPECT_EQ(game.player_x, 700);
    EXPECT_EQ(game.ready_countdown, READY_COUNTDOWN);
    const uint8_t* A = SPRITE_CANNON_EXPLOSION_A;
    const uint8_t* B = SPRITE_CANNON_EXPLOSION_B;
    // player_explosion 90..88 B, 87..84 A, 83..80 B, ..., 3..1 B.
    for (int f = 1; f <= 90; ++f) {
        const int left = 91 - f;
        EXPECT_EQ(pictures[f - 1], (left / 4) % 2 ? A : B) << "frame " << f;
    }
    EXPECT_EQ(pictures.front(), B);
    EXPECT_EQ(pictures.back(), B);
    EXPECT_EQ(std::count(pictures.begin(), pictures.end(), A), 44);

    // The blink: drawn on even counts, off and on in turn. The key pressed
    // during the explosion waited in the event queue and is read only now.
    std::vector<int> drawn;
    for (int f = 1; f <= 61; ++f) {
        draw_queue_reset();
        EXPECT_EQ(player_update(), 0);
        drawn.push_back(count_sprites(pending_commands(), SPRITE_CANNON));
        if (f == 1) {
            EXPECT_EQ(game.player_x, 701);
            push_key(SDLK_RIGHT, false);
        }
    }
    EXPECT_EQ(game.player_x, 701);
    for (int f = 1; f <= 60; ++f) EXPECT_EQ(drawn[f - 1], f % 2 == 0 ? 1 : 0) << "blink frame " << f;
    EXPECT_EQ(drawn[60], 0);  // stands drawn, nothing more queued
    EXPECT_EQ(game.ready_countdown, 0);
}

TEST_F(Player, AShotScoresTheSaucerByTheShotCountThe5thScoring300) {
    // Shot number k scores SAUCER_SCORES[k mod 6]; the cooldown is untouched.
    const int expected[] = {50, 100, 50, 100, 200, 300, 50, 100};
    for (int k = 1; k <= 7; ++k) {
        saucer.explosion = 0;
        saucer.x = 400;
        saucer.y = SAUCER_Y;
        game.shots_fired = k - 1;
        shot_reset();
        ASSERT_EQ(player_fire(400), 0);
        shot.y = 27;  // next move tests row 23
        cues.clear();
        EXPECT_EQ(shot_update(), expected[k % 6]) << "shot " << k;
        EXPECT_EQ(shot.active, 0);
        EXPECT_EQ(shot.cooldown, 0);
        EXPECT_EQ(cues.back(), std::make_pair(VOICE_SAUCER, SOUND_SAUCER_HIT));
    }
}

// A formation whose only live front invader is slot 0, at (x, y).
void lone_front_invader(int x, int y) {
    formation_layout();
    for (int i = 1; i < FRONT_SLOTS; ++i) formation.slots[i].kind = 0;
    formation.slots[0].x = int16_t(x);
    formation.slots[0].y = int16_t(y);
    formation.live_front = 1;
}

TEST_F(Player, AnInvaderHitScores10SoundsAndRestsTheShot20Frames) {
    lone_front_invader(500, 700);
    player_fire(500);
    shot.y = 711;  // the next move puts its top at 707, the invader's last row
    cues.clear();
    EXPECT_EQ(shot_update(), 10);
    EXPECT_EQ(shot.active, 0);
    EXPECT_EQ(shot.cooldown, SHOT_COOLDOWN);
    EXPECT_EQ(formation.explosion_steps, EXPLOSION_STEPS);
    EXPECT_EQ(cues, (std::vector<std::pair<int, int>>{{VOICE_HIT, SOUND_INVADER_HIT}}));
    EXPECT_EQ(count_sprites(pending_commands(), SPRITE_SHOT), 0);
}

TEST_F(Player, AShotThatBreaksAShieldBlockAndHitsAnInvaderInOneMoveScores) {
    shields_layout();
    // Shield 0's block 1 covers x 28..31; its probe band holds row 1248.
    lone_front_invader(30, 1244);
    player_fire(30);
    shot.y = 1252;
    draw_queue_reset();
    cues.clear();
    EXPECT_EQ(shot_update(), 10);
    EXPECT_EQ(shields[1].alive, 0);
    EXPECT_EQ(shot.active, 0);
    EXPECT_EQ(shot.cooldown, SHOT_COOLDOWN);
    EXPECT_EQ(cues, (std::vector<std::pair<int, int>>{{VOICE_HIT, SOUND_INVADER_HIT}}));
    EXPECT_EQ(count_sprites(pending_commands(), SPRITE_SHOT), 0);

    // A block alone ends the shot without points or rest.
    formation.live_front = 0;
    formation.slots[0].kind = 0;
    shot.cooldown = 0;
    player_fire(33);
    shot.y = 1252;
    EXPECT_EQ(shot_update(), 0);
    EXPECT_EQ(shields[2].alive, 0);
    EXPECT_EQ(shot.active, 0);
    EXPECT_EQ(shot.cooldown, 0);
}

TEST_F(Player, OneMoveCanHitAnInvaderAndTheSaucerTogether) {
    lone_front_invader(400, 14);
    saucer.x = 400;
    saucer.y = SAUCER_Y;
    saucer.explosion = 0;
    game.shots_fired = 4;  // this is the 5th shot: 300
    player_fire(400);
    shot.y = 23;
    cues.clear();
    EXPECT_EQ(shot_update(), 10 + 300);
    EXPECT_EQ(cues, (std::vector<std::pair<int, int>>{{VOICE_HIT, SOUND_INVADER_HIT},
                                                      {VOICE_SAUCER, SOUND_SAUCER_HIT}}));
    EXPECT_EQ(shot.cooldown, SHOT_COOLDOWN);
    EXPECT_EQ(saucer.explosion, SAUCER_EXPLOSION_FRAMES);
}

}  // namespace
