// The fake clock behind the presenter's clock seam: waiting moves time on at
// once, so nothing sleeps.
#include "replay/replay_clock.h"

#include <SDL.h>

#include "video/presenter.h"

ReplayClock replay_clock;

namespace {

void fake_clock_delay(uint32_t ms) {
    replay_clock.now += ms;
    replay_clock.waits += 1;
    replay_clock.last_wait = ms;
}
uint32_t fake_clock_ticks() { return replay_clock.now; }
const VideoClock FAKE_CLOCK = {fake_clock_ticks, fake_clock_delay};

void showing_clock_delay(uint32_t ms) {
    fake_clock_delay(ms);
    SDL_Delay(0);
}
const VideoClock SHOWING_CLOCK = {fake_clock_ticks, showing_clock_delay};

}  // namespace

void replay_clock_start(uint32_t start) {
    replay_clock = ReplayClock{start, 0, 0};
    video_set_clock(&FAKE_CLOCK);
}

void replay_clock_start_showing(uint32_t start) {
    replay_clock = ReplayClock{start, 0, 0};
    video_set_clock(&SHOWING_CLOCK);
}

void replay_clock_stop() { video_set_clock(nullptr); }
