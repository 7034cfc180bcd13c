// The cost of scaling the screen into the window: the whole 2500 x 1300
// picture and one frame's worth of changed tiles, at the fitted size of a
// 1920 x 1080 display (1855 x 964), at half size, and copied at full size.
// No SDL: the scaling alone.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "video/draw_queue.h"
#include "video/update_region.h"
#include "video/view.h"

namespace {

constexpr ViewFormat XRGB = {16, 8, 0, 0};

// A gray picture like the game's: black with rows of sprite-sized blocks.
std::vector<uint32_t> game_like_screen() {
    std::vector<uint32_t> screen(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT, gray_pixel(0));
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            if ((x % 16) < 12 && (y % 12) < 8) screen[size_t(y) * SCREEN_WIDTH + x] = gray_pixel(uint8_t(x * 7 + y));
    return screen;
}

const int SIDES[][2] = {{1855, 964}, {1250, 650}, {2500, 1300}};

// The whole picture scaled into the window, as after an expose.
void BM_ScaleWholePicture(benchmark::State& state) {
    static VideoView view;
    const int w = SIDES[state.range(0)][0], h = SIDES[state.range(0)][1];
    view_fit(view, w, h, FILTER_SMOOTH);
    const std::vector<uint32_t> screen = game_like_screen();
    std::vector<uint32_t> window(size_t(w) * h);
    const ViewRect r = view_window_rect(view, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    for (auto _ : state) {
        view_scale(view, r, reinterpret_cast<const uint8_t*>(screen.data()), SCREEN_WIDTH * 4,
                   reinterpret_cast<uint8_t*>(window.data()), w * 4, XRGB);
        benchmark::DoNotOptimize(window.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(view.w) * view.h);
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h));
}
BENCHMARK(BM_ScaleWholePicture)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// A busy frame's changed tiles: 42 tiles of 50 x 50 along the formation's
// rows and the bombs' columns, in 14 rectangles.
void BM_ScaleChangedTiles(benchmark::State& state) {
    static VideoView view;
    static UpdateRegion region;
    const int w = SIDES[state.range(0)][0], h = SIDES[state.range(0)][1];
    view_fit(view, w, h, FILTER_SMOOTH);
    const std::vector<uint32_t> screen = game_like_screen();
    std::vector<uint32_t> window(size_t(w) * h);
    update_region_clear(region);
    for (int i = 0; i < 14; ++i) {
        const int x = (i * 173) % (SCREEN_WIDTH - 150), y = 100 + (i * 89) % (SCREEN_HEIGHT - 200);
        update_region_add(region, x, y, x + 150, y + 50);
    }
    update_region_build(region);
    int64_t pixels = 0;
    for (auto _ : state) {
        for (int i = 0; i < region.count; ++i) {
            const UpdateRect& u = region.rects[i];
            const ViewRect r = view_window_rect(view, u.x, u.y, u.x + u.w, u.y + u.h);
            view_scale(view, r, reinterpret_cast<const uint8_t*>(screen.data()), SCREEN_WIDTH * 4,
                       reinterpret_cast<uint8_t*>(window.data()), w * 4, XRGB);
            pixels += int64_t(r.x1 - r.x0) * (r.y1 - r.y0);
        }
        benchmark::DoNotOptimize(window.data());
    }
    state.SetItemsProcessed(pixels);
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h) + ", " + std::to_string(region.count) + " rects");
}
BENCHMARK(BM_ScaleChangedTiles)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace
