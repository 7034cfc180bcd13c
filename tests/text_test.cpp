// Text, digits and the lives display.
#include "video/text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"
#include "video/draw_queue.h"
#include "video/sprites.h"

namespace {

// The glyph a command draws ('_' for a black square).
char char_of(const Cmd& c) {
    for (int k = 0; k < 128; ++k)
        if (c.pixels && font_table[k] == c.pixels) return char(k);
    return '_';
}

// The queued 8 x 8 cells as "x,y:c ".
std::string queued_cells() {
    std::string s;
    for (const Cmd& c : queued()) s += std::to_string(c.x) + "," + std::to_string(c.y) + ":" + char_of(c) + " ";
    return s;
}

std::string queued_chars() {
    std::string s;
    for (const Cmd& c : queued()) s += char_of(c);
    return s;
}

class Text : public ::testing::Test {
protected:
    void SetUp() override { draw_queue_reset(); }
    void TearDown() override { draw_queue_reset(); }
};

TEST_F(Text, WrapsToX0OfTheNextRowAfterColumn2492AndStopsAtAWrapBelowRow1292) {
    draw_text(10, 10, "");
    EXPECT_EQ(draw_queue.pending, 0);
    draw_text(2484, 0, "ABC");
    EXPECT_EQ(queued_cells(), "2484,0:A 2492,0:B 0,8:C ");
    draw_queue_reset();
    draw_text(2484, 1292, "ABCDEF");
    EXPECT_EQ(queued_cells(), "2484,1292:A 2492,1292:B ");
    draw_queue_reset();
    draw_text(2484, 1284, "ABCDEF");
    EXPECT_EQ(queued_chars(), "ABCDEF");
}

TEST_F(Text, LowerCasePrintsAsUpperCaseCodesWithoutAGlyphAsBlackSquaresAndBytesFrom128AsGaps) {
    draw_text(100, 100, "A\xC8" "B\xFF");
    EXPECT_EQ(queued_cells(), "100,100:A 116,100:B ");
    draw_queue_reset();
    draw_text(0, 0, "zuba-trilo @`{|}~\x7f");
    EXPECT_EQ(queued_chars(), "ZUBA-TRILO________");
}

TEST_F(Text, NumbersShowTheLastSixDigitsWithLeadingZerosAndNegativesAsZero) {
    const std::pair<int, const char*> cases[] = {{0, "000000"},       {999999, "999999"},
                                                 {1000000, "000000"}, {1234567, "234567"},
                                                 {2147483647, "483647"}, {-2147483647 - 1, "000000"}};
    for (auto [value, shown] : cases) {
        draw_queue_reset();
        draw_number(value, 40);
        EXPECT_EQ(queued_chars(), shown) << value;
        EXPECT_EQ(queued().at(0), (Cmd{font_table[int(shown[0])], 2436, 40, 8, 8}));
    }
}

TEST_F(Text, LivesShowADigitAndACannonPerSpareLifeUpTo9) {
    draw_lives(2);
    EXPECT_EQ(queued(), (std::vector<Cmd>{{font_table[int('2')], 2436, 88, 8, 8},
                                          {SPRITE_CANNON, 2436, 96, 13, 8},
                                          {SPRITE_CANNON, 2450, 96, 13, 8},
                                          {nullptr, 2464, 96, 13, 8}}));
    draw_queue_reset();
    draw_lives(0);
    EXPECT_EQ(queued_chars(), "0___");
    draw_queue_reset();
    draw_lives(12);  // never passed by the game
    EXPECT_EQ(queued().at(0).pixels, font_table[int('9')]);
}

}  // namespace
