// The picture catalogue: sprites, font, the two screen images and the frame
// selectors.
#include "video/sprites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "video/draw_queue.h"
#include "video/presenter.h"

extern const unsigned char embed_splash_pgm[];
extern const unsigned embed_splash_pgm_size;
extern const unsigned char embed_title_pgm[];
extern const unsigned embed_title_pgm_size;

namespace {

std::set<int> levels_of(const uint8_t* p, int n) { return std::set<int>(p, p + n); }

// A picture as rows of '#', '+' and '.', for comparing against the design's
// drawings.
std::vector<std::string> rows_of(const uint8_t* p, int w, int h) {
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        std::string row;
        for (int x = 0; x < w; ++x) {
            uint8_t v = p[y * w + x];
            row += v == 255 ? '#' : v == 128 ? '+' : v == 0 ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(Sprites, KeepTheirSizesAndUseOnlyBlackAndWhiteExceptTheCannonExplosions) {
    struct Entry {
        const uint8_t* p;
        size_t bytes;
        int w, h;
    };
#define ENTRY(name, w, h) Entry{name, sizeof name, w, h}
    const Entry plain[] = {
        ENTRY(SPRITE_CANNON, 13, 8),      ENTRY(SPRITE_SHOT, 3, 8),
        ENTRY(SPRITE_BOMB_A, 3, 8),       ENTRY(SPRITE_BOMB_B, 3, 8),
        ENTRY(SPRITE_BOMB_C, 3, 8),       ENTRY(SPRITE_INVADER1_A, 12, 8),
        ENTRY(SPRITE_INVADER1_B, 12, 8),  ENTRY(SPRITE_INVADER2_A, 10, 8),
        ENTRY(SPRITE_INVADER2_B, 10, 8),  ENTRY(SPRITE_INVADER3_A, 8, 8),
        ENTRY(SPRITE_INVADER3_B, 8, 8),   ENTRY(SPRITE_EXPLOSION, 8, 8),
        ENTRY(SPRITE_SAUCER_A, 16, 8),    ENTRY(SPRITE_SAUCER_B, 16, 8),
        ENTRY(SPRITE_SHIELD, 4, 8),       ENTRY(SPRITE_SHIELD_BOTTOM_DAMAGED, 4, 8),
        ENTRY(SPRITE_SHIELD_TOP_DAMAGED, 4, 8), ENTRY(SPRITE_SHIELD_RIGHT_DAMAGED, 4, 8),
        ENTRY(SPRITE_SHIELD_LEFT_DAMAGED, 4, 8),
    };
    for (const Entry& e : plain) {
        EXPECT_EQ(e.bytes, size_t(e.w * e.h));
        std::set<int> levels = levels_of(e.p, e.w * e.h);
        levels.insert(0);  // the whole shield block has no black
        EXPECT_EQ(levels, (std::set<int>{0, 255}));
    }
    EXPECT_EQ(sizeof SPRITE_CANNON_EXPLOSION_A, 13u * 8);
    EXPECT_EQ(sizeof SPRITE_CANNON_EXPLOSION_B, 13u * 8);
    EXPECT_EQ(levels_of(SPRITE_CANNON_EXPLOSION_A, 13 * 8), (std::set<int>{0, 128, 255}));
    EXPECT_EQ(levels_of(SPRITE_CANNON_EXPLOSION_B, 13 * 8), (std::set<int>{0, 128, 255}));
#undef ENTRY
}

TEST(Sprites, LookAsDrawnInTheCatalogue) {
    // A few pictures checked whole; the others share the same conversion.
    EXPECT_EQ(rows_of(SPRITE_CANNON, 13, 8),
              (std::vector<std::string>{"......#......", ".....###.....", "..##.###.##..",
                                        "..#...#...#..", ".###..#..###.", "#.###.#.###.#",
                                        "#..#######..#", ".###########."}));
    EXPECT_EQ(rows_of(SPRITE_CANNON_EXPLOSION_B, 13, 8)[6], "#..#+##+##..#");
    EXPECT_EQ(rows_of(SPRITE_SAUCER_B, 16, 8)[0], "................");
    EXPECT_EQ(rows_of(SPRITE_SHIELD_LEFT_DAMAGED, 4, 8),
              (std::vector<std::string>{"####", ".###", "####", "#.##", ".###", "..##", ".###",
                                        "####"}));
    // Bombs A and B are the same picture; only C zigzags.
    EXPECT_EQ(std::memcmp(SPRITE_BOMB_A, SPRITE_BOMB_B, sizeof SPRITE_BOMB_A), 0);
    EXPECT_NE(std::memcmp(SPRITE_BOMB_B, SPRITE_BOMB_C, sizeof SPRITE_BOMB_C), 0);
}

TEST(Font, Has62GlyphsAndLowerCaseSharesTheUpperCase) {
    std::set<const uint8_t*> glyphs;
    for (int code = 0; code < 128; ++code) {
        bool own = (code >= 33 && code <= 63) || (code >= 65 && code <= 95);
        bool lower = code >= 'a' && code <= 'z';
        if (own) {
            ASSERT_NE(font_table[code], nullptr) << "code " << code;
            glyphs.insert(font_table[code]);
        } else if (lower) {
            EXPECT_EQ(font_table[code], font_table[code - 32]) << "code " << code;
        } else {
            EXPECT_EQ(font_table[code], nullptr) << "code " << code;
        }
    }
    EXPECT_EQ(glyphs.size(), 62u);
    for (int code : {0, 9, 32, 64, 96, 123, 124, 125, 126, 127}) EXPECT_EQ(font_table[code], nullptr);
}

TEST(Font, GlyphsKeepTheirRightColumnAndAllButCommaAndSemicolonTheirBottomRowBlack) {
    for (int code = 33; code < 96; ++code) {
        const uint8_t* g = font_table[code];
        if (!g) continue;
        EXPECT_EQ(levels_of(g, 64).count(128), 0u) << char(code);
        for (int y = 0; y < 8; ++y) EXPECT_EQ(g[y * 8 + 7], 0) << char(code);
        bool bottom_clear = true;
        for (int x = 0; x < 8; ++x) bottom_clear = bottom_clear && g[56 + x] == 0;
        EXPECT_EQ(bottom_clear, code != ',' && code != ';') << char(code);
    }
    // Two glyphs whole, one of each sheet.
    EXPECT_EQ(rows_of(font_table['4'], 8, 8),
              (std::vector<std::string>{"...#....", "...#....", "..#.....", "..#.#...", ".#..#...",
                                        ".#####..", "....#...", "........"}));
    EXPECT_EQ(rows_of(font_table['&'], 8, 8),
              (std::vector<std::string>{"..###...", ".#...#..", "..#.#...", ".###....", "#...#.#.",
                                        "#....#..", ".####.#.", "........"}));
    EXPECT_EQ(rows_of(font_table['_'], 8, 8)[6], "######..");
    EXPECT_EQ(rows_of(font_table['\\'], 8, 8)[0], "#.......");
}

// ---------------------------------------------------------------------------
// The screen images: the embedded artwork files and what the game needs of
// them.

namespace {

struct Pgm {
    int w = 0, h = 0, maxval = 0;
    size_t pixel_offset = 0;
};

// Reads a binary PGM header the way any image program would (comments
// allowed), independently of how the game finds the pixels.
bool parse_pgm(const unsigned char* data, size_t size, Pgm& out) {
    size_t i = 0;
    auto skip_space = [&] {
        while (i < size && (std::isspace(data[i]) || data[i] == '#')) {
            if (data[i] == '#') {
                while (i < size && data[i] != '\n') ++i;
            } else {
                ++i;
            }
        }
    };
    auto number = [&](int& v) {
        skip_space();
        if (i >= size || !std::isdigit(data[i])) return false;
        v = 0;
        while (i < size && std::isdigit(data[i])) v = v * 10 + (data[i++] - '0');
        return true;
    };
    if (size < 2 || data[0] != 'P' || data[1] != '5') return false;
    i = 2;
    if (!number(out.w) || !number(out.h) || !number(out.maxval)) return false;
    if (i >= size || !std::isspace(data[i])) return false;
    out.pixel_offset = i + 1;
    return true;
}

int at(const uint8_t* image, int w, int x, int y) { return image[y * w + x]; }

}  // namespace

TEST(Images, AreTheEmbeddedArtworkFilesWithTheirSizes) {
    Pgm splash, title;
    ASSERT_TRUE(parse_pgm(embed_splash_pgm, embed_splash_pgm_size, splash));
    ASSERT_TRUE(parse_pgm(embed_title_pgm, embed_title_pgm_size, title));
    EXPECT_EQ(splash.w, IMAGE_SPLASH_W);
    EXPECT_EQ(splash.h, IMAGE_SPLASH_H);
    EXPECT_EQ(title.w, IMAGE_TITLE_W);
    EXPECT_EQ(title.h, IMAGE_TITLE_H);
    EXPECT_EQ(splash.maxval, 255);
    EXPECT_EQ(title.maxval, 255);
    EXPECT_EQ(IMAGE_SPLASH_W * IMAGE_SPLASH_H, 9396);
    EXPECT_EQ(IMAGE_TITLE_W * IMAGE_TITLE_H, 76800);
    // The game reads the pixels straight after the header: a comment in a
    // redrawn file shows up here.
    EXPECT_EQ(IMAGE_SPLASH, embed_splash_pgm + splash.pixel_offset);
    EXPECT_EQ(IMAGE_TITLE, embed_title_pgm + title.pixel_offset);
    EXPECT_EQ(embed_splash_pgm_size, splash.pixel_offset + 9396);
    EXPECT_EQ(embed_title_pgm_size, title.pixel_offset + 76800);
}

TEST(Images, SplashIsAWhiteCardWithATwoPixelGrayShadow) {
    const int W = IMAGE_SPLASH_W;
    EXPECT_EQ(levels_of(IMAGE_SPLASH, 9396), (std::set<int>{0, 150, 255}));
    for (int y = 0; y < 58; ++y) {
        for (int x = 0; x < 162; ++x) {
            int v = at(IMAGE_SPLASH, W, x, y);
            bool card = x < 160 && y < 56;
            bool shadow = !card && x >= 2 && y >= 2;
            if (shadow) {
                ASSERT_EQ(v, 150) << x << "," << y;
            } else if (!card) {
                ASSERT_EQ(v, 0) << x << "," << y;  // the 2 x 2 corners
            } else {
                ASSERT_NE(v, 150) << x << "," << y;
            }
        }
    }
    // The card's edge is white all round, and there is black art on it.
    for (int x = 0; x < 160; ++x) EXPECT_EQ(at(IMAGE_SPLASH, W, x, 0) + at(IMAGE_SPLASH, W, x, 55), 510);
    for (int y = 0; y < 56; ++y) EXPECT_EQ(at(IMAGE_SPLASH, W, 0, y) + at(IMAGE_SPLASH, W, 159, y), 510);
    int black_on_card = 0;
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 160; ++x) black_on_card += at(IMAGE_SPLASH, W, x, y) == 0;
    EXPECT_GT(black_on_card, 500);
}

TEST(Images, TitleKeepsItsArtInsideColumns40To282AndRows21To162SoThePromptBandIsBlack) {
    const int W = IMAGE_TITLE_W;
    EXPECT_EQ(levels_of(IMAGE_TITLE, 76800), (std::set<int>{0, 153, 255}));
    int left = W, right = -1, top = IMAGE_TITLE_H, bottom = -1;
    for (int y = 0; y < IMAGE_TITLE_H; ++y) {
        for (int x = 0; x < W; ++x) {
            if (at(IMAGE_TITLE, W, x, y) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    EXPECT_GE(left, 40);
    EXPECT_LE(right, 282);
    EXPECT_GE(top, 21);
    EXPECT_LE(bottom, 162);
    // The "PUSH BUTTON" prompt, 88 x 8 at (116, 220), lies in the black band.
    for (int y = 163; y < IMAGE_TITLE_H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(at(IMAGE_TITLE, W, x, y), 0) << x << "," << y;
}

// ---------------------------------------------------------------------------
// Frame selectors.

namespace {

std::vector<DrawCommand> queued_by(void (*draw)(int, int, int), int x, int y, int frame) {
    draw_queue_reset();
    draw(x, y, frame);
    std::vector<DrawCommand> out = pending_commands();
    draw_queue_reset();
    return out;
}

void expect_picture(const std::vector<DrawCommand>& q, const uint8_t* pixels, int w, int h) {
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0].pixels, pixels);
    EXPECT_EQ(q[0].w, w);
    EXPECT_EQ(q[0].h, h);
    EXPECT_EQ(q[0].gray, 0);
}

}  // namespace

TEST(FrameSelectors, BombFramesTwoThreeAndFiveAreTheSamePictureAndFrameZeroErases) {
    auto bomb = [](int frame) { return queued_by(draw_bomb_frame, 40, 50, frame); };
    expect_picture(bomb(0), nullptr, 3, 8);
    expect_picture(bomb(1), SPRITE_SHOT, 3, 8);
    expect_picture(bomb(4), SPRITE_BOMB_C, 3, 8);
    for (int frame : {2, 3, 5}) {
        std::vector<DrawCommand> q = bomb(frame);
        ASSERT_EQ(q.size(), 1u);
        ASSERT_NE(q[0].pixels, nullptr);
        EXPECT_EQ(std::memcmp(q[0].pixels, SPRITE_BOMB_A, 24), 0) << "frame " << frame;
        EXPECT_EQ(q[0].x, 40);
        EXPECT_EQ(q[0].y, 50);
    }
}

TEST(FrameSelectors, InvaderKindKHasItsEraserAt3kMinus3AndThenItsTwoPictures) {
    const uint8_t* pictures[] = {nullptr,           SPRITE_INVADER1_A, SPRITE_INVADER1_B,
                                 nullptr,           SPRITE_INVADER2_A, SPRITE_INVADER2_B,
                                 nullptr,           SPRITE_INVADER3_A, SPRITE_INVADER3_B,
                                 nullptr,           SPRITE_EXPLOSION};
    const int widths[] = {12, 12, 12, 10, 10, 10, 8, 8, 8, 8, 8};
    for (int frame = 0; frame <= 10; ++frame) {
        SCOPED_TRACE(frame);
        std::vector<DrawCommand> q = queued_by(draw_invader_frame, -6, 700, frame);
        expect_picture(q, pictures[frame], widths[frame], 8);
        EXPECT_EQ(q[0].x, -6);  // rear-row invaders may stand off screen
    }
}

TEST(FrameSelectors, SaucerFramesDrawAtTheRowGiven) {
    expect_picture(queued_by(draw_saucer_frame_at, 100, 16, 0), nullptr, 16, 8);
    expect_picture(queued_by(draw_saucer_frame_at, 100, 16, 1), SPRITE_SAUCER_A, 16, 8);
    expect_picture(queued_by(draw_saucer_frame_at, 100, 16, 2), SPRITE_SAUCER_B, 16, 8);
    expect_picture(queued_by(draw_saucer_frame_at, 100, 16, 3), nullptr, 8, 8);
    expect_picture(queued_by(draw_saucer_frame_at, 100, 16, 4), SPRITE_EXPLOSION, 8, 8);
    EXPECT_EQ(queued_by(draw_saucer_frame_at, 100, 24, 2)[0].y, 24);
}

TEST(FrameSelectors, AFrameOutsideItsTableQueuesNothing) {
    for (int frame : {-1, 6, 1000, -2147483647 - 1}) EXPECT_TRUE(queued_by(draw_bomb_frame, 0, 0, frame).empty());
    for (int frame : {-1, 11, 2147483647}) EXPECT_TRUE(queued_by(draw_invader_frame, 0, 0, frame).empty());
    for (int frame : {-1, 5}) EXPECT_TRUE(queued_by(draw_saucer_frame_at, 0, 0, frame).empty());
}

TEST(FrameSelectors, ASpriteDrawnOverAnotherReplacesEveryPixelBlackOnesIncluded) {
    ASSERT_TRUE(start_headless_video());
    draw_sprite(200, 300, 4, 8, SPRITE_SHIELD);
    draw_sprite(200, 300, 4, 8, SPRITE_SHIELD_TOP_DAMAGED);
    paint_pending();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(video_pixel(200 + x, 300 + y), gray_pixel(SPRITE_SHIELD_TOP_DAMAGED[y * 4 + x]));
    stop_headless_video();
}
