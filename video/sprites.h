// The picture catalogue: every sprite, the font and the two screen images,
// as constant gray bitmaps, and the frame selectors that pick a picture.
//
// The sprites are drawn below as pictures: '#' is gray 255, '+' is 128 and
// '.' is 0. They live in this header as constexpr data so that other modules
// may put them into constant tables of their own.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int CANNON_W = 13, CANNON_H = 8;
constexpr int SHOT_W = 3, SHOT_H = 8;
constexpr int BOMB_W = 3, BOMB_H = 8;
constexpr int INVADER1_W = 12, INVADER2_W = 10, INVADER3_W = 8, INVADER_H = 8;
constexpr int EXPLOSION_W = 8, EXPLOSION_H = 8;
constexpr int SAUCER_W = 16, SAUCER_H = 8;
constexpr int SHIELD_BLOCK_W = 4, SHIELD_BLOCK_H = 8;
constexpr int GLYPH_W = 8, GLYPH_H = 8;

// 128 entries by character code; nullptr where a code has no glyph (space
// among them), which the draw queue turns into a black square.
extern const uint8_t* const (&font_table)[128];

// The two screen images, w x h gray bytes each, drawn whole and opaque. Their
// pixels are the artwork files under assets/embed/, compiled into the game.
constexpr int IMAGE_SPLASH_W = 162, IMAGE_SPLASH_H = 58;
constexpr int IMAGE_TITLE_W = 320, IMAGE_TITLE_H = 240;
extern const uint8_t* const IMAGE_SPLASH;
extern const uint8_t* const IMAGE_TITLE;

// Frame selectors: each queues one command; a frame outside its table queues
// nothing.
void draw_bomb_frame(int x, int y, int frame);      // frames 0..3
void draw_invader_frame(int x, int y, int frame);   // frames 0..5
// The saucer's selector with its row given; game/saucer.h's draw_saucer_frame
// supplies the saucer's current y.
void draw_saucer_frame_at(int x, int y, int frame); // frames 0..2: eraser, two pictures

// ---------------------------------------------------------------------------
// Pictures as text.

template <int W, int H>
struct Picture {
    uint8_t bytes[W * H];
};

// Never defined: a picture with a character other than '#', '+' or '.' fails
// to compile.
[[noreturn]] void picture_has_a_bad_character();

constexpr uint8_t picture_level(char c) {
    if (c == '#') return 255;
    if (c == '+') return 128;
    if (c != '.') picture_has_a_bad_character();
    return 0;
}

// Rows of W characters, top row first, written as consecutive string literals.
template <int W, int H, size_t N>
constexpr Picture<W, H> picture(const char (&art)[N]) {
    static_assert(N == size_t(W) * H + 1, "a picture needs exactly W x H characters");
    Picture<W, H> p{};
    for (int i = 0; i < W * H; ++i) p.bytes[i] = picture_level(art[i]);
    return p;
}

namespace sprite_art {

inline constexpr auto CANNON = picture<CANNON_W, CANNON_H>(
    "......#......"
    ".....###....."
    "..##.###.##.."
    "..#...#...#.."
    ".###..#..###."
    "#.###.#.###.#"
    "#..#######..#"
    ".###########.");

inline constexpr auto CANNON_EXPLOSION_A = picture<CANNON_W, CANNON_H>(
    "............."
    "............."
    "....#+..+...."
    "+...+.+....+#"
    "..+....#.+.+."
    "+.....+.#+#.#"
    "+..+##+++#..#"
    ".###########.");

inline constexpr auto CANNON_EXPLOSION_B = picture<CANNON_W, CANNON_H>(
    "............."
    ".....#......."
    "...+.+....#.."
    "..+..+..#.+.."
    "...#...+....."
    "....+.+.+.#.+"
    "#..#+##+##..#"
    ".###########.");

inline constexpr auto SHOT = picture<SHOT_W, SHOT_H>(
    ".#."
    "###"
    "###"
    ".#."
    ".#."
    ".#."
    ".#."
    "###");

// Bombs A and B hold the same bytes: two of the three bomb frames look alike.
inline constexpr auto BOMB_A = picture<BOMB_W, BOMB_H>(
    "..."
    ".#."
    ".#."
    "..."
    ".#."
    "###"
    "###"
    ".#.");

inline constexpr auto BOMB_B = picture<BOMB_W, BOMB_H>(
    "..."
    ".#."
    ".#."
    "..."
    ".#."
    "###"
    "###"
    ".#.");

inline constexpr auto BOMB_C = picture<BOMB_W, BOMB_H>(
    "#.."
    ".#."
    "..#"
    ".#."
    "#.."
    ".#."
    "..#"
    ".#.");

inline constexpr auto INVADER1_A = picture<INVADER1_W, INVADER_H>(
    "..##....##.."
    "...##..##..."
    "..########.."
    ".##..##..##."
    "##.######.##"
    "############"
    "############"
    "#.#.#.#.#.#.");

inline constexpr auto INVADER1_B = picture<INVADER1_W, INVADER_H>(
    ".##......##."
    "...##..##..."
    "..########.."
    ".##..##..##."
    "##.######.##"
    "############"
    "############"
    ".#.#.#.#.#.#");

inline constexpr auto INVADER2_A = picture<INVADER2_W, INVADER_H>(
    "##......##"
    ".##....##."
    ".########."
    "##.####.##"
    "###.##.###"
    ".########."
    "..#.#..#.."
    "##...#..##");

inline constexpr auto INVADER2_B = picture<INVADER2_W, INVADER_H>(
    ".##....##."
    "#.##..##.#"
    ".########."
    "##.####.##"
    "###.##.###"
    ".########."
    "#....#..#."
    "##..#..##.");

inline constexpr auto INVADER3_A = picture<INVADER3_W, INVADER_H>(
    ".#....#."
    ".##..##."
    "########"
    "#.####.#"
    "########"
    ".#....#."
    "#......#"
    ".##..##.");

inline constexpr auto INVADER3_B = picture<INVADER3_W, INVADER_H>(
    ".#....#."
    ".##..##."
    "########"
    "#.####.#"
    "########"
    "#......#"
    "#.#..#.#"
    ".#....#.");

inline constexpr auto EXPLOSION = picture<EXPLOSION_W, EXPLOSION_H>(
    "...##..."
    ".#....#."
    "..#..#.."
    "#......#"
    "#......#"
    "..#..#.."
    ".#....#."
    "...##...");

inline constexpr auto SAUCER_A = picture<SAUCER_W, SAUCER_H>(
    ".....######....."
    "....########...."
    "...##.###.###..."
    "...##.###.###..."
    "................"
    "################"
    "..############.."
    "...##..##..##...");

inline constexpr auto SAUCER_B = picture<SAUCER_W, SAUCER_H>(
    "................"
    ".....######....."
    "....########...."
    "...###.###.##..."
    "...###.###.##..."
    "################"
    "..############.."
    ".....##..##.....");

inline constexpr auto SHIELD = picture<SHIELD_BLOCK_W, SHIELD_BLOCK_H>(
    "####"
    "####"
    "####"
    "####"
    "####"
    "####"
    "####"
    "####");

// A shield block whose neighbour below was destroyed.
inline constexpr auto SHIELD_BOTTOM_DAMAGED = picture<SHIELD_BLOCK_W, SHIELD_BLOCK_H>(
    "####"
    "####"
    "####"
    "####"
    "####"
    "#.##"
    "##.#"
    "...#");

// ... whose neighbour above was destroyed.
inline constexpr auto SHIELD_TOP_DAMAGED = picture<SHIELD_BLOCK_W, SHIELD_BLOCK_H>(
    "#..."
    "##.#"
    "#.##"
    "####"
    "####"
    "####"
    "####"
    "####");

// ... whose neighbour to the right was destroyed.
inline constexpr auto SHIELD_RIGHT_DAMAGED = picture<SHIELD_BLOCK_W, SHIELD_BLOCK_H>(
    "###."
    "##.."
    "###."
    "####"
    "###."
    "##.#"
    "###."
    "####");

// ... whose neighbour to the left was destroyed.
inline constexpr auto SHIELD_LEFT_DAMAGED = picture<SHIELD_BLOCK_W, SHIELD_BLOCK_H>(
    "####"
    ".###"
    "####"
    "#.##"
    ".###"
    "..##"
    ".###"
    "####");

}  // namespace sprite_art

// Each sprite is w x h gray bytes, row-major, opaque. Sizes travel with the
// draw call; the constants above give them by name.
inline constexpr const uint8_t (&SPRITE_CANNON)[CANNON_W * CANNON_H] = sprite_art::CANNON.bytes;
inline constexpr const uint8_t (&SPRITE_CANNON_EXPLOSION_A)[CANNON_W * CANNON_H] =
    sprite_art::CANNON_EXPLOSION_A.bytes;
inline constexpr const uint8_t (&SPRITE_CANNON_EXPLOSION_B)[CANNON_W * CANNON_H] =
    sprite_art::CANNON_EXPLOSION_B.bytes;
inline constexpr const uint8_t (&SPRITE_SHOT)[SHOT_W * SHOT_H] = sprite_art::SHOT.bytes;
inline constexpr const uint8_t (&SPRITE_BOMB_A)[BOMB_W * BOMB_H] = sprite_art::BOMB_A.bytes;
inline constexpr const uint8_t (&SPRITE_BOMB_B)[BOMB_W * BOMB_H] = sprite_art::BOMB_B.bytes;
inline constexpr const uint8_t (&SPRITE_BOMB_C)[BOMB_W * BOMB_H] = sprite_art::BOMB_C.bytes;
inline constexpr const uint8_t (&SPRITE_INVADER1_A)[INVADER1_W * INVADER_H] = sprite_art::INVADER1_A.bytes;
inline constexpr const uint8_t (&SPRITE_INVADER1_B)[INVADER1_W * INVADER_H] = sprite_art::INVADER1_B.bytes;
inline constexpr const uint8_t (&SPRITE_INVADER2_A)[INVADER2_W * INVADER_H] = sprite_art::INVADER2_A.bytes;
inline constexpr const uint8_t (&SPRITE_INVADER2_B)[INVADER2_W * INVADER_H] = sprite_art::INVADER2_B.bytes;
inline constexpr const uint8_t (&SPRITE_INVADER3_A)[INVADER3_W * INVADER_H] = sprite_art::INVADER3_A.bytes;
inline constexpr const uint8_t (&SPRITE_INVADER3_B)[INVADER3_W * INVADER_H] = sprite_art::INVADER3_B.bytes;
inline constexpr const uint8_t (&SPRITE_EXPLOSION)[EXPLOSION_W * EXPLOSION_H] = sprite_art::EXPLOSION.bytes;
inline constexpr const uint8_t (&SPRITE_SAUCER_A)[SAUCER_W * SAUCER_H] = sprite_art::SAUCER_A.bytes;
inline constexpr const uint8_t (&SPRITE_SAUCER_B)[SAUCER_W * SAUCER_H] = sprite_art::SAUCER_B.bytes;
inline constexpr const uint8_t (&SPRITE_SHIELD)[SHIELD_BLOCK_W * SHIELD_BLOCK_H] = sprite_art::SHIELD.bytes;
inline constexpr const uint8_t (&SPRITE_SHIELD_BOTTOM_DAMAGED)[SHIELD_BLOCK_W * SHIELD_BLOCK_H] =
    sprite_art::SHIELD_BOTTOM_DAMAGED.bytes;
inline constexpr const uint8_t (&SPRITE_SHIELD_TOP_DAMAGED)[SHIELD_BLOCK_W * SHIELD_BLOCK_H] =
    sprite_art::SHIELD_TOP_DAMAGED.bytes;
inline constexpr const uint8_t (&SPRITE_SHIELD_RIGHT_DAMAGED)[SHIELD_BLOCK_W * SHIELD_BLOCK_H] =
    sprite_art::SHIELD_RIGHT_DAMAGED.bytes;
inline constexpr const uint8_t (&SPRITE_SHIELD_LEFT_DAMAGED)[SHIELD_BLOCK_W * SHIELD_BLOCK_H] =
    sprite_art::SHIELD_LEFT_DAMAGED.bytes;
