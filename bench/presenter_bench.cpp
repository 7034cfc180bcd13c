// The cost of one frame's present under SDL's dummy video driver: a whole
// screen changed, nothing changed, a queue full of small glyph-sized
// rectangles, and the drain alone of a full queue. The clock is a fake one, so no frame waits.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "tests/test_support.h"
#include "video/draw_queue.h"
#include "video/presenter.h"

namespace {

bool start_video(benchmark::State& state) {
    if (!start_headless_video()) {
        state.SkipWithError("SDL video did not start");
        return false;
    }
    video_set_presenting(1);
    return true;
}

void stop_video() { stop_headless_video(); }

// One present that paints the whole 2500 x 1300 screen a new gray.
void BM_PresentFullScreenFill(benchmark::State& state) {
    if (!start_video(state)) return;
    uint8_t gray = 0;
    for (auto _ : state) {
        draw_fill(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, gray++);
        video_present();
    }
    state.SetItemsProcessed(state.iterations() * SCREEN_WIDTH * SCREEN_HEIGHT);
    stop_video();
}
BENCHMARK(BM_PresentFullScreenFill)->Unit(benchmark::kMillisecond);

// One present of a whole-screen bitmap, byte by byte through the gray rule.
void BM_PresentFullScreenBitmap(benchmark::State& state) {
    if (!start_video(state)) return;
    static uint8_t picture[SCREEN_WIDTH * SCREEN_HEIGHT];
    for (int i = 0; i < SCREEN_WIDTH * SCREEN_HEIGHT; ++i) picture[i] = uint8_t(i * 7);
    for (auto _ : state) {
        draw_sprite(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, picture);
        video_present();
    }
    state.SetItemsProcessed(state.iterations() * SCREEN_WIDTH * SCREEN_HEIGHT);
    stop_video();
}
BENCHMARK(BM_PresentFullScreenBitmap)->Unit(benchmark::kMillisecond);

// A present with nothing queued: only the whole-window update.
void BM_PresentNothingQueued(benchmark::State& state) {
    if (!start_video(state)) return;
    for (auto _ : state) video_present();
    stop_video();
}
BENCHMARK(BM_PresentNothingQueued)->Unit(benchmark::kMillisecond);

// A full queue of 3071 8 x 8 bitmaps spread over the screen.
void BM_PresentFullQueueOfGlyphs(benchmark::State& state) {
    if (!start_video(state)) return;
    static const uint8_t glyph[64] = {255, 0, 255, 0, 255, 0, 255, 0};
    for (auto _ : state) {
        for (int i = 0; i < DRAW_QUEUE_CAPACITY - 1; ++i)
            draw_sprite((i * 8) % SCREEN_WIDTH, (i / 300) * 8, 8, 8, glyph);
        video_present();
    }
    state.SetItemsProcessed(state.iterations() * (DRAW_QUEUE_CAPACITY - 1));
    stop_video();
}
BENCHMARK(BM_PresentFullQueueOfGlyphs)->Unit(benchmark::kMillisecond);

// The drain alone of a full queue (3071 commands): the game's busiest frame
// shape, an invader's eraser and picture pair repeated along the formation's
// rows, with the window update of what changed (0) or of the whole window as
// the presenter first did (1). Queueing is not timed.
void BM_DrainFullQueue(benchmark::State& state) {
    if (!start_video(state)) return;
    presenter.update_whole_window = int(state.range(0));
    static const uint8_t invader[12 * 8] = {255, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255, 0};
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < (DRAW_QUEUE_CAPACITY - 1) / 2; ++i) {
            const int x = 10 + (i % 140) * 16, y = 784 - (i / 140) * 12;
            draw_fill(x - 6, y, 12, 8, 0);
            draw_sprite(x - 4, y, 12, 8, invader);
        }
        draw_fill(0, 0, 1, 1, 0);  // the 3071st
        state.ResumeTiming();
        video_drain();
    }
    presenter.update_whole_window = 0;
    state.SetItemsProcessed(state.iterations() * (DRAW_QUEUE_CAPACITY - 1));
    stop_video();
}
BENCHMARK(BM_DrainFullQueue)->Arg(0)->Arg(1)->ArgName("whole_window")->Unit(benchmark::kMicrosecond);

// Painting alone: the same full-screen fill into a plain surface that SDL
// does not show, so no window update is counted.
void BM_PaintFullScreenFillOnly(benchmark::State& state) {
    if (!start_video(state)) return;
    SDL_Surface* shown = presenter.screen;
    SDL_Surface* plain = SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, 32,
                                              0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0);
    presenter.screen = plain;
    uint8_t gray = 0;
    for (auto _ : state) {
        draw_fill(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, gray++);
        video_present();
    }
    presenter.screen = shown;
    SDL_FreeSurface(plain);
    state.SetItemsProcessed(state.iterations() * SCREEN_WIDTH * SCREEN_HEIGHT);
    stop_video();
}
BENCHMARK(BM_PaintFullScreenFillOnly)->Unit(benchmark::kMillisecond);

}  // namespace
