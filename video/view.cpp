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
    axis.taps = 0;
    for (int i = 0; i < n; ++i) axis.taps = std::max(axis.taps, axis.count[i]);
    if (axis.taps > VIEW_TAPS_MAX) axis.taps = 0;
    for (int i = 0; i < n && axis.taps; ++i)
        for (int k = 0; k < axis.taps; ++k)
            axis.tap_weights[i * axis.taps + k] = k < axis.count[i] ? axis.weights[axis.offset[i] + k] : 0;
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

namespace {

// One window pixel of row py from every screen channel: the slow way, for
// the rare row whose screen pixels are not all gray (the start-up blue).
uint32_t average_colour(const VideoView& view, int px, int py, const uint8_t* screen, int screen_pitch,
                        const ViewFormat& format) {
    const int fy = view.down.first[py], cy = view.down.count[py];
    const uint16_t* wy = view.down.weights + view.down.offset[py];
    const int fx = view.across.first[px], cx = view.across.count[px];
    const uint16_t* wx = view.across.weights + view.across.offset[px];
    uint32_t red = 0, green = 0, blue = 0;
    for (int j = 0; j < cy; ++j) {
        const auto* in = reinterpret_cast<const uint32_t*>(screen + size_t(fy + j) * size_t(screen_pitch)) + fx;
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
    return (average(red) << format.red_shift) | (average(green) << format.green_shift) |
           (average(blue) << format.blue_shift) | format.always;
}

// The weighted sums down one window row's screen rows, one per screen
// column: the first half of the average, shared by every window pixel of the
// row whose columns overlap (at most 255 x 1300, so the second half's sum
// across stays within 32 bits). Returns the channels that are not gray: the
// game's pictures are, and then one channel is the whole picture.
uint32_t sum_down(const uint8_t* top, int screen_pitch, const uint16_t* wy, int cy, int sx0, int sx1,
                  uint32_t* column) {
    uint32_t colour = 0;
    {
        const auto* in = reinterpret_cast<const uint32_t*>(top);
        const uint32_t w = wy[0];
        for (int x = sx0; x < sx1; ++x) {
            const uint32_t p = in[x];
            colour |= p ^ (p >> 8);
            column[x] = (p & 0xFFu) * w;
        }
    }
    for (int j = 1; j < cy; ++j) {
        const auto* in = reinterpret_cast<const uint32_t*>(top + size_t(j) * size_t(screen_pitch));
        const uint32_t w = wy[j];
        for (int x = sx0; x < sx1; ++x) {
            const uint32_t p = in[x];
            colour |= p ^ (p >> 8);
            column[x] += (p & 0xFFu) * w;
        }
    }
    return colour & 0xFFFFu;
}

// The second half: one window row of gray pixels from the column sums, each
// over a fixed TAPS screen columns (the weights past a pixel's own are 0).
template <int TAPS>
void sum_across(const ViewAxis& across, const uint32_t* column, int px0, int px1, uint32_t* out, uint32_t gray,
                uint32_t always) {
    for (int px = px0; px < px1; ++px) {
        const uint32_t* in = column + across.first[px];
        const uint16_t* w = across.tap_weights + size_t(px) * TAPS;
        uint32_t sum = 0;
        for (int i = 0; i < TAPS; ++i) sum += in[i] * w[i];
        *out++ = average(sum) * gray | always;
    }
}

// Any number of screen columns per window pixel (a window smaller than a
// quarter of the screen).
void sum_across_any(const ViewAxis& across, const uint32_t* column, int px0, int px1, uint32_t* out, uint32_t gray,
                    uint32_t always) {
    for (int px = px0; px < px1; ++px) {
        const uint32_t* in = column + across.first[px];
        const uint16_t* w = across.weights + across.offset[px];
        uint32_t sum = 0;
        for (int i = 0; i < across.count[px]; ++i) sum += in[i] * w[i];
        *out++ = average(sum) * gray | always;
    }
}

}  // namespace

void view_scale(const VideoView& view, const ViewRect& r, const uint8_t* screen, int screen_pitch, uint8_t* window,
                int window_pitch, const ViewFormat& format) {
    const int rs = format.red_shift, gs = format.green_shift, bs = format.blue_shift;
    const bool same_format = rs == 16 && gs == 8 && bs == 0;
    if (r.x0 >= r.x1 || r.y0 >= r.y1) return;
    // The screen columns under the rectangle's window columns.
    const int px0 = r.x0 - view.x, px1 = r.x1 - view.x;
    const int sx0 = view.across.first[px0], sx1 = view.across.first[px1 - 1] + view.across.count[px1 - 1];
    // Read up to VIEW_TAPS_MAX - 1 columns past the last, with weight 0.
    static uint32_t column[SCREEN_WIDTH + VIEW_TAPS_MAX];
    // A gray level g becomes the window pixel g x gray: one copy of g in
    // each channel's place.
    const uint32_t gray = (1u << rs) | (1u << gs) | (1u << bs);
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
        const uint8_t* top = screen + size_t(fy) * size_t(screen_pitch);
        if (sum_down(top, screen_pitch, wy, cy, sx0, sx1, column)) {
            for (int x = r.x0; x < r.x1; ++x) out[x] = average_colour(view, x - view.x, py, screen, screen_pitch, format);
            continue;
        }
        uint32_t* row = out + r.x0;
        switch (view.across.taps) {
            case 1: sum_across<1>(view.across, column, px0, px1, row, gray, format.always); break;
            case 2: sum_across<2>(view.across, column, px0, px1, row, gray, format.always); break;
            case 3: sum_across<3>(view.across, column, px0, px1, row, gray, format.always); break;
            case 4: sum_across<4>(view.across, column, px0, px1, row, gray, format.always); break;
            default: sum_across_any(view.across, column, px0, px1, row, gray, format.always); break;
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
