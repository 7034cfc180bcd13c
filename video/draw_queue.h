// The draw queue: every picture the game shows is queued here as a rectangle
// command and painted later, in queueing order, by the presenter.
#pragma once
#include <cstdint>

constexpr int SCREEN_WIDTH = 2500;
constexpr int SCREEN_HEIGHT = 1300;
constexpr int DRAW_QUEUE_CAPACITY = 3072;

// Result codes of the queueing operations and of the presenter.
constexpr int DRAW_OK = 0;
constexpr int DRAW_BAD_CHAR = 1;
constexpr int DRAW_NOT_PRESENTING = 2;
constexpr int DRAW_QUEUE_FULL = 4;

// One queued rectangle: a solid gray fill (pixels == nullptr) or an opaque
// w x h gray bitmap that the command only points at.
struct DrawCommand {
    const uint8_t* pixels;
    int16_t x;
    int16_t y;
    int16_t w;
    int16_t h;
    uint8_t gray;
};

// A ring of commands. One slot always stays empty, so at most 3071 wait.
struct DrawQueue {
    DrawCommand commands[DRAW_QUEUE_CAPACITY];
    int read_index;
    int write_index;
    int pending;
};

extern DrawQueue draw_queue;

int draw_fill(int x, int y, int16_t w, int16_t h, uint8_t gray);
int draw_sprite(int x, int y, int16_t w, int16_t h, const uint8_t* pixels);
int draw_glyph(int x, int y, int code);
// Discards everything queued and leaves one full-screen black fill.
void draw_clear_screen();
// Empties the queue without painting (start of a test or a new run).
void draw_queue_reset();

// The painted 32-bit value of gray level g: 0xFF000000 | g<<16 | g<<8 | g.
constexpr uint32_t gray_pixel(uint8_t g) {
    return 0xFF000000u | (uint32_t(g) << 16) | (uint32_t(g) << 8) | uint32_t(g);
}
