// The cost of one game frame without input (present, cannon, missiles, 70
// formation steps, live count, saucer) on SDL's dummy video driver, of the
// same frame without the present, and of the 70 formation steps alone (its
// items are single formation_step calls).
// Frames are not paced: the clock is fake.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>

#include "game/formation.h"
#include "tests/test_support.h"
#include "game/game.h"
#include "video/draw_queue.h"
#include "video/presenter.h"

namespace {

bool start_video() {
    static bool started = false;
    if (!started) started = start_headless_video();
    return started;
}

void BM_GameFrame(benchmark::State& state) {
    if (!start_video()) {
        state.SkipWithError("SDL video did not start");
        return;
    }
    game_begin();
    for (auto _ : state) {
        if (game_frame() == 0) {
            state.PauseTiming();
            game_begin();
            state.ResumeTiming();
        }
    }
    state.counters["steps_per_s"] =
        benchmark::Counter(double(state.iterations()) * STEPS_PER_FRAME, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMicrosecond);

// The same frame with presenting off: the gameplay's own share, without
// painting and updating the 2500 x 1300 window.
void BM_GameFrameWithoutPresent(benchmark::State& state) {
    if (!start_video()) {
        state.SkipWithError("SDL video did not start");
        return;
    }
    game_begin();
    video_set_presenting(0);
    for (auto _ : state) {
        if (game_frame() == 0) {
            state.PauseTiming();
            game_begin();
            video_set_presenting(0);
            state.ResumeTiming();
        }
        draw_queue_reset();
    }
    video_set_presenting(1);
}
BENCHMARK(BM_GameFrameWithoutPresent)->Unit(benchmark::kMicrosecond);

void BM_FormationSteps70(benchmark::State& state) {
    formation_layout();
    draw_queue_reset();
    for (auto _ : state) {
        for (int i = 0; i < STEPS_PER_FRAME; ++i) {
            if (formation_step()) formation_layout();
        }
        draw_queue_reset();  // 140 commands a frame; the presenter's share is in BM_GameFrame
    }
    // Items are single formation_step calls.
    state.SetItemsProcessed(state.iterations() * STEPS_PER_FRAME);
}
BENCHMARK(BM_FormationSteps70)->Unit(benchmark::kMicrosecond);

}  // namespace
