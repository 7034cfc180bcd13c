// The formation: lay-out, one step, sweeps, turns and drops, the landing,
// the front rows' special role, the hit test, explosions, the march beat and
// the maintained live count.
#include "game/formation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/shields.h"
#include "tests/test_support.h"
#include "video/sprites.h"

namespace {

struct Cue {
    int voice, id;
};
std::vector<Cue> cues;
void record_cue(int voice, int id) { cues.push_back({voice, id}); }

class FormationTest : public ::testing::Test {
protected:
    void SetUp() override {
        formation_layout();
        formation.steps_since_note = 0;
        shields_layout();
        draw_queue_reset();
        cues.clear();
        sound_set_cue_hook(record_cue);
    }
    void TearDown() override {
        sound_set_cue_hook(nullptr);
        draw_queue_reset();
    }
};

int slot(int row, int column) { return row * FORMATION_COLUMNS + column; }

int scan_live_front() {
    int n = 0;
    for (int s = 0; s < FRONT_SLOTS; ++s) n += formation.slots[s].kind != 0;
    return n;
}

void empty_front_of_column(int column) {
    for (int r = 0; r < 6; ++r) formation.slots[slot(r, column)].kind = 0;
    formation_recount_live();
}

// The picture selectors may still be blank stand-ins that queue nothing;
// then only the formation's own black rectangles can be checked.
bool invader_pictures_queue() {
    int before = draw_queue.pending;
    draw_invader_frame(0, 0, 1);
    bool queued = draw_queue.pending > before;
    draw_queue_reset();
    return queued;
}

// Steps until the step that completes the current sweep has run.
void finish_sweep() {
    uint32_t anim = formation.anim;
    while (formation.anim == anim) {
        formation_step();
        if (draw_queue.pending > 2000) draw_queue_reset();
    }
}

}  // namespace

TEST_F(FormationTest, LayoutPlacesSixtyRowsOfFourKindsAndQueuesNothing) {
    draw_queue_reset();
    formation_layout();
    EXPECT_EQ(draw_queue.pending, 0);
    EXPECT_EQ(formation.slots[0].x, 16);
    EXPECT_EQ(formation.slots[0].y, 784);
    EXPECT_EQ(formation.slots[139].x, 2240);
    EXPECT_EQ(formation.slots[slot(59, 139)].y, 76);
    EXPECT_EQ(formation.slots[slot(15, 0)].kind, 1);
    EXPECT_EQ(formation.slots[slot(16, 0)].kind, 2);
    EXPECT_EQ(formation.slots[slot(47, 0)].kind, 3);
    EXPECT_EQ(formation.slots[slot(48, 0)].kind, 4);
    EXPECT_EQ(formation.cursor, 0);
    EXPECT_EQ(formation_count_live(), 840);
}

TEST_F(FormationTest, FirstStepMovesSlotZeroFrom16To20AndDrawsItWithFrame1) {
    bool pictures = invader_pictures_queue();
    EXPECT_EQ(formation_step(), 0);
    EXPECT_EQ(formation.slots[0].x, 20);
    EXPECT_EQ(formation.slots[0].y, 784);
    EXPECT_EQ(formation.slots[1].x, 32);
    EXPECT_EQ(formation.cursor, 1);
    EXPECT_EQ(formation.step_count, 1u);
    EXPECT_EQ(formation.anim, 0u);
    auto cmds = pending_commands();
    ASSERT_GE(cmds.size(), 1u);
    // Eraser: 12 x 8 black at the old place, centred on x 16.
    EXPECT_EQ(cmds[0].pixels, nullptr);
    EXPECT_EQ(cmds[0].gray, 0);
    EXPECT_EQ(cmds[0].x, 10);
    EXPECT_EQ(cmds[0].y, 784);
    EXPECT_EQ(cmds[0].w, 12);
    EXPECT_EQ(cmds[0].h, 8);
    if (pictures) {
        ASSERT_EQ(cmds.size(), 2u);
        EXPECT_EQ(cmds[1].pixels, SPRITE_INVADER1_A);
        EXPECT_EQ(cmds[1].x, 14);
        EXPECT_EQ(cmds[1].y, 784);
        EXPECT_EQ(cmds[1].w, 12);
    }
    EXPECT_TRUE(cues.empty());

    // Each kind erases its own width, centred on its x.
    formation.cursor = slot(20, 3);
    draw_queue_reset();
    formation_step();
    cmds = pending_commands();
    ASSERT_GE(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].x, 64 - 5);
    EXPECT_EQ(cmds[0].w, 10);
    formation.cursor = slot(40, 3);
    formation.anim = 1;
    draw_queue_reset();
    formation_step();
    cmds = pending_commands();
    ASSERT_GE(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].x, 64 - 4);
    EXPECT_EQ(cmds[0].w, 8);
    if (pictures) {
        ASSERT_EQ(cmds.size(), 2u);
        EXPECT_EQ(cmds[1].pixels, SPRITE_INVADER3_B);  // odd anim: second picture
        EXPECT_EQ(cmds[1].x, 68 - 4);
    }
}

TEST_F(FormationTest, FirstSweepEndsOnlyWhenTheCursorWrapsPastTheLastSlot) {
    formation.steps_since_note = 1000;
    for (int i = 0; i < FORMATION_SLOTS - 1; ++i) formation_step();
    EXPECT_EQ(formation.anim, 0u);
    EXPECT_EQ(formation.cursor, 8399);
    EXPECT_TRUE(cues.empty());
    formation_step();
    EXPECT_EQ(formation.anim, 1u);
    EXPECT_EQ(formation.cursor, 0);
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].voice, VOICE_MARCH);
    EXPECT_EQ(cues[0].id, SOUND_MARCH_1);
    // Every invader moved once, kind 4 included.
    EXPECT_EQ(formation.slots[slot(59, 139)].x, 2244);
}

TEST_F(FormationTest, FullGridLeftAloneTurnsAfterSweep42AndLandsInSweep2683At1272) {
    uint32_t first_turn_anim = 0;
    int turns_right = 0;
    bool landed = false;
    int landed_slot = -1;
    for (uint64_t steps = 0; steps < 30'000'000 && !landed; ++steps) {
        uint32_t dir_before = formation.direction;
        int cursor = formation.cursor;
        landed = formation_step() != 0;
        if (landed) landed_slot = cursor;
        if (dir_before == 0 && formation.direction == 3 && first_turn_anim == 0) {
            first_turn_anim = formation.anim;
            int max_x = 0;
            for (int s = 0; s < FRONT_SLOTS; ++s) max_x = std::max<int>(max_x, formation.slots[s].x);
            EXPECT_EQ(max_x, 2408);
        }
        if (dir_before == 1 && formation.direction == 2) {
            ++turns_right;
            EXPECT_EQ(formation.slots[0].x, 12);  // the leftmost column
        }
        if (draw_queue.pending > 2000) draw_queue_reset();
    }
    EXPECT_EQ(first_turn_anim, 42u);
    EXPECT_GT(turns_right, 0);
    ASSERT_TRUE(landed);
    EXPECT_EQ(formation.anim + 1, 2683u);
    ASSERT_GE(landed_slot, 0);
    EXPECT_LT(landed_slot, FORMATION_COLUMNS);  // a row-0 invader
    EXPECT_EQ(formation.slots[landed_slot].y, 1272);
    EXPECT_EQ((1272 - 784) / 8, 61);
}

TEST_F(FormationTest, DropToExactly1268LandsButTo1264DoesNot) {
    formation.direction = 2;
    formation.slots[0].y = 1260;
    EXPECT_EQ(formation_step(), 1);
    EXPECT_EQ(formation.slots[0].y, 1268);
    formation.cursor = 5;
    formation.slots[5].y = 1256;
    EXPECT_EQ(formation_step(), 0);
    EXPECT_EQ(formation.slots[5].y, 1264);
    // Sideways steps never land, however low.
    formation.direction = 0;
    formation.cursor = 7;
    formation.slots[7].y = 1290;
    EXPECT_EQ(formation_step(), 0);
}

TEST_F(FormationTest, OnlyTheFrontRowsTurnTheFormationSoAnEmptiedEdgeColumnGoes16Further) {
    empty_front_of_column(139);
    finish_sweep();
    while (formation.direction != 3) finish_sweep();
    EXPECT_EQ(formation.anim, 46u);  // 4 sweeps after the full grid's 42
    EXPECT_EQ(formation.slots[slot(5, 138)].x, 2408);
    EXPECT_EQ(formation.slots[slot(6, 139)].x, 2424);
    EXPECT_EQ(formation.slots[slot(59, 139)].x, 2424);

    // Emptying the front of column 0 brings its rear to -4 at the left turn.
    SetUp();
    empty_front_of_column(0);
    while (formation.direction != 2) finish_sweep();
    EXPECT_EQ(formation.slots[slot(0, 1)].x, 12);
    EXPECT_EQ(formation.slots[slot(6, 0)].x, -4);
}

TEST_F(FormationTest, WithOneFrontColumnLeftRearRowsReachTheExtremesWithoutOverflow) {
    // Only column 0's front left: the grid marches right until column 0 is at
    // 2408, so column 139 behind it stands at 4632 (its picture to 4637).
    for (int c = 1; c < FORMATION_COLUMNS; ++c) empty_front_of_column(c);
    while (formation.direction != 3) finish_sweep();
    EXPECT_EQ(formation.slots[0].x, 2408);
    EXPECT_EQ(formation.slots[slot(6, 139)].x, 4632);
    for (int r = 6; r < FORMATION_ROWS; ++r)
        for (int c = 0; c < FORMATION_COLUMNS; ++c)
            ASSERT_EQ(formation.slots[slot(r, c)].x, 2408 + 16 * c) << r << "," << c;

    // Only column 139's front left: it turns right at 12, column 0 at -2212
    // (its picture from -2218).
    SetUp();
    for (int c = 0; c < FORMATION_COLUMNS - 1; ++c) empty_front_of_column(c);
    while (formation.direction != 2) finish_sweep();
    EXPECT_EQ(formation.slots[139].x, 12);
    EXPECT_EQ(formation.slots[slot(6, 0)].x, -2212);
    formation.cursor = slot(6, 0);
    formation.direction = 2;
    draw_queue_reset();
    formation_step();
    auto cmds = pending_commands();
    ASSERT_GE(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].x, -2218);  // queued where it stands; the presenter clips
}

TEST_F(FormationTest, TopKindFourRowsAreNeverDrawnOrHitButStillErodeShields) {
    // A kind-4 invader walking into the upper shield band over shield 0.
    int s = slot(50, 0);
    formation.slots[s].x = 26;
    formation.slots[s].y = 1242;
    formation.cursor = s;
    formation.direction = 0;
    formation_step();
    EXPECT_EQ(formation.slots[s].x, 30);
    EXPECT_FALSE(shields[0].alive);  // probe at 26
    EXPECT_FALSE(shields[1].alive);  // probe at 30
    EXPECT_FALSE(shields[2].alive);  // probe at 34
    EXPECT_TRUE(shields[3].alive);
    EXPECT_TRUE(shields[240].alive);
    for (const DrawCommand& c : pending_commands()) {
        EXPECT_EQ(c.w, 4);  // only the shields' own pictures
        EXPECT_EQ(c.h, 8);
    }
    // A kind-4 invader in the front is not hit; kinds 1, 2, 3 give classes 2, 3, 4.
    formation.slots[3].kind = 4;
    EXPECT_EQ(formation_hit_test(64, 786), 0);
    formation.slots[3].kind = 2;
    EXPECT_EQ(formation_hit_test(64, 786), 3);
    formation.slots[3].kind = 3;
    EXPECT_EQ(formation_hit_test(64, 786), 4);
    formation.slots[3].kind = 1;
    EXPECT_EQ(formation_hit_test(64, 786), 2);
}

TEST_F(FormationTest, InvaderProbesTheShieldsAtThreePointsUnderItsNewPlace) {
    // Dropping so that its foot is at 1251: the upper row.
    formation.direction = 2;
    formation.slots[0].x = 30;
    formation.slots[0].y = 1235;
    formation_step();
    EXPECT_FALSE(shields[0].alive);
    EXPECT_FALSE(shields[1].alive);
    EXPECT_FALSE(shields[2].alive);
    EXPECT_TRUE(shields[240].alive);
    // Foot at 1252: the lower row.
    formation.cursor = 1;
    formation.slots[1].x = 30;
    formation.slots[1].y = 1236;
    formation_step();
    EXPECT_FALSE(shields[240].alive);
    EXPECT_FALSE(shields[241].alive);
    EXPECT_FALSE(shields[242].alive);
    EXPECT_TRUE(shields[243].alive);
}

TEST_F(FormationTest, HitTestBoundsAreHalfOpenAndNothingBelowTheFirstLiveFrontInvaderIsHit) {
    // Slot 0 at x 16 covers columns 10 to 21 and rows 784 to 791 (792 in the scan).
    EXPECT_EQ(formation_hit_test(22, 788), 0);
    EXPECT_EQ(formation.explosion_steps, 0);
    EXPECT_EQ(formation_hit_test(10, 788), 2);
    EXPECT_EQ(formation.exploding_slot, 0u);
    EXPECT_EQ(formation.explosion_steps, 20);
    EXPECT_EQ(formation_hit_test(21, 784), 2);
    EXPECT_EQ(formation_hit_test(16, 792), 0);  // level with y + 8: rejected first
    EXPECT_EQ(formation_hit_test(16, 791), 2);

    // The scan itself counts y + 8 as inside: row 1 at 772 is hit at 780.
    EXPECT_EQ(formation_hit_test(32, 780), 2);
    EXPECT_EQ(formation.exploding_slot, uint32_t(slot(1, 1)));

    // An invader that has dropped lower than the first live front invader is
    // out of reach below that one's picture (a deliberate rule).
    formation.slots[5].y = 800;
    EXPECT_EQ(formation_hit_test(96, 804), 0);
    formation.slots[0].kind = 0;
    formation.slots[1].kind = 0;
    formation.slots[2].kind = 0;
    formation.slots[3].kind = 0;
    formation.slots[4].kind = 0;
    EXPECT_EQ(formation_hit_test(96, 804), 2);
    EXPECT_EQ(formation.exploding_slot, 5u);

    // With the whole front empty nothing is hit and the count is 0.
    for (int s = 0; s < FRONT_SLOTS; ++s) formation.slots[s].kind = 0;
    formation_recount_live();
    formation.explosion_steps = 0;
    EXPECT_EQ(formation_count_live(), 0);
    for (int y = 0; y < 1300; y += 13)
        for (int x = 0; x < 2420; x += 31) ASSERT_EQ(formation_hit_test(x, y), 0);
    EXPECT_EQ(formation.explosion_steps, 0);
}

TEST_F(FormationTest, ExplosionHoldsTheFormationForTwentyStepsThenEmptiesTheSlot) {
    for (int i = 0; i < 3; ++i) formation_step();
    ASSERT_EQ(formation_hit_test(96, 788), 2);  // slot 5
    uint32_t steps_before = formation.step_count;
    int cursor_before = formation.cursor;
    draw_queue_reset();
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(formation_step(), 0);
        EXPECT_EQ(formation.cursor, cursor_before);
        EXPECT_EQ(formation.step_count, steps_before);
    }
    auto cmds = pending_commands();
    ASSERT_EQ(cmds.size(), 39u);  // 20 black boxes, 19 explosion pictures
    EXPECT_EQ(cmds[0].pixels, nullptr);
    EXPECT_EQ(cmds[0].x, 90);
    EXPECT_EQ(cmds[0].w, 12);
    EXPECT_EQ(cmds[1].pixels, SPRITE_EXPLOSION);
    EXPECT_EQ(cmds[1].x, 92);
    EXPECT_EQ(cmds[1].w, 8);
    EXPECT_EQ(cmds[38].pixels, nullptr);
    EXPECT_EQ(formation.slots[5].kind, 0);
    EXPECT_EQ(formation_count_live(), 839);
    // Stepping resumes, and the emptied slot is passed over.
    formation_step();
    formation_step();
    EXPECT_EQ(formation.cursor, 6);
    EXPECT_EQ(formation.slots[5].x, 96);

    // An explosion ending under the cursor moves nothing but advances it.
    ASSERT_EQ(formation_hit_test(formation.slots[6].x, 788), 2);
    for (int i = 0; i < 20; ++i) formation_step();
    int16_t x6 = formation.slots[6].x;
    formation_step();
    EXPECT_EQ(formation.slots[6].x, x6);
    EXPECT_EQ(formation.cursor, 7);
}

TEST_F(FormationTest, MarchNotesCycle9To12AtSweepEndsAndWait25StepCalls) {
    formation.steps_since_note = 1000;
    std::vector<int> ids;
    for (int sweep = 0; sweep < 5; ++sweep) finish_sweep();
    for (const Cue& c : cues) {
        EXPECT_EQ(c.voice, VOICE_MARCH);
        ids.push_back(c.id);
    }
    EXPECT_EQ(ids, (std::vector<int>{9, 10, 11, 12, 9}));
    EXPECT_EQ(formation.note_index, 1u);

    // A sweep that ends 10 calls after the last note waits for the 25th.
    cues.clear();
    formation.cursor = 8390;
    for (int i = 1; i <= 10; ++i) formation_step();
    EXPECT_EQ(formation.anim, 6u);
    EXPECT_TRUE(cues.empty());
    EXPECT_EQ(formation.march_due, 1u);
    for (int i = 11; i <= 24; ++i) formation_step();
    EXPECT_TRUE(cues.empty());
    formation_step();
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].id, SOUND_MARCH_2);
    EXPECT_EQ(formation.march_due, 0u);
    EXPECT_EQ(formation.steps_since_note, 0);

    // Explosion steps count towards the wait but never sound a note.
    cues.clear();
    formation.cursor = 8395;
    for (int i = 0; i < 5; ++i) formation_step();
    ASSERT_EQ(formation_hit_test(formation.slots[0].x, 790), 2);
    for (int i = 0; i < 20; ++i) formation_step();
    EXPECT_TRUE(cues.empty());
    formation_step();
    EXPECT_EQ(cues.size(), 1u);
}

TEST_F(FormationTest, EmptyFrontFreezesTheFormationAtTheEndOfItsSweepUntilTheNextLayout) {
    for (int s = 0; s < FRONT_SLOTS; ++s) formation.slots[s].kind = 0;
    formation_recount_live();
    formation.cursor = 8399;
    uint32_t steps = formation.step_count;
    formation_step();
    EXPECT_EQ(formation.cursor, -1);
    EXPECT_EQ(formation.anim, 1u);
    EXPECT_EQ(formation.step_count, steps + 1);  // the freezing step still counts
    int32_t since = formation.steps_since_note;
    int16_t x = formation.slots[8399].x;
    for (int i = 0; i < 100; ++i) EXPECT_EQ(formation_step(), 0);
    EXPECT_EQ(formation.step_count, steps + 1);
    EXPECT_EQ(formation.slots[8399].x, x);
    EXPECT_EQ(formation.steps_since_note, since + 100);
    formation_layout();
    EXPECT_EQ(formation.cursor, 0);
    EXPECT_EQ(formation_count_live(), 840);
    formation_step();
    EXPECT_EQ(formation.cursor, 1);

    // Frozen for ever, the call counter stops at its largest value.
    formation.cursor = -1;
    formation.steps_since_note = std::numeric_limits<int32_t>::max() - 1;
    formation_step();
    formation_step();
    EXPECT_EQ(formation.steps_since_note, std::numeric_limits<int32_t>::max());
}

TEST_F(FormationTest, LiveCountAlwaysEqualsAScanOfTheFrontSlots) {
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    int hits = 0;
    for (int round = 0; round < 400; ++round) {
        if (next(50) == 0) formation_layout();
        int s = int(next(FRONT_SLOTS));
        const Invader& v = formation.slots[s];
        if (formation.explosion_steps == 0 && v.kind != 0) hits += formation_hit_test(v.x, v.y + 2) != 0;
        int steps = int(next(200));
        for (int i = 0; i < steps; ++i) formation_step();
        ASSERT_EQ(formation_count_live(), scan_live_front()) << "round " << round;
        draw_queue_reset();
    }
    EXPECT_GT(hits, 100);
}
