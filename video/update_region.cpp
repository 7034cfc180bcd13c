// The changed part of the window as a tile grid and its rectangle list.
#include "video/update_region.h"

#include "video/draw_queue.h"

static_assert(UPDATE_TILES_X * UPDATE_TILE == SCREEN_WIDTH, "tiles cover the width");
static_assert(UPDATE_TILES_Y * UPDATE_TILE == SCREEN_HEIGHT, "tiles cover the height");
static_assert(UPDATE_TILES_X <= 64, "one tile row fits one word");

namespace {
constexpr uint64_t FULL_ROW = (uint64_t(1) << UPDATE_TILES_X) - 1;
}

void update_region_clear(UpdateRegion& region) {
    for (uint64_t& row : region.tiles) row = 0;
    region.whole = false;
    region.count = 0;
}

void update_region_add(UpdateRegion& region, int x0, int y0, int x1, int y1) {
    if (x0 >= x1 || y0 >= y1) return;
    int c0 = x0 / UPDATE_TILE, c1 = (x1 - 1) / UPDATE_TILE;
    int r0 = y0 / UPDATE_TILE, r1 = (y1 - 1) / UPDATE_TILE;
    uint64_t bits = (FULL_ROW >> (UPDATE_TILES_X - 1 - (c1 - c0))) << c0;
    for (int r = r0; r <= r1; ++r) region.tiles[r] |= bits;
}

bool update_region_empty(const UpdateRegion& region) {
    for (uint64_t row : region.tiles)
        if (row) return false;
    return true;
}

void update_region_build(UpdateRegion& region) {
    region.count = 0;
    region.whole = false;
    bool all = true;
    for (uint64_t row : region.tiles) all = all && row == FULL_ROW;
    if (all) {
        region.whole = true;
        return;
    }
    for (int r = 0; r < UPDATE_TILES_Y; ++r) {
        int row_first = region.count;
        uint64_t row = region.tiles[r];
        int c = 0;
        while (c < UPDATE_TILES_X) {
            if (!((row >> c) & 1)) {
                ++c;
                continue;
            }
            int start = c;
            while (c < UPDATE_TILES_X && ((row >> c) & 1)) ++c;
            int16_t x = int16_t(start * UPDATE_TILE);
            uint16_t w = uint16_t((c - start) * UPDATE_TILE);
            // The same run directly above (ending on the row above) grows down.
            bool merged = false;
            for (int i = 0; i < row_first; ++i) {
                UpdateRect& above = region.rects[i];
                if (above.x == x && above.w == w && above.y + above.h == r * UPDATE_TILE) {
                    above.h = uint16_t(above.h + UPDATE_TILE);
                    merged = true;
                    break;
                }
            }
            if (merged) continue;
            if (region.count == UPDATE_MAX_RECTS) {
                region.whole = true;
                region.count = 0;
                return;
            }
            region.rects[region.count++] = UpdateRect{x, int16_t(r * UPDATE_TILE), w, uint16_t(UPDATE_TILE)};
        }
    }
}
