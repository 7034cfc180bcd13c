// The cost of queueing text: a full line of 312 glyphs (2500 / 8), and the
// same line painted by a present under SDL's dummy video driver.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/text.h"

namespace {

constexpr int LINE_CHARS = SCREEN_WIDTH / 8;  // 312

uint32_t fake_now = 0;
uint32_t fake_ticks() { return fake_now; }
void fake_delay(uint32_t ms) { fake_now += ms; }
const VideoClock FAKE_CLOCK = {fake_ticks, fake_delay};

// Letters, digits and spaces, as a status or game-over line would hold.
const char* full_line() {
    static char line[LINE_CHARS + 1];
    static const char ALPHABET[] = "SCORE HI-SCORE 0123456789 PUSH BUTTON GAME OVER ";
    for (int i = 0; i < LINE_CHARS; ++i) line[i] = ALPHABET[i % (sizeof ALPHABET - 1)];
    line[LINE_CHARS] = 0;
    return line;
}

void BM_DrawTextFullLine(benchmark::State& state) {
    const char* line = full_line();
    draw_queue_reset();
    for (auto _ : state) {
        draw_text(0, 600, line);
        benchmark::DoNotOptimize(draw_queue.pending);
        draw_queue_reset();
    }
    state.SetItemsProcessed(state.iterations() * LINE_CHARS);
}
BENCHMARK(BM_DrawTextFullLine)->Unit(benchmark::kMicrosecond);

// Queued and then painted: what a full line costs a frame.
void BM_DrawTextFullLineAndPresent(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    video_set_clock(&FAKE_CLOCK);
    draw_queue_reset();
    if (video_init() != 0) {
        state.SkipWithError("SDL video did not start");
        return;
    }
    video_set_presenting(1);
    const char* line = full_line();
    for (auto _ : state) {
        draw_text(0, 600, line);
        video_present();
    }
    state.SetItemsProcessed(state.iterations() * LINE_CHARS);
    video_shutdown();
    video_set_clock(nullptr);
}
BENCHMARK(BM_DrawTextFullLineAndPresent)->Unit(benchmark::kMicrosecond);

}  // namespace
