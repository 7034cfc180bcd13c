// Fuzzes draw_text with any bytes at any position, into a ring that already
// holds any number of commands. The ring's invariants hold, nothing but 8 x 8
// glyph commands is queued, never more than one per character and never more
// than 1000, and characters after the 1000th change nothing. A text started
// inside the screen only queues glyphs that lie inside it.
//
// Input: x and y (16-bit, little-endian), the number of commands already
// waiting (16-bit, taken modulo 3072), then the text's bytes.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "video/draw_queue.h"
#include "video/sprites.h"
#include "video/text.h"

namespace {

void check_ring() {
    const DrawQueue& q = draw_queue;
    FUZZ_CHECK(q.read_index >= 0 && q.read_index < DRAW_QUEUE_CAPACITY, "read_index %d", q.read_index);
    FUZZ_CHECK(q.write_index >= 0 && q.write_index < DRAW_QUEUE_CAPACITY, "write_index %d", q.write_index);
    FUZZ_CHECK(q.pending >= 0 && q.pending <= DRAW_QUEUE_CAPACITY - 1, "pending %d", q.pending);
    FUZZ_CHECK(q.pending == (q.write_index - q.read_index + DRAW_QUEUE_CAPACITY) % DRAW_QUEUE_CAPACITY,
               "pending %d, read %d, write %d", q.pending, q.read_index, q.write_index);
}

// Queues `waiting` 1 x 1 fills, then the text; returns what the text queued.
std::vector<DrawCommand> queue_text(int x, int y, int waiting, const std::string& text) {
    draw_queue_reset();
    for (int i = 0; i < waiting; ++i) draw_fill(0, 0, 1, 1, 0);
    int before = draw_queue.pending;
    draw_text(x, y, text.c_str());
    check_ring();
    FUZZ_CHECK(draw_queue.pending >= before, "draw_text removed commands: %d -> %d", before, draw_queue.pending);
    std::vector<DrawCommand> out;
    int index = (draw_queue.read_index + before) % DRAW_QUEUE_CAPACITY;
    for (int n = before; n < draw_queue.pending; ++n) {
        out.push_back(draw_queue.commands[index]);
        index = (index + 1) % DRAW_QUEUE_CAPACITY;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader in{data, size};
    int x = in.i16(), y = in.i16();
    int waiting = in.u16() % DRAW_QUEUE_CAPACITY;  // 3071 is a full ring
    // The text ends at the first zero byte, as a C string does.
    std::string text(reinterpret_cast<const char*>(data + in.pos), size - in.pos);
    text.resize(std::strlen(text.c_str()));

    std::vector<DrawCommand> queued = queue_text(x, y, waiting, text);
    size_t limit = text.size() < size_t(TEXT_MAX_CHARS) ? text.size() : size_t(TEXT_MAX_CHARS);
    FUZZ_CHECK(queued.size() <= limit, "%zu glyphs queued for %zu characters", queued.size(), text.size());
    bool inside = x >= 0 && x <= TEXT_LAST_X && y >= 0 && y <= TEXT_LAST_Y;
    for (const DrawCommand& c : queued) {
        FUZZ_CHECK(c.w == GLYPH_W && c.h == GLYPH_H && c.gray == 0, "a %dx%d command of gray %d in a text", c.w,
                   c.h, c.gray);
        if (inside) {
            FUZZ_CHECK(c.x >= 0 && c.x <= TEXT_LAST_X && c.y >= 0 && c.y <= TEXT_LAST_Y,
                       "text started at (%d,%d) put a glyph at (%d,%d)", x, y, c.x, c.y);
        }
    }
    if (text.size() > size_t(TEXT_MAX_CHARS)) {
        std::vector<DrawCommand> cut = queue_text(x, y, waiting, text.substr(0, TEXT_MAX_CHARS));
        FUZZ_CHECK(cut.size() == queued.size(), "characters after the 1000th queued %zu more glyphs",
                   queued.size() - cut.size());
        for (size_t i = 0; i < cut.size(); ++i) {
            const DrawCommand &a = cut[i], &b = queued[i];
            FUZZ_CHECK(a.pixels == b.pixels && a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h,
                       "characters after the 1000th changed glyph %zu", i);
        }
    }
    draw_queue_reset();
    return 0;
}
