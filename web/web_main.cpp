// ZUBA-TRILO in a browser page: the same screen sequence as the desktop, one
// pass per 16 ms of real time, driven by the page's animation frames instead
// of a blocking loop (a page that never yields freezes its tab).
#include <SDL.h>
#include <emscripten.h>

#include "app/screens.h"
#include "audio/mixer.h"
#include "input/input.h"
#include "video/presenter.h"
#include "web/web_platform.h"

namespace {

// After a stall (a hidden tab, a slow frame) at most this many passes catch
// up at once; the rest of the lost time is dropped, as a desktop would.
constexpr int MAX_CATCH_UP_PASSES = 4;

double last_ms = 0;
double owed_ms = 0;
uint32_t pass_count = 0;

EM_JS(void, page_audio_pump, (), {
    if (Module.zubaAudioPump) Module.zubaAudioPump();
});

// A page cannot close its tab: a quit request (Escape, q) goes back to the
// splash card instead, with the sounds stopped and the hi-score kept.
void quit_to_splash() {
    input.quit_requested = 0;
    input.quit_pending = 0;
    for (int v = 0; v < VOICE_COUNT; ++v) voice_stop(v);
    screens.state = SCREEN_SPLASH_BEGIN;
}

// A gamepad shows up in the browser only after its first button press, so
// the first one is opened when it appears rather than at start-up only.
void open_late_gamepad() {
    if (input.joysticks[0] || SDL_NumJoysticks() < 1) return;
    input.joysticks[0] = SDL_JoystickOpen(0);
}

void frame() {
    double now = emscripten_get_now();
    owed_ms += now - last_ms;
    last_ms = now;
    if (owed_ms > MAX_CATCH_UP_PASSES * double(FRAME_MS)) owed_ms = MAX_CATCH_UP_PASSES * double(FRAME_MS);
    open_late_gamepad();
    while (owed_ms >= double(FRAME_MS)) {
        owed_ms -= double(FRAME_MS);
        screen_pass();
        pass_count += 1;
        if (input.quit_requested) quit_to_splash();
    }
    page_audio_pump();
}

}  // namespace

// Passes run since the page started (the browser test's frame rate).
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t web_pass_count() { return pass_count; }

int main() {
    web_platform_use();
    if (app_startup() != 0) return 1;
    last_ms = emscripten_get_now();
    emscripten_set_main_loop(frame, 0, 0);
    return 0;
}
