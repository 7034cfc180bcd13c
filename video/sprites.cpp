// Stand-in picture catalogue until the real artwork lands: blank sprites and
// no glyphs, with the right sizes.
#include "video/sprites.h"

#include "video/draw_queue.h"

const uint8_t SPRITE_CANNON[CANNON_W * CANNON_H] = {};
const uint8_t SPRITE_CANNON_EXPLOSION_A[CANNON_W * CANNON_H] = {};
const uint8_t SPRITE_CANNON_EXPLOSION_B[CANNON_W * CANNON_H] = {};
const uint8_t SPRITE_SHOT[SHOT_W * SHOT_H] = {};
const uint8_t SPRITE_BOMB_A[BOMB_W * BOMB_H] = {};
const uint8_t SPRITE_BOMB_B[BOMB_W * BOMB_H] = {};
const uint8_t SPRITE_BOMB_C[BOMB_W * BOMB_H] = {};
const uint8_t SPRITE_INVADER1_A[INVADER1_W * INVADER_H] = {};
const uint8_t SPRITE_INVADER1_B[INVADER1_W * INVADER_H] = {};
const uint8_t SPRITE_INVADER2_A[INVADER2_W * INVADER_H] = {};
const uint8_t SPRITE_INVADER2_B[INVADER2_W * INVADER_H] = {};
const uint8_t SPRITE_INVADER3_A[INVADER3_W * INVADER_H] = {};
const uint8_t SPRITE_INVADER3_B[INVADER3_W * INVADER_H] = {};
const uint8_t SPRITE_EXPLOSION[EXPLOSION_W * EXPLOSION_H] = {};
const uint8_t SPRITE_SAUCER_A[SAUCER_W * SAUCER_H] = {};
const uint8_t SPRITE_SAUCER_B[SAUCER_W * SAUCER_H] = {};
const uint8_t SPRITE_SHIELD[SHIELD_BLOCK_W * SHIELD_BLOCK_H] = {};
const uint8_t SPRITE_SHIELD_BOTTOM_DAMAGED[SHIELD_BLOCK_W * SHIELD_BLOCK_H] = {};
const uint8_t SPRITE_SHIELD_TOP_DAMAGED[SHIELD_BLOCK_W * SHIELD_BLOCK_H] = {};
const uint8_t SPRITE_SHIELD_RIGHT_DAMAGED[SHIELD_BLOCK_W * SHIELD_BLOCK_H] = {};
const uint8_t SPRITE_SHIELD_LEFT_DAMAGED[SHIELD_BLOCK_W * SHIELD_BLOCK_H] = {};
const uint8_t* const font_table[128] = {};
const uint8_t IMAGE_SPLASH[IMAGE_SPLASH_W * IMAGE_SPLASH_H] = {};
const uint8_t IMAGE_TITLE[IMAGE_TITLE_W * IMAGE_TITLE_H] = {};

void draw_bomb_frame(int, int, int) {}
void draw_invader_frame(int, int, int) {}
void draw_saucer_frame_at(int, int, int) {}
