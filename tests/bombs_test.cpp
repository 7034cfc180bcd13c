// The invaders' bombs: when and where they are released, how they fall, and
// when they destroy the cannon.
#include "game/bombs.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/formation.h"
#include "game/game.h"
#include "game/player.h"
#include "game/shields.h"
#include "tests/test_support.h"
#include "video/sprites.h"

namespace {

// Every slot empty except rows first..last of every column, laid out.
void set_rows(int first_row, int last_row) {
    for (int s = 0; s < FORMATION_SLOTS; ++s) {
        const int r = s / FORMATION_COLUMNS, c = s % FORMATION_COLUMNS;
        formation.slots[s] = Invader{int16_t((c + 1) * 16), int16_t(784 - 12 * r),
                                     uint8_t(r >= first_row && r <= last_row ? r / 16 + 1 : 0)};
    }
    formation_recount_live();
}

void empty_column(int c) {
    for (int r = 0; r < FORMATION_ROWS; ++r) formation.slots[r * FORMATION_COLUMNS + c].kind = 0;
    formation_recount_live();
}

int falling() {
    int n = 0;
    for (const Bomb& b : bomb_state.bombs) n += b.kind != 0;
    return n;
}

// The step calls (1-based) at which a release made a bomb.
std::vector<int> release_calls(int calls) {
    std::vector<int> out;
    for (int call = 1; call <= calls; ++call) {
        const int before = falling();
        bombs_release();
        formation.step_count += 1;
        if (falling() > before) out.push_back(call);
    }
    return out;
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
        record_cues();
    }
    void TearDown() override { stop_recording_cues(); }
    static void place(int i, int x, int y, int kind = 1, int anim = 0) {
        bomb_state.bombs[i] = Bomb{int16_t(x), int16_t(y), uint8_t(kind), uint8_t(anim)};
    }
    static void release_now() {
        formation.bomb_timer = 10'000;
        bombs_release();
    }
};

TEST_F(Bombs, TheReleasePeriodIsTheLiveFrontCountPlus16Steps) {
    EXPECT_EQ(release_calls(32), (std::vector<int>{16, 32}));
    for (int live : {840, 1}) {
        set_rows(0, 59);
        for (int s = live; s < FRONT_SLOTS; ++s) formation.slots[s].kind = 0;
        formation_recount_live();
        bombs_reset();
        formation.bomb_timer = 0;
        EXPECT_EQ(release_calls(2 * (live + 16)), (std::vector<int>{live + 16, 2 * (live + 16)})) << live;
    }
}

TEST_F(Bombs, TheColumnIsStepCountXor165SearchedRightForTenColumnsFromTheLowestInvader) {
    set_rows(0, 59);
    formation.slots[25].kind = 0;  // (0 ^ 165) mod 140 = 25; its row 0 is shot
    formation_recount_live();
    release_now();
    EXPECT_EQ(bomb_state.bombs[0].x, 26 * 16);
    EXPECT_EQ(bomb_state.bombs[0].y, 784 - 12 + 8);  // row 1, 8 below its top
    EXPECT_EQ(bomb_state.bombs[0].kind, 1);
    EXPECT_TRUE(queued().empty());
    // (34 ^ 165) mod 140 = 135: columns 135..139 empty, so column 0 drops it.
    for (int c = 135; c < 140; ++c) empty_column(c);
    formation.step_count = 34;
    release_now();
    EXPECT_EQ(bomb_state.bombs[1].x, 16);
    // Ten empty columns from 25: no bomb, and the timer starts again.
    for (int c = 25; c < 35; ++c) empty_column(c);
    formation.step_count = 0;
    release_now();
    EXPECT_EQ(falling(), 2);
    EXPECT_EQ(formation.bomb_timer, 0);
}

TEST_F(Bombs, TheKindFollowsTheCounterParityInTheFirstFreeSlotAndAFullSetDropsTheRelease) {
    place(0, 50, 100);
    place(2, 50, 100);
    release_now();
    EXPECT_EQ(bomb_state.bombs[1].kind, 1);
    bomb_state.bomb_counter = 7;
    release_now();
    EXPECT_EQ(bomb_state.bombs[3].kind, 2);
    for (int i = 0; i < BOMB_SLOTS; ++i) place(i, 50, 100);
    release_now();
    EXPECT_EQ(bomb_state.bomb_counter, 8);
    EXPECT_EQ(formation.bomb_timer, 0);
}

TEST_F(Bombs, ABombHitsBetweenTheCannonsEdgeColumnsButNotOnThem) {
    for (auto [x, hits] : {std::pair{100, false}, {101, true}, {112, true}, {113, false}}) {
        bombs_reset();
        game.player_explosion = 0;
        cues.clear();
        place(0, x, 1264);  // moves to 1267: y + 8 reaches the cannon's row
        bombs_update();
        EXPECT_EQ(game.player_explosion, hits ? PLAYER_EXPLOSION_FRAMES : 0) << "x " << x;
        EXPECT_EQ(bomb_state.bombs[0].kind, hits ? 0 : 1) << "x " << x;
        EXPECT_EQ(cues.size(), hits ? 1u : 0u) << "x " << x;
    }
    // The cannon test comes before the leaving test: 1273 -> 1276 still hits.
    bombs_reset();
    place(0, 106, 1273);
    bombs_update();
    EXPECT_EQ(game.player_explosion, PLAYER_EXPLOSION_FRAMES);
}

TEST_F(Bombs, BombsFallThroughABlinkingOrExplodingCannonAndLeavePlayOnlyPastRow1275) {
    for (int exploding : {0, 1}) {
        bombs_reset();
        game.ready_countdown = exploding ? 0 : 1;
        game.player_explosion = exploding ? 5 : 0;
        place(0, 106, 1260);
        std::vector<int> ys;
        while (bomb_state.bombs[0].kind != 0 && ys.size() < 10) {
            draw_queue_reset();
            bombs_update();
            ys.push_back(bomb_state.bombs[0].y);
        }
        EXPECT_EQ(ys, (std::vector<int>{1263, 1266, 1269, 1272, 1275, 1278}));
        EXPECT_EQ(game.player_explosion, exploding ? 5 : 0);
        EXPECT_TRUE(cues.empty());
        EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 105, 1275, 3, 8}}));  // only the black-out
    }
}

TEST_F(Bombs, ABombFalls3PixelsAFrameAlternatingItsKindsTwoPicturesAlsoPastAnim127) {
    struct Case {
        int kind, anim;
        const uint8_t* first;
        const uint8_t* second;
    };
    for (Case c : {Case{2, 125, SPRITE_BOMB_C, SPRITE_BOMB_B}, {2, 253, SPRITE_BOMB_C, SPRITE_BOMB_B},
                   {1, 0, SPRITE_BOMB_B, SPRITE_BOMB_A}}) {
        bombs_reset();
        place(0, 200, 100, c.kind, c.anim);
        for (int f = 0; f < 6; ++f) {
            draw_queue_reset();
            bombs_update();
            EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 199, 100 + 3 * f, 3, 8},
                                                  {f % 2 ? c.second : c.first, 199, 103 + 3 * f, 3, 8}}))
                << "kind " << c.kind << " anim " << c.anim + f;
        }
    }
}

}  // namespace
