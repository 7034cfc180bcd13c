// The picture catalogue: sprites, font, the two screen images and the frame
// selectors.
#include "video/sprites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
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

// A picture as rows of '#', '+' and '.'.
std::vector<std::string> rows_of(const uint8_t* p, int w, int h) {
    std::vector<std::string> rows(size_t(h), std::string(size_t(w), '?'));
    for (int i = 0; i < w * h; ++i) rows[size_t(i / w)][size_t(i % w)] = p[i] == 255 ? '#' : p[i] == 128 ? '+' : p[i] ? '?' : '.';
    return rows;
}

std::vector<Cmd> queued_by(void (*draw)(int, int, int), int x, int y, int frame) {
    draw_queue_reset();
    draw(x, y, frame);
    std::vector<Cmd> out = queued();
    draw_queue_reset();
    return out;
}

}  // namespace

TEST(Sprites, LookAsDrawnWithOnlyTheCannonExplosionsUsingGray128) {
    EXPECT_EQ(rows_of(SPRITE_CANNON, 13, 8),
              (std::vector<std::string>{"......#......", ".....###.....", "..##.###.##..", "..#...#...#..",
                                        ".###..#..###.", "#.###.#.###.#", "#..#######..#", ".###########."}));
    EXPECT_EQ(rows_of(SPRITE_CANNON_EXPLOSION_B, 13, 8)[6], "#..#+##+##..#");
    EXPECT_EQ(rows_of(SPRITE_SHIELD_LEFT_DAMAGED, 4, 8),
              (std::vector<std::string>{"####", ".###", "####", "#.##", ".###", "..##", ".###", "####"}));
    EXPECT_EQ(levels_of(SPRITE_CANNON_EXPLOSION_A, 13 * 8), (std::set<int>{0, 128, 255}));
    EXPECT_EQ(levels_of(SPRITE_INVADER1_A, 12 * 8), (std::set<int>{0, 255}));
}

TEST(Font, Has62GlyphsLowerCaseSharesTheUpperCaseAndBlankCodesHaveNone) {
    std::set<const uint8_t*> glyphs;
    for (int code = 0; code < 128; ++code) {
        if ((code >= 33 && code <= 63) || (code >= 65 && code <= 95)) {
            ASSERT_NE(font_table[code], nullptr) << code;
            glyphs.insert(font_table[code]);
        } else if (code >= 'a' && code <= 'z') {
            EXPECT_EQ(font_table[code], font_table[code - 32]) << code;
        } else {
            EXPECT_EQ(font_table[code], nullptr) << code;
        }
    }
    EXPECT_EQ(glyphs.size(), 62u);
    EXPECT_EQ(rows_of(font_table[int('4')], 8, 8),
              (std::vector<std::string>{"...#....", "...#....", "..#.....", "..#.#...", ".#..#...", ".#####..",
                                        "....#...", "........"}));
}

// The game reads the pixels straight after a plain "P5 w h 255" header; a
// redrawn file with a comment or another size shows up here.
TEST(Images, AreTheEmbeddedArtworkFilesOf162By58And320By240) {
    struct Image {
        const unsigned char* file;
        unsigned size;
        const uint8_t* pixels;
        int w, h;
    };
    for (Image i : {Image{embed_splash_pgm, embed_splash_pgm_size, IMAGE_SPLASH, 162, 58},
                    Image{embed_title_pgm, embed_title_pgm_size, IMAGE_TITLE, 320, 240}}) {
        int w = 0, h = 0, maxval = 0, header = 0;
        ASSERT_EQ(std::sscanf(reinterpret_cast<const char*>(i.file), "P5 %d %d %d%n", &w, &h, &maxval, &header), 3);
        EXPECT_EQ((std::vector<int>{w, h, maxval}), (std::vector<int>{i.w, i.h, 255}));
        EXPECT_EQ(i.pixels, i.file + header + 1);
        EXPECT_EQ(i.size, unsigned(header + 1 + i.w * i.h));
    }
}

TEST(Images, SplashIsAWhiteCardWithBlackArtAndATwoPixelGray150Shadow) {
    const int W = IMAGE_SPLASH_W;
    EXPECT_EQ(levels_of(IMAGE_SPLASH, 162 * 58), (std::set<int>{0, 150, 255}));
    int black_on_card = 0;
    for (int y = 0; y < 58; ++y)
        for (int x = 0; x < 162; ++x) {
            int v = IMAGE_SPLASH[y * W + x];
            bool card = x < 160 && y < 56, shadow = !card && x >= 2 && y >= 2;
            bool edge = card && (x == 0 || x == 159 || y == 0 || y == 55);
            // Off the card: the shadow, or black in the 2 x 2 corners.
            const int want = shadow ? 150 : !card ? 0 : edge ? 255 : -1;
            ASSERT_TRUE(want < 0 ? v != 150 : v == want) << x << "," << y;
            black_on_card += card && v == 0;
        }
    EXPECT_GT(black_on_card, 500);
}

TEST(Images, TitleArtLiesInColumns40To282AndRows21To162LeavingThePromptBandBlack) {
    EXPECT_EQ(levels_of(IMAGE_TITLE, 320 * 240), (std::set<int>{0, 153, 255}));
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_TRUE(IMAGE_TITLE[y * 320 + x] == 0 || (x >= 40 && x <= 282 && y >= 21 && y <= 162)) << x << "," << y;
}

TEST(FrameSelectors, BombFrames235AreTheSamePictureOnlyFrame4Zigzags) {
    auto bomb = [](int frame) { return queued_by(draw_bomb_frame, 40, 50, frame); };
    EXPECT_EQ(bomb(0), (std::vector<Cmd>{{nullptr, 40, 50, 3, 8}}));
    EXPECT_EQ(bomb(1), (std::vector<Cmd>{{SPRITE_SHOT, 40, 50, 3, 8}}));
    EXPECT_EQ(bomb(4), (std::vector<Cmd>{{SPRITE_BOMB_C, 40, 50, 3, 8}}));
    EXPECT_NE(std::memcmp(SPRITE_BOMB_A, SPRITE_BOMB_C, 24), 0);
    for (int frame : {2, 3, 5}) {
        std::vector<Cmd> q = bomb(frame);
        ASSERT_EQ(q.size(), 1u);
        EXPECT_EQ(std::memcmp(q[0].pixels, SPRITE_BOMB_A, 24), 0) << "frame " << frame;
    }
}

TEST(FrameSelectors, InvaderAndSaucerFramesQueueTheirTablesPictureAtThePlaceGiven) {
    const uint8_t* pictures[] = {nullptr, SPRITE_INVADER1_A, SPRITE_INVADER1_B, nullptr, SPRITE_INVADER2_A,
                                 SPRITE_INVADER2_B, nullptr, SPRITE_INVADER3_A, SPRITE_INVADER3_B, nullptr,
                                 SPRITE_EXPLOSION};
    const int widths[] = {12, 12, 12, 10, 10, 10, 8, 8, 8, 8, 8};
    for (int frame = 0; frame <= 10; ++frame)  // rear-row invaders may stand off screen
        EXPECT_EQ(queued_by(draw_invader_frame, -6, 700, frame),
                  (std::vector<Cmd>{{pictures[frame], -6, 700, widths[frame], 8}})) << frame;
    const uint8_t* saucer[] = {nullptr, SPRITE_SAUCER_A, SPRITE_SAUCER_B, nullptr, SPRITE_EXPLOSION};
    for (int frame = 0; frame <= 4; ++frame)
        EXPECT_EQ(queued_by(draw_saucer_frame_at, 100, 24, frame),
                  (std::vector<Cmd>{{saucer[frame], 100, 24, frame < 3 ? 16 : 8, 8}})) << frame;
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
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(video_pixel(200 + i % 4, 300 + i / 4), gray_pixel(SPRITE_SHIELD_TOP_DAMAGED[i])) << i;
    stop_headless_video();
}
