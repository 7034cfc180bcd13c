// The invaders' bombs: when and where they are released, how they fall, and
// when they destroy the cannon.
#include "game/bombs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/player.h"
#include "game/shields.h"
#include "tests/test_support.h"
#include "video/sprites.h"

namespace {

std::vector<std::pair<int, int>> cues;
void record_cue(int voice, int id) { cues.emplace_back(voice, id); }

// A formation with every slot empty except the rows given for every column,
// in the lay-out's positions.
void set_rows(int first_row, int last_row) {
    for (int s = 0; s < FORMATION_SLOTS; ++s) {
        const int r = s / FORMATION_COLUMNS, c = s % FORMATION_COLUMNS;
        formation.slots[s] = Invader{int16_t((c + 1) * 16), int16_t(784 - 12 * r),
                                     uint8_t(r >= first_row && r <= last_row ? r / 16 + 1 : 0)};
    }
    int live = 0;
    for (int s = 0; s < FRONT_SLOTS; ++s) live += formation.slots[s].kind != 0 ? 1 : 0;
    formation.live_front = live;
}

void empty_column(int c) {
    for (int r = 0; r < FORMATION_ROWS; ++r) {
        Invader& inv = formation.slots[r * FORMATION_COLUMNS + c];
        if (r < 6 && inv.kind != 0) formation.live_front -= 1;
        inv.kind = 0;
    }
}

int falling() {
    int n = 0;
    for (const Bomb& b : bomb_state.bombs) n += b.kind != 0 ? 1 : 0;
    return n;
}

class Bombs : public ::testing::Test {
protected:
    void SetUp() override {
        bombs_reset();
        set_rows(6, 59);  // the front rows empty: the count is 0
        formation.bomb_timer = 0;
        formation.step_count = 0;
        for (ShieldBlock& b : shields) b.alive = 0;
        game = GameSession{};
        game.player_x = 100;
        draw_queue_reset();
        cues.clear();
        sound_set_cue_hook(record_cue);
    }
    void TearDown() override { sound_set_cue_hook(nullptr); }

    Bomb& place(int i, int x, int y, int kind = 1) {
        Bomb& b = bomb_state.bombs[i];
        b = Bomb{int16_t(x), int16_t(y), uint8_t(kind), 0};
        return b;
    }
};

TEST_F(Bombs, WithNoLiveFrontInvaderABombIsReleasedEvery16Steps) {
    std::vector<int> release_calls;
    for (int call = 1; call <= 64; ++call) {
        const int before = falling();
        bombs_release();
        formation.step_count += 1;
        if (falling() > before) release_calls.push_back(call);
    }
    EXPECT_EQ(release_calls, (std::vector<int>{16, 32, 48, 64}));
    EXPECT_EQ(formation.bomb_timer, 0);
}

TEST_F(Bombs, TheColumnComesFromStepCountXor165AndTheLowestLiveInvader) {
    set_rows(0, 59);
    formation.slots[25].kind = 0;  // column 25, row 0 shot
    formation.live_front -= 1;
    formation.bomb_timer = 10'000;  // due at once
    formation.step_count = 0;       // (0 ^ 165) mod 140 = 25
    bombs_release();
    const Bomb& b = bomb_state.bombs[0];
    EXPECT_EQ(b.kind, 1);
    EXPECT_EQ(b.x, 26 * 16);
    EXPECT_EQ(b.y, 784 - 12 + 8);  // row 1's invader, 8 below its top
    EXPECT_EQ(b.anim, 0);
    EXPECT_EQ(formation.bomb_timer, 0);
    EXPECT_EQ(bomb_state.bomb_counter, 1);
    EXPECT_TRUE(pending_commands().empty());
}

TEST_F(Bombs, UpToTenColumnsAreSearchedRightwardWrappingAfter139) {
    // (34 ^ 165) mod 140 = 135: columns 135..139 empty, so column 0 drops it.
    for (int c = 135; c < 140; ++c) empty_column(c);
    formation.step_count = 34;
    formation.bomb_timer = 10'000;
    bombs_release();
    EXPECT_EQ(bomb_state.bombs[0].x, 16);
    EXPECT_EQ(bomb_state.bombs[0].y, 784 - 6 * 12 + 8);

    // Ten empty columns from 25: no bomb, and the timer starts again.
    for (int c = 25; c < 35; ++c) empty_column(c);
    formation.step_count = 0;
    formation.bomb_timer = 10'000;
    bombs_release();
    EXPECT_EQ(falling(), 1);
    EXPECT_EQ(formation.bomb_timer, 0);
    EXPECT_EQ(bomb_state.bomb_counter, 1);
}

TEST_F(Bombs, TheKindFollowsTheCounterParityAndTheFirstFreeSlotIsTaken) {
    place(0, 50, 100);
    place(2, 50, 100);
    formation.bomb_timer = 10'000;
    bombs_release();  // counter 0: kind 1 in slot 1
    EXPECT_EQ(bomb_state.bombs[1].kind, 1);
    bomb_state.bomb_counter = 7;
    formation.bomb_timer = 10'000;
    bombs_release();  // counter 7: kind 2 in slot 3
    EXPECT_EQ(bomb_state.bombs[3].kind, 2);
    EXPECT_EQ(bomb_state.bomb_counter, 8);

    // All 128 falling: the due release is dropped and the timer restarts.
    for (int i = 0; i < BOMB_SLOTS; ++i) place(i, 50, 100);
    formation.bomb_timer = 10'000;
    bombs_release();
    EXPECT_EQ(bomb_state.bomb_counter, 8);
    EXPECT_EQ(formation.bomb_timer, 0);
}

TEST_F(Bombs, TheCounterWrapsAtItsLargestValueKeepingTheParityAlternation) {
    bomb_state.bomb_counter = std::numeric_limits<int32_t>::max();
    bombs_update();
    EXPECT_EQ(bomb_state.bomb_counter, std::numeric_limits<int32_t>::min());
    formation.bomb_timer = 10'000;
    bombs_release();
    EXPECT_EQ(bomb_state.bombs[0].kind, 1);
}

TEST_F(Bombs, AFallingBombIsBlackedOutAndMoves3PixelsPerFrame) {
    place(5, 300, 400);
    bombs_update();
    EXPECT_EQ(bomb_state.bomb_counter, 1);
    EXPECT_EQ(bomb_state.bombs[5].y, 403);
    EXPECT_EQ(bomb_state.bombs[5].anim, 1);
    auto cmds = pending_commands();
    ASSERT_GE(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].pixels, nullptr);
    EXPECT_EQ(cmds[0].x, 299);
    EXPECT_EQ(cmds[0].y, 400);
    EXPECT_EQ(cmds[0].w, 3);
    EXPECT_EQ(cmds[0].h, 8);
}

TEST_F(Bombs, ABombHitsBetweenTheCannonsEdgeColumnsButNotOnThem) {
    // player_x 100: columns 100 and 113 miss, 101 and 112 hit.
    const std::pair<int, bool> cases[] = {{100, false}, {101, true}, {112, true}, {113, false}};
    for (auto [x, hits] : cases) {
        bombs_reset();
        game.player_explosion = 0;
        cues.clear();
        place(0, x, 1264);  // moves to 1267: y + 8 reaches the cannon's row
        bombs_update();
        EXPECT_EQ(game.player_explosion, hits ? PLAYER_EXPLOSION_FRAMES : 0) << "x " << x;
        EXPECT_EQ(bomb_state.bombs[0].kind, hits ? 0 : 1) << "x " << x;
        if (hits) {
            EXPECT_EQ(cues, (std::vector<std::pair<int, int>>{{VOICE_PLAYER, SOUND_PLAYER_HIT}}));
        } else {
            EXPECT_TRUE(cues.empty());
        }
    }
}

TEST_F(Bombs, TheCannonTestComesBeforeABombLeavesPlay) {
    // 1263 -> 1266 is still above the cannon's row.
    place(0, 106, 1263);
    bombs_update();
    EXPECT_EQ(game.player_explosion, 0);
    // Moving to 1276 leaves play, yet destroys the cannon on the way.
    bombs_reset();
    place(0, 106, 1273);
    bombs_update();
    EXPECT_EQ(game.player_explosion, PLAYER_EXPLOSION_FRAMES);
    EXPECT_EQ(bomb_state.bombs[0].kind, 0);
}

TEST_F(Bombs, BombsPassThroughTheCannonWhileItBlinksOrExplodesAndLeaveBelow1275) {
    for (int state = 0; state < 2; ++state) {
        bombs_reset();
        game.ready_countdown = state == 0 ? 1 : 0;
        game.player_explosion = state == 1 ? 5 : 0;
        place(0, 106, 1261);
        std::vector<int> ys;
        while (bomb_state.bombs[0].kind != 0 && ys.size() < 10) {
            draw_queue_reset();
            bombs_update();
            ys.push_back(bomb_state.bombs[0].y);
        }
        EXPECT_EQ(ys, (std::vector<int>{1264, 1267, 1270, 1273, 1276}));
        EXPECT_EQ(game.player_explosion, state == 1 ? 5 : 0);
        EXPECT_TRUE(cues.empty());
        // Leaving: only the black-out is queued.
        auto cmds = pending_commands();
        ASSERT_EQ(cmds.size(), 1u);
        EXPECT_EQ(cmds[0].pixels, nullptr);
        EXPECT_EQ(cmds[0].y, 1273);
    }
}

TEST_F(Bombs, TheReleasePeriodIsTheLiveFrontCountPlus16Steps) {
    // 840 live front invaders: every 856 steps; one left: every 17.
    const std::pair<int, int> cases[] = {{840, 856}, {1, 17}};
    for (auto [live, period] : cases) {
        set_rows(0, 59);
        for (int s = live; s < FRONT_SLOTS; ++s) formation.slots[s].kind = 0;
        formation.live_front = live;
        ASSERT_EQ(formation_count_live(), live);
        bombs_reset();
        formation.bomb_timer = 0;
        std::vector<int> release_calls;
        for (int call = 1; call <= 2 * period; ++call) {
            const int before = falling();
            bombs_release();
            formation.step_count += 1;
            if (falling() > before) release_calls.push_back(call);
        }
        EXPECT_EQ(release_calls, (std::vector<int>{period, 2 * period})) << live << " live";
    }
}

TEST_F(Bombs, ABombThatBreaksAShieldBlockIsRemovedAndNotDrawnAgain) {
    shields_layout();
    draw_queue_reset();
    // Shield 0's block 1 (x 28..31): the probe at y + 8 = 1244 is the upper row's first.
    place(0, 29, 1233);
    bombs_update();
    EXPECT_EQ(bomb_state.bombs[0].kind, 0);
    EXPECT_EQ(shields[1].alive, 0);
    auto cmds = pending_commands();
    ASSERT_GE(cmds.size(), 2u);
    EXPECT_EQ(cmds[0].pixels, nullptr);  // its old place
    EXPECT_EQ(cmds[0].x, 28);
    EXPECT_EQ(cmds[0].y, 1233);
    EXPECT_EQ(cmds[1].pixels, nullptr);  // the block
    EXPECT_EQ(cmds[1].x, 28);
    EXPECT_EQ(cmds[1].y, 1243);
    for (const DrawCommand& c : cmds) EXPECT_NE(c.y, 1236);
}

// The picture each frame of a falling bomb queues after its black-out.
std::vector<const uint8_t*> pictures_while_falling(int kind, int anim, int frames) {
    bombs_reset();
    Bomb& b = bomb_state.bombs[0];
    b = Bomb{200, 100, uint8_t(kind), uint8_t(anim)};
    std::vector<const uint8_t*> out;
    for (int f = 0; f < frames; ++f) {
        draw_queue_reset();
        bombs_update();
        auto cmds = pending_commands();
        EXPECT_EQ(cmds.size(), 2u);
        if (cmds.size() != 2u) break;
        EXPECT_EQ(cmds[1].x, 199);
        EXPECT_EQ(cmds[1].y, b.y);
        EXPECT_EQ(cmds[1].w, 3);
        EXPECT_EQ(cmds[1].h, 8);
        out.push_back(cmds[1].pixels);
    }
    return out;
}

TEST_F(Bombs, AKind2BombAlternatesZigzagAndPlainAlsoPastAnim127AndKind1LooksTheSame) {
    // Frames 4 (zigzag) and 5 (plain) by the lowest bit of anim, from 125 on
    // through 128 and past the wrap at 255.
    auto k2 = pictures_while_falling(2, 125, 6);
    EXPECT_EQ(k2, (std::vector<const uint8_t*>{SPRITE_BOMB_C, SPRITE_BOMB_B, SPRITE_BOMB_C, SPRITE_BOMB_B,
                                               SPRITE_BOMB_C, SPRITE_BOMB_B}));
    auto wrap = pictures_while_falling(2, 253, 4);
    EXPECT_EQ(wrap, (std::vector<const uint8_t*>{SPRITE_BOMB_C, SPRITE_BOMB_B, SPRITE_BOMB_C, SPRITE_BOMB_B}));
    auto k1 = pictures_while_falling(1, 0, 4);
    EXPECT_EQ(k1, (std::vector<const uint8_t*>{SPRITE_BOMB_B, SPRITE_BOMB_A, SPRITE_BOMB_B, SPRITE_BOMB_A}));
}

}  // namespace
