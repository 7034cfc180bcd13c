// The picture's place in the window and the scaling of screen pixels into it.
#include "video/view.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "video/draw_queue.h"

namespace {

// One window pixel's weights add up to SCREEN_WIDTH across and SCREEN_HEIGHT
// down, so the sum over both is at most 255 x 2500 x 1300 per colour, which
// fits 32 bits; dividing by the total is a multiplication and a shift.
constexpr uint64_t WEIGHT_TOTAL = uint64_t(SCREEN_WIDTH) * SCREEN_HEIGHT;
constexpr int DIVIDE_SHIFT = 42;
constexpr uint64_t DIVIDE_BY_TOTAL = ((uint64_t(1) << DIVIDE_SHIFT) + WEIGHT_TOTAL - 1) / WEIGHT_TOTAL;

uint32_t average(uint32_t sum) { return uint32_t(((sum + WEIGHT_TOTAL / 2) * DIVIDE_BY_TOTAL) >> DIVIDE_SHIFT); }

// Window pixel i of n covers [i, i + 1) x side / n of the screen's side;
// measured in units of 1 / n screen pixel, it is [i x side, (i + 1) x side)
// and screen pixel j is [j x n, (j + 1) x n), so every overlap is a whole
// number. Sharp and larger than the screen: the one screen pixel under the
// window pixel's centre.
void build_axis(ViewAxis& axis, int n, int side, bool sharp) {
    axis.size = n;
    int used = 0;
    for (int i = 0; i < n; ++i) {
        axis.offset[i] = used;
        if (sharp && n > side) {
            axis.first[i] = int((int64_t(2 * i + 1) * side) / (2 * int64_t(n)));
            axis.count[i] = 1;
            axis.weights[used++] = uint16_t(side);
            continue;
        }
        const int64_t begin = int64_t(i) * side, end = begin + side;
        const int first = int(begin / n), last = int((end - 1) / n);
        axis.first[i] = first;
        axis.count[i] = last - first + 1;
        for (int j = first; j <= last; ++j) {
            const int64_t from = std::max<int64_t>(begin, int64_t(j) * n);
            const int64_t to = std::min<int64_t>(end, int64_t(j + 1) * n);
            axis.weights[used++] = uint16_t(to - from);
        }
    }
}

// The window span [lo, hi) of the picture's n pixels that shows screen span
// [s0, s1) of side pixels.
void window_span(int s0, int s1, int n, int side, int& lo, int& hi) {
    lo = int(int64_t(s0) * n / side);
    hi = int((int64_t(s1) * n + side - 1) / side);
    lo = std::clamp(lo, 0, n);
    hi = std::clamp(hi, lo, n);
}

uint32_t* window_row(uint8_t* window, int pitch, int y) {
    return reinterpret_cast<uint32_t*>(window + size_t(y) * size_t(pitch));
}

}  // namespace

void view_fit(VideoView& view, int window_w, int window_h, VideoFilter filter) {
    view.window_w = std::max(window_w, 1);
    view.window_h = std::max(window_h, 1);
    view.filter = filter;
    const int room_w = std::min(view.window_w, VIEW_MAX_SIDE), room_h = std::min(view.window_h, VIEW_MAX_SIDE);
    int w = std::min(room_w, int(std::lround(double(room_h) * SCREEN_WIDTH / SCREEN_HEIGHT)));
    int h = std::min(room_h, int(std::lround(double(room_w) * SCREEN_HEIGHT / SCREEN_WIDTH)));
    // A window opened at a scale of the screen is rounded to whole pixels on
    // each side: a bar of one pixel would only look like a mistake.
    if (room_w - w <= 1) w = room_w;
    if (room_h - h <= 1) h = room_h;
    view.w = std::max(w, 1);
    view.h = std::max(h, 1);
    view.x = (view.window_w - view.w) / 2;
    view.y = (view.window_h - view.h) / 2;
    view.copy = view.w == SCREEN_WIDTH && view.h == SCREEN_HEIGHT;
    const bool sharp = filter == FILTER_SHARP;
    build_axis(view.across, view.w, SCREEN_WIDTH, sharp);
    build_axis(view.down, view.h, SCREEN_HEIGHT, sharp);
}

ViewRect view_window_rect(const VideoView& view, int sx0, int sy0, int sx1, int sy1) {
    sx0 = std::max(sx0, 0);
    sy0 = std::max(sy0, 0);
    sx1 = std::min(sx1, SCREEN_WIDTH);
    sy1 = std::min(sy1, SCREEN_HEIGHT);
    if (sx0 >= sx1 || sy0 >= sy1) return ViewRect{0, 0, 0, 0};
    ViewRect r{};
    window_span(sx0, sx1, view.w, SCREEN_WIDTH, r.x0, r.x1);
    window_span(sy0, sy1, view.h, SCREEN_HEIGHT, r.y0, r.y1);
    r.x0 += view.x;
    r.x1 += view.x;
    r.y0 += view.y;
    r.y1 += view.y;
    return r;
}

void view_scale(const VideoView& view, const ViewRect& r, const uint8_t* screen, int screen_pitch, uint8_t* window,
                int window_pitch, const ViewFormat& format) {
    const int rs = format.red_shift, gs = format.green_shift, bs = format.blue_shift;
    const bool same_format = rs == 16 && gs == 8 && bs == 0;
    for (int y = r.y0; y < r.y1; ++y) {
        uint32_t* out = window_row(window, window_pitch, y);
        const int py = y - view.y;
        if (view.copy) {
            const uint32_t* in = reinterpret_cast<const uint32_t*>(screen + size_t(py) * size_t(screen_pitch));
            for (int x = r.x0; x < r.x1; ++x) {
                const uint32_t p = in[x - view.x];
                out[x] = same_format ? (p & 0xFFFFFFu) | format.always
                                     : (((p >> 16) & 0xFFu) << rs) | (((p >> 8) & 0xFFu) << gs) |
                                           ((p & 0xFFu) << bs) | format.always;
            }
            continue;
        }
        const int fy = view.down.first[py], cy = view.down.count[py];
        const uint16_t* wy = view.down.weights + view.down.offset[py];
        for (int x = r.x0; x < r.x1; ++x) {
            const int px = x - view.x;
            const int fx = view.across.first[px], cx = view.across.count[px];
            const uint16_t* wx = view.across.weights + view.across.offset[px];
            const uint8_t* top = screen + size_t(fy) * size_t(screen_pitch) + size_t(fx) * 4;
            // The game's pictures are gray: one channel is enough, unless a
            // pixel under this one is not (the start-up blue).
            uint32_t sum = 0, colour = 0;
            for (int j = 0; j < cy; ++j) {
                const uint32_t* in = reinterpret_cast<const uint32_t*>(top + size_t(j) * size_t(screen_pitch));
                uint32_t row = 0;
                for (int i = 0; i < cx; ++i) {
                    const uint32_t p = in[i];
                    colour |= (p ^ (p >> 8)) & 0xFFFFu;
                    row += (p & 0xFFu) * wx[i];
                }
                sum += row * wy[j];
            }
            if (!colour) {
                const uint32_t g = average(sum);
                out[x] = (g << rs) | (g << gs) | (g << bs) | format.always;
                continue;
            }
            uint32_t red = 0, green = 0, blue = 0;
            for (int j = 0; j < cy; ++j) {
                const uint32_t* in = reinterpret_cast<const uint32_t*>(top + size_t(j) * size_t(screen_pitch));
                uint32_t rr = 0, gg = 0, bb = 0;
                for (int i = 0; i < cx; ++i) {
                    const uint32_t p = in[i], w = wx[i];
                    rr += ((p >> 16) & 0xFFu) * w;
                    gg += ((p >> 8) & 0xFFu) * w;
                    bb += (p & 0xFFu) * w;
                }
                red += rr * wy[j];
                green += gg * wy[j];
                blue += bb * wy[j];
            }
            out[x] = (average(red) << rs) | (average(green) << gs) | (average(blue) << bs) | format.always;
        }
    }
}

void view_bars(const VideoView& view, uint8_t* window, int window_pitch, const ViewFormat& format) {
    const uint32_t black = format.always;
    for (int y = 0; y < view.window_h; ++y) {
        uint32_t* out = window_row(window, window_pitch, y);
        if (y < view.y || y >= view.y + view.h) {
            std::fill(out, out + view.window_w, black);
            continue;
        }
        std::fill(out, out + view.x, black);
        std::fill(out + view.x + view.w, out + view.window_w, black);
    }
}
