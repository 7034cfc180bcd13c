// The cost of queueing text: a full line of 312 glyphs (2500 / 8), and the
// same line painted by a present under SDL's dummy video driver.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "tests/test_support.h"
#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/text.h"

namespace {

constexpr int LINE_CHARS = SCREEN_WIDTH / 8;  // 312

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
    if (!start_headless_video()) {
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
    stop_headless_video();
}
BENCHMARK(BM_DrawTextFullLineAndPresent)->Unit(benchmark::kMicrosecond);

}  // namespace
