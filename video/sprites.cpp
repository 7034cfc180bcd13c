// The font, the two screen images and the frame selectors. The sprites
// themselves are pictures in sprites.h.
#include "video/sprites.h"

#include "video/draw_queue.h"

// The artwork files under assets/embed/, compiled in by the build.
extern const unsigned char embed_splash_pgm[];
extern const unsigned char embed_title_pgm[];

// Never defined: a sheet row that draws a code twice, a code without a place
// in the font, or a misplaced gap fails to compile, as does a missing glyph.
[[noreturn]] void font_sheet_is_wrong();

namespace {

// ---------------------------------------------------------------------------
// The font: 62 glyphs, codes 33 to 63 and 65 to 95. Every glyph keeps its
// right column black, and all but ',' and ';' their bottom row, so letters
// and lines stay apart.

constexpr int FONT_GLYPHS = 62;
constexpr int GLYPH_BYTES = GLYPH_W * GLYPH_H;
constexpr int SHEET_GAP = 2;  // spaces between two glyphs on the sheet below

// The glyph's place in the font, or -1 for a code without a glyph of its own.
constexpr int glyph_slot(int code) {
    if (code >= 33 && code <= 63) return code - 33;
    if (code >= 65 && code <= 95) return code - 34;
    return -1;
}

struct FontSheet {
    uint8_t glyphs[FONT_GLYPHS][GLYPH_BYTES];
    bool drawn[FONT_GLYPHS];
};

// One row of the sheet: the glyphs for `codes`, side by side, two spaces
// apart, eight text rows written as consecutive string literals.
template <size_t NC, size_t N>
constexpr void sheet_row(FontSheet& sheet, const char (&codes)[NC], const char (&art)[N]) {
    constexpr int count = int(NC) - 1;
    constexpr int line = count * (GLYPH_W + SHEET_GAP) - SHEET_GAP;
    static_assert(N == size_t(line) * GLYPH_H + 1, "a sheet row is 8 lines of its glyphs");
    for (int g = 0; g < count; ++g) {
        int slot = glyph_slot(codes[g]);
        if (slot < 0 || sheet.drawn[slot]) font_sheet_is_wrong();
        sheet.drawn[slot] = true;
        int left = g * (GLYPH_W + SHEET_GAP);
        for (int r = 0; r < GLYPH_H; ++r) {
            for (int c = 0; c < GLYPH_W; ++c) {
                sheet.glyphs[slot][r * GLYPH_W + c] = picture_level(art[r * line + left + c]);
            }
            if (g + 1 < count && (art[r * line + left + GLYPH_W] != ' ' ||
                                  art[r * line + left + GLYPH_W + 1] != ' ')) {
                font_sheet_is_wrong();
            }
        }
    }
}

constexpr FontSheet draw_font() {
    FontSheet s{};
    sheet_row(s, "01234",
        "..###...  ...#....  ..###...  ..###...  ...#...."
        ".#...#..  ..##....  .#...#..  .#...#..  ...#...."
        ".#..##..  ...#....  .#...#..  .....#..  ..#....."
        ".#.#.#..  ...#....  ....#...  ...##...  ..#.#..."
        ".##..#..  ...#....  ...#....  .....#..  .#..#..."
        ".#...#..  ...#....  ..#.....  .#...#..  .#####.."
        "..###...  ..###...  .#####..  ..###...  ....#..."
        "........  ........  ........  ........  ........");
    sheet_row(s, "56789",
        ".#####..  ..###...  .#####..  ..###...  ..###..."
        ".#......  .#...#..  .#...#..  .#...#..  .#...#.."
        ".####...  .#......  .....#..  .#...#..  .#...#.."
        ".....#..  .####...  ....#...  ..###...  ..####.."
        ".....#..  .#...#..  ...#....  .#...#..  .....#.."
        ".#...#..  .#...#..  ...#....  .#...#..  ....#..."
        "..###...  ..###...  ...#....  ..###...  ..##...."
        "........  ........  ........  ........  ........");
    sheet_row(s, "ABCDEFG",
        "..###...  .####...  ..###...  .####...  .#####..  .#####..  ..###..."
        ".#...#..  .#...#..  .#...#..  .#...#..  .#......  .#......  .#...#.."
        ".#...#..  .#...#..  .#......  .#...#..  .#......  .#......  .#......"
        ".#####..  .####...  .#......  ###..#..  .####...  .####...  .#......"
        ".#...#..  .#...#..  .#......  .#...#..  .#......  .#......  .#.###.."
        ".#...#..  .#...#..  .#...#..  .#...#..  .#......  .#......  .#...#.."
        ".#...#..  .####...  ..###...  .####...  .#####..  .#......  ..###..."
        "........  ........  ........  ........  ........  ........  ........");
    sheet_row(s, "HIJKLMN",
        ".#...#..  ..###...  ...###..  .#...#..  .#......  .#...#..  .#...#.."
        ".#...#..  ...#....  ....#...  .#..#...  .#......  .##.##..  .#...#.."
        ".#...#..  ...#....  ....#...  .#.#....  .#......  .#.#.#..  .##..#.."
        ".#####..  ...#....  ....#...  .##.....  .#......  .#...#..  .#.#.#.."
        ".#...#..  ...#....  .#..#...  .#.#....  .#......  .#...#..  .#..##.."
        ".#...#..  ...#....  .#..#...  .#..#...  .#......  .#...#..  .#...#.."
        ".#...#..  ..###...  ..##....  .#...#..  .#####..  .#...#..  .#...#.."
        "........  ........  ........  ........  ........  ........  ........");
    sheet_row(s, "OPQRSTU",
        "..###...  .####...  ..###...  .####...  ..###...  .#####..  .#...#.."
        ".#...#..  .#...#..  .#...#..  .#...#..  .#...#..  ...#....  .#...#.."
        ".#...#..  .#...#..  .#...#..  .#...#..  .#......  ...#....  .#...#.."
        ".#...#..  .####...  .#...#..  .####...  ..###...  ...#....  .#...#.."
        ".#...#..  .#......  .#.#.#..  .#.#....  .....#..  ...#....  .#...#.."
        ".#...#..  .#......  .#..#...  .#..#...  .#...#..  ...#....  .#...#.."
        "..###...  .#......  ..##.#..  .#...#..  ..###...  ...#....  ..###..."
        "........  ........  ........  ........  ........  ........  ........");
    sheet_row(s, "VWXYZ-",
        ".#...#..  .#...#..  .#...#..  .#...#..  .#####..  ........"
        ".#...#..  .#...#..  .#...#..  .#...#..  .....#..  ........"
        ".#...#..  .#...#..  ..#.#...  ..#.#...  ....#...  ........"
        "..#.#...  .#.#.#..  ...#....  ...#....  ...#....  #######."
        "..#.#...  .#.#.#..  ..#.#...  ...#....  ..#.....  ........"
        "..#.#...  .#.#.#..  .#...#..  ...#....  .#......  ........"
        "...#....  ..#.#...  .#...#..  ...#....  .#####..  ........"
        "........  ........  ........  ........  ........  ........");
    sheet_row(s, "!\"#$%&'",
        "..##....  .##.##..  .##.##..  .####...  ###...#.  ..###...  ..##...."
        "..##....  .##.##..  .##.##..  ##.#.#..  #.#..#..  .#...#..  ..##...."
        "..##....  ..#..#..  #######.  ##.#....  ###.#...  ..#.#...  ...#...."
        "...#....  ........  .##.##..  .####...  ...#....  .###....  ........"
        "........  ........  #######.  ...#.#..  ..#.###.  #...#.#.  ........"
        "..##....  ........  .##.##..  #..###..  .#..#.#.  #....#..  ........"
        "..##....  ........  .##.##..  .####...  #...###.  .####.#.  ........"
        "........  ........  ........  ........  ........  ........  ........");
    sheet_row(s, "()*+,./",
        "....#...  ..#.....  ...#....  ...#....  ........  ........  ......#."
        "...#....  ...#....  .#.#.#..  ...#....  ........  ........  .....#.."
        "..#.....  ....#...  ..###...  ...#....  ........  ........  ....#..."
        "..#.....  ....#...  .#####..  #######.  ........  ........  ...#...."
        "..#.....  ....#...  ..###...  ...#....  ..##....  ........  ..#....."
        "...#....  ...#....  .#.#.#..  ...#....  ..##....  ..##....  .#......"
        "....#...  ..#.....  ...#....  ...#....  ...#....  ..##....  #......."
        "........  ........  ........  ........  ..#.....  ........  ........");
    sheet_row(s, ":;<=>?",
        "........  ........  .....#..  ........  ..#.....  ..###..."
        "..##....  ..##....  ....#...  ........  ...#....  .#...#.."
        "..##....  ..##....  ...#....  .#####..  ....#...  .#...#.."
        "........  ........  ..#.....  ........  .....#..  ....#..."
        "..##....  ..##....  ...#....  .#####..  ....#...  ...#...."
        "..##....  ..##....  ....#...  ........  ...#....  ........"
        "........  ...#....  .....#..  ........  ..#.....  ...#...."
        "........  ..#.....  ........  ........  ........  ........");
    sheet_row(s, "[\\]^_",
        "..###...  #.......  ..###...  ...#....  ........"
        "..#.....  .#......  ....#...  ..#.#...  ........"
        "..#.....  ..#.....  ....#...  .#...#..  ........"
        "..#.....  ...#....  ....#...  ........  ........"
        "..#.....  ....#...  ....#...  ........  ........"
        "..#.....  .....#..  ....#...  ........  ........"
        "..###...  ......#.  ..###...  ........  ######.."
        "........  ........  ........  ........  ........");
    for (bool drawn : s.drawn) {
        if (!drawn) font_sheet_is_wrong();
    }
    return s;
}

constexpr FontSheet FONT = draw_font();

struct FontIndex {
    const uint8_t* entries[128];
};

// Lower case prints with the upper-case glyphs. Space, the other control
// codes, '@', '`' and '{' to DEL have none and print as black squares.
constexpr FontIndex index_font() {
    FontIndex index{};
    for (int code = 0; code < 128; ++code) {
        int shown = (code >= 'a' && code <= 'z') ? code - ('a' - 'A') : code;
        int slot = glyph_slot(shown);
        index.entries[code] = slot < 0 ? nullptr : FONT.glyphs[slot];
    }
    return index;
}

constexpr FontIndex FONT_INDEX = index_font();

// ---------------------------------------------------------------------------
// Frame tables: only the frames the game draws. A frame without pixels is a
// black eraser of the given size.

struct Frame {
    const uint8_t* pixels;
    int16_t w;
    int16_t h;
};

// Kind 1 bombs use frames 0 and 1, kind 2 bombs frames 2 and 3.
constexpr Frame BOMB_FRAMES[] = {
    {SPRITE_BOMB_A, BOMB_W, BOMB_H},
    {SPRITE_BOMB_B, BOMB_W, BOMB_H},
    {SPRITE_BOMB_C, BOMB_W, BOMB_H},
    // The straight bomb again, not a second zigzag: only one frame of the
    // four shows the zigzag, so a falling bomb mostly reads as a line.
    {SPRITE_BOMB_B, BOMB_W, BOMB_H},
};

// Kind k (1 to 3) has its two pictures at frames 2k - 2 and 2k - 1.
constexpr Frame INVADER_FRAMES[] = {
    {SPRITE_INVADER1_A, INVADER1_W, INVADER_H},
    {SPRITE_INVADER1_B, INVADER1_W, INVADER_H},
    {SPRITE_INVADER2_A, INVADER2_W, INVADER_H},
    {SPRITE_INVADER2_B, INVADER2_W, INVADER_H},
    {SPRITE_INVADER3_A, INVADER3_W, INVADER_H},
    {SPRITE_INVADER3_B, INVADER3_W, INVADER_H},
};

constexpr Frame SAUCER_FRAMES[] = {
    {nullptr, SAUCER_W, SAUCER_H},
    {SPRITE_SAUCER_A, SAUCER_W, SAUCER_H},
    {SPRITE_SAUCER_B, SAUCER_W, SAUCER_H},
};

template <size_t N>
void draw_frame(const Frame (&table)[N], int x, int y, int frame) {
    if (frame < 0 || size_t(frame) >= N) return;
    const Frame& f = table[frame];
    if (f.pixels) {
        draw_sprite(x, y, f.w, f.h, f.pixels);
    } else {
        draw_fill(x, y, f.w, f.h, 0);
    }
}

// The artwork files are binary PGMs written with exactly this header (no
// comment), so the pixels start at a fixed offset; a test checks the files.
constexpr unsigned SPLASH_PGM_HEADER_BYTES = sizeof("P5\n162 58\n255\n") - 1;
constexpr unsigned TITLE_PGM_HEADER_BYTES = sizeof("P5\n320 240\n255\n") - 1;

}  // namespace

const uint8_t* const (&font_table)[128] = FONT_INDEX.entries;

const uint8_t* const IMAGE_SPLASH = embed_splash_pgm + SPLASH_PGM_HEADER_BYTES;
const uint8_t* const IMAGE_TITLE = embed_title_pgm + TITLE_PGM_HEADER_BYTES;

void draw_bomb_frame(int x, int y, int frame) { draw_frame(BOMB_FRAMES, x, y, frame); }
void draw_invader_frame(int x, int y, int frame) { draw_frame(INVADER_FRAMES, x, y, frame); }
void draw_saucer_frame_at(int x, int y, int frame) { draw_frame(SAUCER_FRAMES, x, y, frame); }
