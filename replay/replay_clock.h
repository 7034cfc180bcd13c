// The replay driver's fake clock, which the tests, the tools, the benchmarks
// and the timed demo in the window use as well.
#pragma once
#include <cstdint>

// The clock of the replay driver, the tests, the tools and the benchmarks:
// time moves only when the presenter waits, so a run never sleeps and is the
// same on every machine.
struct ReplayClock {
    uint32_t now;
    uint32_t waits;      // the presenter's waits since the clock started
    uint32_t last_wait;  // the last of them, in ms
};
extern ReplayClock replay_clock;
void replay_clock_start(uint32_t start_ticks);
// The same clock for the timed demo in a real window: each wait takes no time
// but still lets SDL show the window (SDL's 1.2 layer shows updated
// rectangles inside its wait), so every frame is presented.
void replay_clock_start_showing(uint32_t start_ticks);
void replay_clock_stop();  // back to SDL's clock
