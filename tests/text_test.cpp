// Text, digits, the lives display and the game screen's status panel.
#include "video/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"
#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/sprites.h"

namespace {

struct Cell {
    int x, y;
    int code;  // -1: a black square (no glyph); else the glyph's character
    bool operator==(const Cell&) const = default;
};

// The queued glyph commands, read back as characters at their places.
std::vector<Cell> queued_cells() {
    std::vector<Cell> cells;
    for (const DrawCommand& c : pending_commands()) {
        EXPECT_EQ(c.w, 8);
        EXPECT_EQ(c.h, 8);
        int code = -1;
        if (c.pixels) {
            for (int k = 0; k < 128; ++k) {
                if (font_table[k] == c.pixels) {
                    code = k;
                    break;
                }
            }
        } else {
            EXPECT_EQ(c.gray, 0);
        }
        cells.push_back({c.x, c.y, code});
    }
    return cells;
}

std::string queued_string() {
    std::string s;
    for (const Cell& c : queued_cells()) s += c.code < 0 ? ' ' : char(c.code);
    return s;
}

// Reads the character painted in the 8 x 8 cell at (x, y) of the screen by
// matching it against the font: ' ' for a black cell, '?' for anything else.
char read_cell(int x, int y) {
    for (int code = 32; code < 96; ++code) {
        const uint8_t* g = font_table[code];
        bool match = true;
        for (int i = 0; i < 64 && match; ++i)
            match = video_pixel(x + i % 8, y + i / 8) == gray_pixel(g ? g[i] : 0);
        if (match) return char(code);
    }
    return '?';
}

std::string read_text(int x, int y, int length) {
    std::string s;
    for (int i = 0; i < length; ++i) s += read_cell(x + 8 * i, y);
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

}  // namespace

TEST_F(Text, AnEmptyStringQueuesNothing) {
    EXPECT_EQ(draw_text(10, 10, ""), DRAW_OK);
    EXPECT_EQ(draw_queue.pending, 0);
}

TEST_F(Text, WrapsToTheLeftEdgeOfTheNextRowAfterColumn2492) {
    draw_text(2484, 0, "ABC");
    EXPECT_EQ(queued_cells(),
              (std::vector<Cell>{{2484, 0, 'A'}, {2492, 0, 'B'}, {0, 8, 'C'}}));
    // Whatever the starting column, a wrapped line restarts at x 0.
    draw_queue_reset();
    draw_text(2000, 100, std::string(70, 'X').c_str());
    std::vector<Cell> cells = queued_cells();
    ASSERT_EQ(cells.size(), 70u);
    EXPECT_EQ(cells[61], (Cell{2488, 100, 'X'}));
    EXPECT_EQ(cells[62], (Cell{0, 108, 'X'}));
    EXPECT_EQ(cells[69], (Cell{56, 108, 'X'}));
}

TEST_F(Text, StopsAtAWrapThatWouldStartBelowRow1292) {
    draw_text(2484, 1292, "ABCDEF");
    EXPECT_EQ(queued_cells(), (std::vector<Cell>{{2484, 1292, 'A'}, {2492, 1292, 'B'}}));
    draw_queue_reset();
    draw_text(2484, 1284, "ABCDEF");
    EXPECT_EQ(queued_string(), "ABCDEF");
    for (const Cell& c : queued_cells()) EXPECT_LE(c.y, 1292);
}

TEST_F(Text, ConsumesAtMost1000Characters) {
    std::string text(1200, 'M');
    draw_text(0, 0, text.c_str());
    EXPECT_EQ(draw_queue.pending, TEXT_MAX_CHARS);
    // Skipped bytes spend the budget too.
    draw_queue_reset();
    std::string mixed(500, '\xC8');
    mixed += std::string(700, 'M');
    draw_text(0, 0, mixed.c_str());
    EXPECT_EQ(draw_queue.pending, 500);
    EXPECT_EQ(queued_cells().front(), (Cell{(500 * 8) % 2496, 8, 'M'}));
}

TEST_F(Text, SkipsBytesFrom128ButKeepsTheirPlace) {
    ASSERT_TRUE(start_headless_video());
    draw_fill(100, 100, 40, 8, 255);
    paint_pending();
    draw_text(100, 100, "A\xC8" "B\xFF");
    EXPECT_EQ(queued_cells(), (std::vector<Cell>{{100, 100, 'A'}, {116, 100, 'B'}}));
    paint_pending();
    // The gap keeps what was there: the white fill.
    const std::vector<uint8_t> white(64, 255);
    EXPECT_TRUE(painted_as(108, 100, 8, 8, white.data()));
    EXPECT_EQ(read_text(100, 100, 3), "A?B");
    stop_headless_video();
}

TEST_F(Text, LowerCasePrintsAsUpperCaseAndCodesWithoutAGlyphAsBlackSquares) {
    draw_text(0, 0, "zuba-trilo");
    std::vector<Cell> cells = queued_cells();
    std::string shown;
    for (const Cell& c : cells) shown += char(c.code);
    EXPECT_EQ(shown, "ZUBA-TRILO");
    draw_queue_reset();
    draw_text(0, 0, " @`{|}~\x7f");
    for (const Cell& c : queued_cells()) EXPECT_EQ(c.code, -1) << c.x;
    EXPECT_EQ(draw_queue.pending, 8);
}

TEST_F(Text, GoesOnWhenTheRingIsFull) {
    for (int i = 0; i < DRAW_QUEUE_CAPACITY - 3; ++i) draw_fill(0, 0, 1, 1, 0);
    EXPECT_EQ(draw_text(0, 0, "ABCD"), DRAW_OK);
    EXPECT_EQ(draw_queue.pending, DRAW_QUEUE_CAPACITY - 1);
}

TEST_F(Text, NumbersShowSixDigitsWithLeadingZerosAtTheValueColumn) {
    struct Case {
        int value;
        const char* shown;
    };
    const Case cases[] = {{0, "000000"},       {4250, "004250"},       {999999, "999999"},
                          {1000000, "000000"}, {1234567, "234567"},    {2147483647, "483647"},
                          {-1, "000000"},      {-2147483647 - 1, "000000"}};
    for (const Case& c : cases) {
        draw_queue_reset();
        draw_number(c.value, 40);
        EXPECT_EQ(queued_string(), c.shown) << c.value;
        std::vector<Cell> cells = queued_cells();
        ASSERT_EQ(cells.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(cells[i].x, 2436 + 8 * i);
            EXPECT_EQ(cells[i].y, 40);
        }
    }
}

TEST_F(Text, LivesShowADigitAndACannonPerSpareLife) {
    draw_lives(2);
    std::vector<DrawCommand> q = pending_commands();
    ASSERT_EQ(q.size(), 4u);
    EXPECT_EQ(q[0].pixels, font_table['2']);
    EXPECT_EQ((std::vector<int>{q[0].x, q[0].y}), (std::vector<int>{2436, 88}));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(q[i].x, 2436 + 14 * (i - 1));
        EXPECT_EQ(q[i].y, 96);
        EXPECT_EQ(q[i].w, 13);
        EXPECT_EQ(q[i].h, 8);
        EXPECT_EQ(q[i].gray, 0);
    }
    EXPECT_EQ(q[1].pixels, SPRITE_CANNON);
    EXPECT_EQ(q[2].pixels, SPRITE_CANNON);
    EXPECT_EQ(q[3].pixels, nullptr);  // black square

    draw_queue_reset();
    draw_lives(0);
    q = pending_commands();
    ASSERT_EQ(q.size(), 4u);
    EXPECT_EQ(q[0].pixels, font_table['0']);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(q[i].pixels, nullptr);

    // Never passed by the game: more than nine shows 9.
    draw_queue_reset();
    draw_lives(12);
    EXPECT_EQ(pending_commands()[0].pixels, font_table['9']);
}

// The panel's places checked on the painted screen, against the layout of
// the game screen rather than against the drawing code.
TEST_F(Text, GameScreenPaintsTheFrameLinesAndThePanelAtTheirPlaces) {
    ASSERT_TRUE(start_headless_video());
    draw_number(4250, 40);  // a previous game's score
    video_flush();
    draw_game_screen(1230);
    EXPECT_EQ(draw_queue.pending, 0);
    EXPECT_EQ(presenter.presenting_enabled, 1);

    const uint32_t white = gray_pixel(255), black = gray_pixel(0);
    for (int y = 0; y < 1300; ++y) {
        ASSERT_EQ(video_pixel(2420, y), white) << y;
        ASSERT_EQ(video_pixel(2421, y), white) << y;
        bool ground = y >= 1283 && y <= 1298;
        ASSERT_EQ(video_pixel(2419, y), ground ? white : black) << y;
        ASSERT_EQ(video_pixel(0, y), black) << y;
    }
    for (int x = 1; x < 2500; ++x) {
        ASSERT_EQ(video_pixel(x, 1283), white) << x;
        ASSERT_EQ(video_pixel(x, 1298), white) << x;
        bool separator = x == 2420 || x == 2421;
        ASSERT_EQ(video_pixel(x, 1282), separator ? white : black) << x;
        ASSERT_EQ(video_pixel(x, 1299), separator ? white : black) << x;
    }

    EXPECT_EQ(read_text(2428, 32, 5), "SCORE");
    EXPECT_EQ(read_text(2436, 40, 6), "000000");
    EXPECT_EQ(read_text(2428, 56, 7), "HISCORE");
    EXPECT_EQ(read_text(2436, 64, 6), "001230");
    EXPECT_EQ(read_text(2428, 80, 4), "REST");
    EXPECT_EQ(read_cell(2436, 88), '2');
    EXPECT_TRUE(painted_as(2436, 96, 13, 8, SPRITE_CANNON));
    EXPECT_TRUE(painted_as(2450, 96, 13, 8, SPRITE_CANNON));
    EXPECT_TRUE(painted_as(2464, 96, 13, 8, nullptr));
    EXPECT_EQ(read_text(2428, 1180, 5), "ZUBA-");
    EXPECT_EQ(read_text(2444, 1188, 5), "TRILO");

    // Nothing else lights up: outside the frame lines, the text cells and the
    // icons the screen is black.
    struct Box {
        int x, y, w, h;
    };
    const Box drawn[] = {{2420, 0, 2, 1300},   {1, 1283, 2499, 16}, {2428, 32, 40, 8},
                         {2436, 40, 48, 8},    {2428, 56, 56, 8},   {2436, 64, 48, 8},
                         {2428, 80, 32, 8},    {2436, 88, 8, 8},    {2436, 96, 27, 8},
                         {2428, 1180, 40, 8},  {2444, 1188, 40, 8}};
    int stray = 0;
    for (int y = 0; y < 1300; ++y) {
        for (int x = 0; x < 2500; ++x) {
            bool inside = false;
            for (const Box& b : drawn)
                inside = inside || (x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h);
            if (!inside && video_pixel(x, y) != black) ++stray;
        }
    }
    EXPECT_EQ(stray, 0);
    stop_headless_video();
}
