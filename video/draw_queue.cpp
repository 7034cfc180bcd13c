// The draw queue: a ring of 3072 rectangle commands filled by every producer
// and emptied, in order, by the presenter.
#include "video/draw_queue.h"

#include "video/sprites.h"

DrawQueue draw_queue;

namespace {

// Takes the next free slot, or nullptr when the ring is full (one slot always
// stays empty, so at most 3071 commands wait).
DrawCommand* queue_slot() {
    int next = (draw_queue.write_index + 1) % DRAW_QUEUE_CAPACITY;
    if (next == draw_queue.read_index) return nullptr;
    return &draw_queue.commands[draw_queue.write_index];
}

void queue_commit() {
    draw_queue.write_index = (draw_queue.write_index + 1) % DRAW_QUEUE_CAPACITY;
    draw_queue.pending += 1;
}

}  // namespace

int draw_fill(int x, int y, int16_t w, int16_t h, uint8_t gray) {
    DrawCommand* c = queue_slot();
    if (!c) return DRAW_QUEUE_FULL;
    *c = DrawCommand{nullptr, int16_t(x), int16_t(y), w, h, gray};
    queue_commit();
    return DRAW_OK;
}

int draw_sprite(int x, int y, int16_t w, int16_t h, const uint8_t* pixels) {
    DrawCommand* c = queue_slot();
    if (!c) return DRAW_QUEUE_FULL;
    *c = DrawCommand{pixels, int16_t(x), int16_t(y), w, h, 0};
    queue_commit();
    return DRAW_OK;
}

int draw_glyph(int x, int y, int code) {
    // The character test comes before the full test.
    if (unsigned(code) > 127u) return DRAW_BAD_CHAR;
    DrawCommand* c = queue_slot();
    if (!c) return DRAW_QUEUE_FULL;
    // A code without a glyph is a black square that erases what lies under it.
    *c = DrawCommand{font_table[code], int16_t(x), int16_t(y), GLYPH_W, GLYPH_H, 0};
    queue_commit();
    return DRAW_OK;
}

void draw_clear_screen() {
    draw_queue.read_index = 0;
    draw_queue.commands[0] = DrawCommand{nullptr, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0};
    draw_queue.pending = 1;
    draw_queue.write_index = 1;
}

void draw_queue_reset() {
    draw_queue.read_index = 0;
    draw_queue.write_index = 0;
    draw_queue.pending = 0;
}
