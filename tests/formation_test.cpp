// The formation: lay-out, stepping, turns and drops, the landing, the front
// rows' special role, the hit test, explosions, the march beat, the live count.
#include "game/formation.h"

#include <gtest/gtest.h>


#include "audio/mixer.h"
#include "audio/sounds.h"
#include "game/shields.h"
#include "tests/test_support.h"
#include "video/sprites.h"

namespace {

int slot(int row, int column) { return row * FORMATION_COLUMNS + column; }

void empty_front_of_column(int column) {
    for (int r = 0; r < 6; ++r) formation.slots[slot(r, column)].kind = 0;
    formation_recount_live();
}

void finish_sweep() {
    for (uint32_t anim = formation.anim; formation.anim == anim;) {
        formation_step();
        if (draw_queue.pending > 2000) draw_queue_reset();
    }
}

class FormationTest : public ::testing::Test {
protected:
    void SetUp() override {
        formation_layout();
        formation.steps_since_note = 0;
        shields_layout();
        draw_queue_reset();
        record_cues();
    }
    void TearDown() override {
        stop_recording_cues();
        draw_queue_reset();
    }
};

TEST_F(FormationTest, FirstStepMovesSlotZeroFrom16To20AndDrawsEachKindCentredOnItsX) {
    EXPECT_EQ(formation_count_live(), 840);
    EXPECT_EQ(formation.slots[slot(59, 139)].y, 76);
    EXPECT_EQ(formation_step(), 0);
    EXPECT_EQ(formation.slots[0].x, 20);
    EXPECT_EQ(formation.cursor, 1);
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 10, 784, 12, 8}, {SPRITE_INVADER1_A, 14, 784, 12, 8}}));
    // Kind 2 (row 20) on an even sweep: its own width and first picture.
    const Invader middle = formation.slots[slot(20, 3)];
    ASSERT_EQ(middle.kind, 2);
    formation.cursor = slot(20, 3);
    draw_queue_reset();
    formation_step();
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, middle.x - 5, middle.y, 10, 8},
                                          {SPRITE_INVADER2_A, middle.x + 4 - 5, middle.y, 10, 8}}));
    // Kind 3 (row 40) on an odd sweep: its own width and second picture.
    formation.cursor = slot(40, 3);
    formation.anim = 1;
    draw_queue_reset();
    formation_step();
    EXPECT_EQ(queued(), (std::vector<Cmd>{{nullptr, 60, formation.slots[slot(40, 3)].y, 8, 8},
                                          {SPRITE_INVADER3_B, 64, formation.slots[slot(40, 3)].y, 8, 8}}));
    EXPECT_TRUE(cues.empty());
}

TEST_F(FormationTest, DropToExactly1268LandsButTo1264OrASidewaysStepDoesNot) {
    formation.direction = 2;
    formation.slots[0].y = 1260;
    EXPECT_EQ(formation_step(), 1);
    formation.cursor = 1;
    formation.slots[1].y = 1256;
    EXPECT_EQ(formation_step(), 0);
    formation.direction = 0;
    formation.cursor = 2;
    formation.slots[2].y = 1290;
    EXPECT_EQ(formation_step(), 0);
}

TEST_F(FormationTest, OnlyFrontRowsTurnTheFormationSoEachEmptiedEdgeColumnGoes16Further) {
    empty_front_of_column(139);
    while (formation.direction != 3) finish_sweep();
    EXPECT_EQ(formation.anim, 46u);
    EXPECT_EQ(formation.slots[slot(6, 139)].x, 2424);
    SetUp();
    empty_front_of_column(0);
    while (formation.direction != 2) finish_sweep();
    EXPECT_EQ(formation.slots[slot(6, 0)].x, -4);
}

TEST_F(FormationTest, KindFourRowsAreNeverDrawnOrHitButErodeShieldsAtThreeProbes) {
    int s = slot(50, 0);
    formation.slots[s] = Invader{26, 1242, 4};  // its foot lands at 1251: the upper row
    formation.cursor = s;
    formation.direction = 0;
    formation_step();
    for (int b : {0, 1, 2}) EXPECT_FALSE(shields[b].alive) << b;  // probes at 26, 30, 34
    EXPECT_TRUE(shields[3].alive);
    EXPECT_TRUE(shields[240].alive);
    for (const Cmd& c : queued()) EXPECT_EQ(c.w, 4) << "only shield pictures";
    // A foot at 1252 probes the lower row.
    formation.cursor = 1;
    formation.direction = 2;
    formation.slots[1] = Invader{30, 1236, 1};
    formation_step();
    for (int b : {240, 241, 242}) EXPECT_FALSE(shields[b].alive) << b;
    // Kinds 1, 2, 3 hit as classes 2, 3, 4; kind 4 is never hit.
    const int classes[] = {0, 2, 3, 4, 0};
    for (uint8_t kind = 1; kind <= 4; ++kind) {
        formation.slots[3].kind = kind;
        formation.explosion_steps = 0;
        EXPECT_EQ(formation_hit_test(64, 786), classes[kind]) << int(kind);
    }
}

TEST_F(FormationTest, HitTestIsHalfOpenAndRejectsPointsBelowTheFirstLiveFrontInvader) {
    // Slot 0 at x 16 covers columns 10..21, rows 784..791.
    struct Case { int x, y, hit; };
    for (Case c : {Case{22, 788, 0}, {10, 788, 2}, {21, 784, 2}, {16, 792, 0}, {16, 791, 2}, {32, 780, 2}}) {
        formation.explosion_steps = 0;
        EXPECT_EQ(formation_hit_test(c.x, c.y), c.hit) << c.x << "," << c.y;
    }
    EXPECT_EQ(formation.exploding_slot, uint32_t(slot(1, 1)));  // the scan counts y + 8 inside
    EXPECT_EQ(formation.explosion_steps, EXPLOSION_STEPS);
    // Slot 5 dropped below slot 0 is out of reach (deliberate), until 0..4 are gone.
    formation.explosion_steps = 0;
    formation.slots[5].y = 800;
    EXPECT_EQ(formation_hit_test(96, 804), 0);
    for (int s = 0; s < 5; ++s) formation.slots[s].kind = 0;
    EXPECT_EQ(formation_hit_test(96, 804), 2);
    // With the whole front empty nothing is hit and the count is 0.
    for (int s = 0; s < FRONT_SLOTS; ++s) formation.slots[s].kind = 0;
    formation_recount_live();
    formation.explosion_steps = 0;
    EXPECT_EQ(formation_count_live(), 0);
    for (int y = 0; y < 1300; y += 13)
        for (int x = 0; x < 2420; x += 31) ASSERT_EQ(formation_hit_test(x, y), 0);
}

TEST_F(FormationTest, AnExplosionHoldsTheFormationTwentyStepsThenEmptiesTheSlot) {
    for (int i = 0; i < 3; ++i) formation_step();
    ASSERT_EQ(formation_hit_test(96, 788), 2);  // slot 5
    uint32_t steps = formation.step_count;
    draw_queue_reset();
    for (int i = 0; i < 20; ++i) EXPECT_EQ(formation_step(), 0);
    EXPECT_EQ(formation.cursor, 3);
    EXPECT_EQ(formation.step_count, steps);
    auto q = queued();
    ASSERT_EQ(q.size(), 39u);  // 20 black boxes, 19 explosion pictures
    EXPECT_EQ(q[0], (Cmd{nullptr, 90, 784, 12, 8}));
    EXPECT_EQ(q[1], (Cmd{SPRITE_EXPLOSION, 92, 784, 8, 8}));
    EXPECT_EQ(formation_count_live(), 839);
    formation_step();
    formation_step();
    EXPECT_EQ(formation.cursor, 6);  // the emptied slot is passed over
}

TEST_F(FormationTest, MarchNotesCycle9To12AtSweepEndsAndWait25StepCalls) {
    formation.steps_since_note = 1000;
    for (int sweep = 0; sweep < 5; ++sweep) finish_sweep();
    EXPECT_EQ(cues, (Cues{{VOICE_MARCH, 9}, {VOICE_MARCH, 10}, {VOICE_MARCH, 11}, {VOICE_MARCH, 12},
                          {VOICE_MARCH, 9}}));
    // A sweep ending 10 calls after the last note waits for the 25th call.
    cues.clear();
    formation.cursor = 8390;
    for (int i = 1; i <= 24; ++i) formation_step();
    EXPECT_EQ(formation.anim, 6u);
    EXPECT_TRUE(cues.empty());
    formation_step();
    EXPECT_EQ(cues, (Cues{{VOICE_MARCH, SOUND_MARCH_2}}));
    // Explosion steps count towards the wait but never sound the note.
    cues.clear();
    formation.cursor = 8395;
    for (int i = 0; i < 5; ++i) formation_step();
    ASSERT_EQ(formation_hit_test(formation.slots[0].x, 790), 2);
    for (int i = 0; i < 20; ++i) formation_step();
    EXPECT_TRUE(cues.empty());
    formation_step();
    EXPECT_EQ(cues.size(), 1u);
}

}  // namespace
