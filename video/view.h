// The picture's place in the window: how large the 2500 x 1300 screen is
// shown, the black bars around it, and how screen pixels become window
// pixels. Smaller than the screen, each window pixel is the average of the
// screen area it covers (every screen pixel counts, so a 1-pixel shot never
// vanishes); the same size, a plain copy; larger, either the same average
// (smooth) or whole-pixel blocks (sharp).
#pragma once
#include <cstdint>

enum VideoFilter : int { FILTER_SMOOTH, FILTER_SHARP };

// The largest window side the picture fills; a larger window gets wider bars.
constexpr int VIEW_MAX_SIDE = 8192;
// The most screen pixels one window pixel's fixed-length sum covers.
constexpr int VIEW_TAPS_MAX = 4;

// How one window column (or row) is made from screen columns (rows): the
// first one it covers, how many, and where their weights start. The weights
// of one window pixel add up to the screen side (2500 or 1300).
struct ViewAxis {
    int size;  // window pixels the picture spans along this axis
    int first[VIEW_MAX_SIDE];
    int count[VIEW_MAX_SIDE];
    int offset[VIEW_MAX_SIDE];
    uint16_t weights[2 * VIEW_MAX_SIDE + 2600];
    // The same weights, VIEW_TAPS_MAX slots for every window pixel, the
    // unused ones 0, so that the scaler's inner loop has a fixed length: taps
    // is the most screen pixels any window pixel covers (0 when more than
    // VIEW_TAPS_MAX: the plain weights are used).
    int taps;
    uint16_t tap_weights[VIEW_TAPS_MAX * VIEW_MAX_SIDE];
};

struct VideoView {
    int window_w, window_h;  // the window's surface
    int x, y, w, h;          // the picture inside it; black around it
    VideoFilter filter;
    bool copy;               // the picture is the screen's own size: copied
    ViewAxis across;         // columns
    ViewAxis down;           // rows
};

// How a window pixel is written: the shifts of red, green and blue and the
// bits that are always set.
struct ViewFormat {
    int red_shift, green_shift, blue_shift;
    uint32_t always;
};

// The picture for a window of window_w x window_h: as large as fits with the
// screen's shape kept, centred. A side within a pixel of the window's fills it.
void view_fit(VideoView& view, int window_w, int window_h, VideoFilter filter);

// The window rectangle [x0, x1) x [y0, y1) that shows the screen rectangle
// [sx0, sx1) x [sy0, sy1) (clipped to the screen); empty when none.
struct ViewRect {
    int x0, y0, x1, y1;
};
ViewRect view_window_rect(const VideoView& view, int sx0, int sy0, int sx1, int sy1);

// Writes the window pixels of the window rectangle r (inside the picture)
// from the screen's pixels (0xAARRGGBB rows of screen_pitch bytes).
void view_scale(const VideoView& view, const ViewRect& r, const uint8_t* screen, int screen_pitch, uint8_t* window,
                int window_pitch, const ViewFormat& format);

// Paints the bars (the window outside the picture) black.
void view_bars(const VideoView& view, uint8_t* window, int window_pitch, const ViewFormat& format);
