// ZUBA-TRILO in a browser page: the same screen sequence as the desktop, one
// pass per 16 ms of real time, driven by the page's animation frames instead
// of a blocking loop (a page that never yields freezes its tab).
#include <SDL.h>
#include <emscripten.h>

#include "input/input.h"
#include "session/options_screen.h"
#include "session/screens.h"
#include "video/presenter.h"
#include "web/web_platform.h"
#include "web/web_settings.h"

namespace {

// After a stall (a hidden tab, a slow frame) at most this many passes catch
// up at once; the rest of the lost time is dropped, as a desktop would.
constexpr int MAX_CATCH_UP_PASSES = 4;

double last_ms = 0;
double owed_ms = 0;
uint32_t pass_count = 0;

// The page shows its Up and Down buttons while the options screen is open.
EM_JS(void, page_options_shown, (int open), {
    if (Module.zubaOptionsShown) Module.zubaOptionsShown(open);
});
bool options_shown = false;

EM_JS(void, page_audio_pump, (), {
    if (Module.zubaAudioPump) Module.zubaAudioPump();
});

// The browser's SDL reads the gamepads only when SDL_Init named joysticks;
// the presenter starts them on their own, after video.
EM_JS(void, sdl_read_gamepads, (), {
    if (typeof SDL !== 'undefined') SDL.initFlags |= 0x200;  // SDL_INIT_JOYSTICK
});

void frame() {
    double now = emscripten_get_now();
    owed_ms += now - last_ms;
    last_ms = now;
    if (owed_ms > MAX_CATCH_UP_PASSES * double(FRAME_MS)) owed_ms = MAX_CATCH_UP_PASSES * double(FRAME_MS);
    // A gamepad shows up only after its first button press.
    input_open_late_joystick();
    while (owed_ms >= double(FRAME_MS)) {
        owed_ms -= double(FRAME_MS);
        screen_pass();
        pass_count += 1;
        // A page cannot close its tab: a quit (Escape, q) goes back to the splash.
        if (input.quit_requested) screen_return_to_splash();
    }
    web_settings_keep_mute();
    if (options_screen.open != options_shown) {
        options_shown = options_screen.open;
        page_options_shown(options_shown);
    }
    page_audio_pump();
}

}  // namespace

// The page's touch controls (0 left, 1 right, 2 fire, 3 options, 4 up,
// 5 down) press and release a key of the action they stand for, through
// SDL's own event queue like a keyboard: the first key the player bound to
// it, so a Fire button still fires after fire was moved to another key. On
// the options screen they press the keys that always work there (arrows,
// Enter, Escape), whatever is bound. An up lets go of the key its down
// pressed.
extern "C" EMSCRIPTEN_KEEPALIVE void web_press(int control, int down) {
    constexpr InputAction ACTIONS[] = {ACTION_LEFT, ACTION_RIGHT, ACTION_FIRE, ACTION_OPTIONS, ACTION_UP, ACTION_DOWN};
    constexpr SDLKey MENU_KEYS[] = {SDLK_LEFT, SDLK_RIGHT, SDLK_RETURN, SDLK_ESCAPE, SDLK_UP, SDLK_DOWN};
    constexpr int CONTROLS = int(sizeof ACTIONS / sizeof ACTIONS[0]);
    static int pressed[CONTROLS] = {};
    if (control < 0 || control >= CONTROLS) return;
    int key = pressed[control];
    if (down) {
        const KeyBinding& bound = input_bindings.actions[ACTIONS[control]];
        key = options_screen.open ? int(MENU_KEYS[control]) : bound.count > 0 ? bound.keys[0] : 0;
        pressed[control] = key;
    } else {
        pressed[control] = 0;
    }
    if (key == 0) return;
    SDL_Event event = input_key_event(key, down != 0);
    SDL_PushEvent(&event);
}

// The page was hidden or lost the focus: a game under way pauses (the pause
// key, p, or Fire resumes it) and nothing stays held while the player is away.
extern "C" EMSCRIPTEN_KEEPALIVE void web_page_away() {
    input_release_all();
    screen_pause();
}

// Passes run since the page started (the browser test's frame rate).
extern "C" EMSCRIPTEN_KEEPALIVE uint32_t web_pass_count() { return pass_count; }

int main() {
    web_platform_use();
    const Settings settings = web_settings_load();
    if (screen_startup() != 0) return 1;
    web_settings_apply(settings);
    // The page is never fullscreen at start: a browser allows that only
    // after a key press or a tap.
    Settings in_force = settings;
    in_force.fullscreen = false;
    options_screen_start(in_force);
    options_screen_set_saver(web_settings_save);
    sdl_read_gamepads();
    last_ms = emscripten_get_now();
    emscripten_set_main_loop(frame, 0, 0);
    return 0;
}
