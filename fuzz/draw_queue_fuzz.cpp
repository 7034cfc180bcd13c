// Fuzzes the draw queue and the presenter with the real 2500 x 1300 surface
// (SDL's dummy video driver): any sequence of fills, sprites and glyphs with
// any coordinates and sizes, int16 extremes included, with drains, paced
// presents and screen clears in between. After every operation the ring's
// invariants hold; after every drain the only pixels that changed lie inside
// the drained rectangles and hold gray values, and AddressSanitizer sees
// every write outside the surface and every read outside a sprite.
//
// Input: one opcode byte per operation, then its operands (16-bit values are
// little-endian), see run_op.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "replay/replay_clock.h"
#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/sprites.h"

namespace {

constexpr size_t SCREEN_PIXELS = size_t(SCREEN_WIDTH) * SCREEN_HEIGHT;
// Sprites point at the end of this heap block, so reading one byte past a
// w x h bitmap is an AddressSanitizer error.
constexpr size_t SPRITE_BYTES = size_t(1) << 20;
// The most commands one input may queue: with 1 x 1 fills this reaches the
// full ring many times over and keeps one run short.
constexpr int MAX_QUEUE_OPS = 20000;

std::vector<uint8_t>* sprite_block;
std::vector<uint32_t>* before;      // the surface before a drain
std::vector<uint8_t>* drawn;        // 1 where a drained rectangle lies

uint32_t* surface_pixels() { return static_cast<uint32_t*>(presenter.screen->pixels); }

void check_ring(const char* after) {
    const DrawQueue& q = draw_queue;
    FUZZ_CHECK(q.read_index >= 0 && q.read_index < DRAW_QUEUE_CAPACITY, "after %s: read_index %d", after,
               q.read_index);
    FUZZ_CHECK(q.write_index >= 0 && q.write_index < DRAW_QUEUE_CAPACITY, "after %s: write_index %d", after,
               q.write_index);
    FUZZ_CHECK(q.pending >= 0 && q.pending <= DRAW_QUEUE_CAPACITY - 1, "after %s: pending %d", after, q.pending);
    FUZZ_CHECK(q.pending == (q.write_index - q.read_index + DRAW_QUEUE_CAPACITY) % DRAW_QUEUE_CAPACITY,
               "after %s: pending %d, read %d, write %d", after, q.pending, q.read_index, q.write_index);
}

// After one queueing call: the ring holds, and the call either queued or
// found the ring full.
void check_queued(int result, const char* what) {
    check_ring(what);
    FUZZ_CHECK(result == DRAW_OK || result == DRAW_QUEUE_FULL, "%s returned %d", what, result);
}

// Marks the on-screen part of every pending command. The checker's own
// pixel loops are left out of the coverage tracing: they would cost more
// than everything else and say nothing about the game's code.
__attribute__((no_sanitize("coverage"))) void mark_pending() {
    std::memset(drawn->data(), 0, SCREEN_PIXELS);
    int index = draw_queue.read_index;
    for (int n = 0; n < draw_queue.pending; ++n) {
        const DrawCommand& c = draw_queue.commands[index];
        index = (index + 1) % DRAW_QUEUE_CAPACITY;
        if (c.w <= 0 || c.h <= 0) continue;
        int x0 = c.x < 0 ? 0 : c.x, y0 = c.y < 0 ? 0 : c.y;
        int x1 = c.x + c.w > SCREEN_WIDTH ? SCREEN_WIDTH : c.x + c.w;
        int y1 = c.y + c.h > SCREEN_HEIGHT ? SCREEN_HEIGHT : c.y + c.h;
        for (int y = y0; y < y1; ++y)
            if (x1 > x0) std::memset(drawn->data() + size_t(y) * SCREEN_WIDTH + size_t(x0), 1, size_t(x1 - x0));
    }
}

// Every changed pixel lies inside a drained rectangle and holds a gray value.
__attribute__((no_sanitize("coverage"))) void check_changes() {
    const uint32_t* now = surface_pixels();
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        size_t row = size_t(y) * SCREEN_WIDTH;
        if (std::memcmp(before->data() + row, now + row, size_t(SCREEN_WIDTH) * 4) == 0) continue;
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            uint32_t p = now[row + size_t(x)];
            if (p == (*before)[row + size_t(x)]) continue;
            FUZZ_CHECK((*drawn)[row + size_t(x)], "pixel (%d,%d) changed outside every drained rectangle", x, y);
            FUZZ_CHECK(p == gray_pixel(uint8_t(p)), "pixel (%d,%d) = 0x%08x is not a gray level", x, y, p);
        }
    }
}

// Remembers the surface, drains (flush or present), then compares.
template <typename Drain>
void checked_drain(Drain drain, bool expect_painting) {
    mark_pending();
    std::memcpy(before->data(), surface_pixels(), SCREEN_PIXELS * 4);
    const int pending = draw_queue.pending, read_index = draw_queue.read_index;
    drain();
    check_ring("a drain");
    if (!expect_painting) {
        FUZZ_CHECK(draw_queue.pending == pending && draw_queue.read_index == read_index,
                   "a present with presenting off touched the queue");
        FUZZ_CHECK(std::memcmp(before->data(), surface_pixels(), SCREEN_PIXELS * 4) == 0,
                   "a present with presenting off painted");
        return;
    }
    FUZZ_CHECK(draw_queue.pending == 0 && draw_queue.read_index == draw_queue.write_index,
               "a drain left %d pending", draw_queue.pending);
    check_changes();
}

// A sprite of w x h at the end of the sprite block; sizes whose bitmap would
// not fit are cut down in height (the game's pictures are all small).
const uint8_t* sprite_for(int16_t w, int16_t& h) {
    const uint8_t* end = sprite_block->data() + sprite_block->size();
    if (w <= 0 || h <= 0) return end;
    if (size_t(w) * size_t(h) > SPRITE_BYTES) h = int16_t(SPRITE_BYTES / size_t(w));
    return end - size_t(w) * size_t(h);
}

void run_op(ByteReader& in, int& queued) {
    const int pending = draw_queue.pending, write_index = draw_queue.write_index;
    const int op = in.u8() % 8;
    switch (op) {
        case 0:    // fill at 16-bit coordinates
        case 1: {  // or at any int coordinates: the queue keeps 16 bits
            const int32_t x = op == 0 ? in.i16() : in.i32(), y = op == 0 ? in.i16() : in.i32();
            const int16_t w = in.i16(), h = in.i16();
            check_queued(draw_fill(x, y, w, h, in.u8()), "draw_fill");
            ++queued;
            break;
        }
        case 2: {  // sprite
            int16_t x = in.i16(), y = in.i16(), w = in.i16(), h = in.i16();
            const uint8_t* pixels = sprite_for(w, h);
            check_queued(draw_sprite(x, y, w, h, pixels), "draw_sprite");
            ++queued;
            break;
        }
        case 3: {  // glyph with any code
            int16_t x = in.i16(), y = in.i16();
            int code = in.u8() & 1 ? int(in.i32()) : int(in.u8());
            int r = draw_glyph(x, y, code);
            if (code < 0 || code > 127) {
                check_ring("draw_glyph");
                FUZZ_CHECK(r == DRAW_BAD_CHAR, "draw_glyph of code %d returned %d", code, r);
                FUZZ_CHECK(draw_queue.pending == pending && draw_queue.write_index == write_index,
                           "draw_glyph of code %d queued something", code);
            } else {
                check_queued(r, "draw_glyph");
            }
            ++queued;
            break;
        }
        case 4: {  // many small fills: fills the ring, and overfills it
            int count = in.u16() % 4096;
            int16_t x = in.i16(), y = in.i16();
            uint8_t size = in.u8();
            int16_t w = int16_t(size & 3), h = int16_t((size >> 2) & 3);
            for (int i = 0; i < count && queued < MAX_QUEUE_OPS; ++i, ++queued) {
                int r = draw_fill(int16_t(x + i), y, w, h, uint8_t(i));
                check_queued(r, "draw_fill (bulk)");
            }
            break;
        }
        case 5:  // flush: paints whatever is pending, presenting or not
            checked_drain([] { video_flush(); }, true);
            break;
        case 6: {  // paced present after some milliseconds, presenting on or off
            uint8_t flags = in.u8();
            replay_clock.now += in.u8();
            video_set_presenting(flags & 1);
            bool on = flags & 1;
            checked_drain(
                [on] {
                    int r = video_present();
                    FUZZ_CHECK(r == (on ? DRAW_OK : DRAW_NOT_PRESENTING), "video_present returned %d", r);
                },
                on);
            break;
        }
        default:  // clear: everything queued is dropped for one black screen
            draw_clear_screen();
            check_ring("draw_clear_screen");
            FUZZ_CHECK(draw_queue.pending == 1, "draw_clear_screen left %d pending", draw_queue.pending);
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The dummy window nobody sees is shown at a tenth of its size: the
    // surface stays 2500 x 1300, and each window update costs a third.
    setenv("SDL12COMPAT_WINDOW_SCALING", "0.1", 0);
    replay_clock_start(0);
    FUZZ_CHECK(video_init() == 0, "the dummy video driver did not start: %s", SDL_GetError());
    sprite_block = new std::vector<uint8_t>(SPRITE_BYTES);
    for (size_t i = 0; i < SPRITE_BYTES; ++i) (*sprite_block)[i] = uint8_t(i * 7 + 1);
    before = new std::vector<uint32_t>(SCREEN_PIXELS);
    drawn = new std::vector<uint8_t>(SCREEN_PIXELS);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in{data, size};
    draw_queue_reset();
    video_set_presenting(1);
    int queued = 0;
    while (!in.empty() && queued < MAX_QUEUE_OPS) run_op(in, queued);
    // Whatever is left is painted too, as the next frame would.
    checked_drain([] { video_flush(); }, true);
    return 0;
}
