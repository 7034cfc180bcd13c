// Text, digits, the lives display and the game screen's status panel.
#include "video/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/test_support.h"
#include "video/draw_queue.h"
#include "video/presenter.h"
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

bool painted_as(int x, int y, int w, int h, const uint8_t* pixels) {
    for (int r = 0; r < h; ++r)
        for (int k = 0; k < w; ++k)
            if (video_pixel(x + k, y + r) != gray_pixel(pixels ? pixels[r * w + k] : 0)) return false;
    return true;
}

class Text : public ::testing::Test {
protected:
    void SetUp() override { draw_queue_reset(); }
    void TearDown() override { draw_queue_reset(); }
};

TEST_F(Text, WrapsToX0OfTheNextRowAfterColumn2492AndQueuesNothingForAnEmptyString) {
    draw_text(10, 10, "");
    EXPECT_EQ(draw_queue.pending, 0);
    draw_text(2484, 0, "ABC");
    EXPECT_EQ(queued_cells(), "2484,0:A 2492,0:B 0,8:C ");
}

TEST_F(Text, StopsAtAWrapThatWouldStartBelowRow1292) {
    draw_text(2484, 1292, "ABCDEF");
    EXPECT_EQ(queued_cells(), "2484,1292:A 2492,1292:B ");
    draw_queue_reset();
    draw_text(2484, 1284, "ABCDEF");
    EXPECT_EQ(queued_chars(), "ABCDEF");
}

TEST_F(Text, ConsumesAtMost1000CharactersSkippedBytesIncluded) {
    draw_text(0, 0, std::string(1200, 'M').c_str());
    EXPECT_EQ(draw_queue.pending, TEXT_MAX_CHARS);
    draw_queue_reset();
    draw_text(0, 0, (std::string(500, '\xC8') + std::string(700, 'M')).c_str());
    EXPECT_EQ(draw_queue.pending, 500);
}

TEST_F(Text, SkipsBytesFrom128ButKeepsTheirPlaceAndWhatWasThere) {
    ASSERT_TRUE(start_headless_video());
    draw_fill(100, 100, 40, 8, 255);
    paint_pending();
    draw_text(100, 100, "A\xC8" "B\xFF");
    EXPECT_EQ(queued_cells(), "100,100:A 116,100:B ");
    paint_pending();
    const std::vector<uint8_t> white(64, 255);
    EXPECT_TRUE(painted_as(108, 100, 8, 8, white.data()));
    stop_headless_video();
}

TEST_F(Text, LowerCasePrintsAsUpperCaseAndCodesWithoutAGlyphAsBlackSquares) {
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

// The panel checked on the painted screen against the game screen's layout,
// not against the drawing code.
TEST_F(Text, GameScreenPaintsTheFrameLinesAndThePanelAtTheirPlacesAndNothingElse) {
    ASSERT_TRUE(start_headless_video());
    draw_number(4250, 40);  // a previous game's score
    video_flush();
    draw_game_screen(1230);
    EXPECT_EQ(draw_queue.pending, 0);
    EXPECT_EQ(presenter.presenting_enabled, 1);
    EXPECT_EQ(read_screen_text(2428, 32, 5), "SCORE");
    EXPECT_EQ(read_screen_text(2436, 40, 6), "000000");
    EXPECT_EQ(read_screen_text(2428, 56, 7), "HISCORE");
    EXPECT_EQ(read_screen_text(2436, 64, 6), "001230");
    EXPECT_EQ(read_screen_text(2428, 80, 4), "REST");
    EXPECT_EQ(read_screen_text(2436, 88, 1), "2");
    EXPECT_TRUE(painted_as(2436, 96, 13, 8, SPRITE_CANNON));
    EXPECT_TRUE(painted_as(2450, 96, 13, 8, SPRITE_CANNON));
    EXPECT_EQ(read_screen_text(2428, 1180, 5), "ZUBA-");
    EXPECT_EQ(read_screen_text(2444, 1188, 5), "TRILO");
    // White: the separator columns 2420-2421 over the full height and the
    // ground bar from x 1 at rows 1283-1298. Text cells and icons may be
    // lit; everything else is black.
    struct Box {
        int x, y, w, h;
    };
    const Box white[] = {{2420, 0, 2, 1300}, {1, 1283, 2499, 16}};
    const Box text[] = {{2428, 32, 40, 8}, {2436, 40, 48, 8},   {2428, 56, 56, 8},   {2436, 64, 48, 8},
                        {2428, 80, 32, 8}, {2436, 88, 27, 16},  {2428, 1180, 40, 8}, {2444, 1188, 40, 8}};
    auto in = [](const Box& b, int x, int y) { return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h; };
    int wrong = 0;
    for (int y = 0; y < 1300; ++y)
        for (int x = 0; x < 2500; ++x) {
            uint32_t p = video_pixel(x, y);
            if (in(white[0], x, y) || in(white[1], x, y)) wrong += p != gray_pixel(255);
            else if (std::none_of(std::begin(text), std::end(text), [&](const Box& b) { return in(b, x, y); }))
                wrong += p != gray_pixel(0);
        }
    EXPECT_EQ(wrong, 0);
    stop_headless_video();
}

}  // namespace
