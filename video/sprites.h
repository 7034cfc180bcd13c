// The picture catalogue: every sprite, the font and the two screen images,
// as constant gray bitmaps, and the frame selectors that pick a picture.
#pragma once
#include <cstdint>

// Each sprite is w x h gray bytes, row-major, opaque. Sizes travel with the
// draw call; the constants below give them by name.
extern const uint8_t SPRITE_CANNON[];
extern const uint8_t SPRITE_CANNON_EXPLOSION_A[];
extern const uint8_t SPRITE_CANNON_EXPLOSION_B[];
extern const uint8_t SPRITE_SHOT[];
extern const uint8_t SPRITE_BOMB_A[];
extern const uint8_t SPRITE_BOMB_B[];
extern const uint8_t SPRITE_BOMB_C[];
extern const uint8_t SPRITE_INVADER1_A[];
extern const uint8_t SPRITE_INVADER1_B[];
extern const uint8_t SPRITE_INVADER2_A[];
extern const uint8_t SPRITE_INVADER2_B[];
extern const uint8_t SPRITE_INVADER3_A[];
extern const uint8_t SPRITE_INVADER3_B[];
extern const uint8_t SPRITE_EXPLOSION[];
extern const uint8_t SPRITE_SAUCER_A[];
extern const uint8_t SPRITE_SAUCER_B[];
extern const uint8_t SPRITE_SHIELD[];
extern const uint8_t SPRITE_SHIELD_BOTTOM_DAMAGED[];
extern const uint8_t SPRITE_SHIELD_TOP_DAMAGED[];
extern const uint8_t SPRITE_SHIELD_RIGHT_DAMAGED[];
extern const uint8_t SPRITE_SHIELD_LEFT_DAMAGED[];

constexpr int CANNON_W = 13, CANNON_H = 8;
constexpr int SHOT_W = 3, SHOT_H = 8;
constexpr int BOMB_W = 3, BOMB_H = 8;
constexpr int INVADER1_W = 12, INVADER2_W = 10, INVADER3_W = 8, INVADER_H = 8;
constexpr int EXPLOSION_W = 8, EXPLOSION_H = 8;
constexpr int SAUCER_W = 16, SAUCER_H = 8;
constexpr int SHIELD_BLOCK_W = 4, SHIELD_BLOCK_H = 8;
constexpr int GLYPH_W = 8, GLYPH_H = 8;

// 128 entries by character code; nullptr where a code has no glyph.
extern const uint8_t* const font_table[128];

constexpr int IMAGE_SPLASH_W = 162, IMAGE_SPLASH_H = 58;
constexpr int IMAGE_TITLE_W = 320, IMAGE_TITLE_H = 240;
extern const uint8_t IMAGE_SPLASH[];
extern const uint8_t IMAGE_TITLE[];

// Frame selectors: each queues one command; a frame outside its table queues
// nothing.
void draw_bomb_frame(int x, int y, int frame);      // frames 0..5
void draw_invader_frame(int x, int y, int frame);   // frames 0..10
// The saucer's selector with its row given; game/saucer.h's draw_saucer_frame
// supplies the saucer's current y.
void draw_saucer_frame_at(int x, int y, int frame); // frames 0..4
