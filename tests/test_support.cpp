#include "tests/test_support.h"

#include <SDL.h>

#include <cstdlib>

#include "video/presenter.h"

FakeClock fake_clock;

namespace {
uint32_t fake_ticks() { return fake_clock.now; }
void fake_delay(uint32_t ms) {
    fake_clock.delays.push_back(ms);
    fake_clock.now += ms;
}
const VideoClock FAKE = {fake_ticks, fake_delay};
}  // namespace

void use_fake_clock(uint32_t start) {
    fake_clock.now = start;
    fake_clock.delays.clear();
    video_set_clock(&FAKE);
}

void use_real_clock() { video_set_clock(nullptr); }

bool start_headless_video(uint32_t start_ticks) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    use_fake_clock(start_ticks);
    draw_queue_reset();
    return video_init() == 0;
}

void stop_headless_video() {
    draw_queue_reset();
    video_shutdown();
    SDL_Quit();
    use_real_clock();
}

std::vector<DrawCommand> pending_commands() {
    std::vector<DrawCommand> out;
    int i = draw_queue.read_index;
    for (int n = 0; n < draw_queue.pending; ++n) {
        out.push_back(draw_queue.commands[i]);
        i = (i + 1) % DRAW_QUEUE_CAPACITY;
    }
    return out;
}

void paint_pending() { video_drain(); }

std::string source_path(const std::string& relative) {
    return std::string(ZUBA_SOURCE_DIR) + "/" + relative;
}
