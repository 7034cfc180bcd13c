// The part of the window a drain changed, kept as a coarse grid of tiles and
// turned into a short list of rectangles for the window update. Updating only
// what changed is what keeps a frame cheap on displays without a fast path.
#pragma once
#include <cstdint>

constexpr int UPDATE_TILE = 50;                         // tile edge in pixels
constexpr int UPDATE_TILES_X = 50;                      // 2500 / 50
constexpr int UPDATE_TILES_Y = 26;                      // 1300 / 50
constexpr int UPDATE_MAX_RECTS = 128;                   // more: the whole window

struct UpdateRect {
    int16_t x;
    int16_t y;
    uint16_t w;
    uint16_t h;
};

struct UpdateRegion {
    uint64_t tiles[UPDATE_TILES_Y];  // bit c of row r: tile (c, r) changed
    bool whole;                      // update the whole window
    int count;                       // rectangles in rects (when not whole)
    UpdateRect rects[UPDATE_MAX_RECTS];
};

void update_region_clear(UpdateRegion& region);
// Marks the screen rectangle [x0, x1) x [y0, y1), already clipped to the screen.
void update_region_add(UpdateRegion& region, int x0, int y0, int x1, int y1);
// Turns the marked tiles into rectangles: runs of tiles along each tile row,
// merged downwards where the run below is the same. Sets `whole` when every
// tile changed or the list would overflow.
void update_region_build(UpdateRegion& region);
// True when nothing was marked.
bool update_region_empty(const UpdateRegion& region);
