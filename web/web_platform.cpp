// The browser's platform pieces behind the presenter's and the mixer's seams.
//
// The browser's SDL copies the whole 2500 x 1300 canvas into memory on every
// surface lock and back on every unlock. Here the surface is never locked:
// its pixels live in the wasm heap already, and only the rectangles the
// presenter reports changed are put onto the canvas, straight from the heap.
//
// That SDL also plays sound at 22050 Hz or more without resampling, and
// wants its own buffer sizes, so the audio device is replaced here: the
// mixer's callback is kept, and the page asks for one 2000-sample block at a
// time and lets Web Audio play it at 8000 Hz.
#include "web/web_platform.h"

#include <SDL.h>
#include <emscripten.h>

#include <cstring>

#include "audio/mixer.h"
#include "video/presenter.h"

namespace {

// The page's main loop runs one pass per 16 ms of real time itself, so the
// presenter's frame wait only moves this clock on.
uint32_t web_now = 0;
uint32_t web_ticks() { return web_now; }
void web_delay(uint32_t ms) { web_now += ms; }
const VideoClock WEB_CLOCK = {web_ticks, web_delay};

EM_JS(void, canvas_put, (const uint8_t* pixels, int width, int height, const int* rects, int count), {
    if (Module.zubaPut) Module.zubaPut(pixels, width, height, rects, count);
});

// Hands the page x, y, w, h of every changed rectangle (or of the window).
void canvas_update(SDL_Surface* s, const UpdateRegion& region, bool whole) {
    int rects[4 * UPDATE_MAX_RECTS] = {0, 0, s->w, s->h};
    int count = 1;
    if (!whole) {
        count = region.count;
        for (int i = 0; i < count; ++i) {
            const UpdateRect& r = region.rects[i];
            rects[4 * i] = r.x;
            rects[4 * i + 1] = r.y;
            rects[4 * i + 2] = r.w;
            rects[4 * i + 3] = r.h;
        }
    }
    canvas_put(static_cast<const uint8_t*>(s->pixels), s->w, s->h, rects, count);
}
const VideoWindow CANVAS_WINDOW = {false, canvas_update};

struct WebAudio {
    SDL_AudioSpec spec;
    bool open;
    bool paused;
    uint8_t block[MIX_BLOCK];
};
WebAudio web_audio;

}  // namespace

void web_platform_use() {
    video_set_clock(&WEB_CLOCK);
    video_set_window(&CANVAS_WINDOW);
}

extern "C" EMSCRIPTEN_KEEPALIVE const uint8_t* web_audio_block() {
    if (!web_audio.open || web_audio.paused || !web_audio.spec.callback) return nullptr;
    web_audio.spec.callback(web_audio.spec.userdata, web_audio.block, MIX_BLOCK);
    return web_audio.block;
}

// Stand-ins for the SDL calls the browser's SDL lacks or does differently.
extern "C" {

// The browser's event queue has no fixed size, and the game folds only keys,
// joystick moves and quits; there is nothing to switch off.
Uint8 SDL_EventState(Uint32 type, int state) {
    (void)type;
    (void)state;
    return SDL_IGNORE;
}

// The browser's SDL reads the gamepads only when SDL_Init named joysticks;
// the game starts them on their own, after video.
EM_JS(void, sdl_add_init_flags, (Uint32 flags), {
    if (typeof SDL !== 'undefined') SDL.initFlags |= flags;
});
int SDL_InitSubSystem(Uint32 flags) {
    sdl_add_init_flags(flags);
    return 0;
}
void SDL_QuitSubSystem(Uint32 flags) { (void)flags; }
// A page has nothing to shut down (and this SDL's own prints a line).
void SDL_Quit() {}

const char* SDL_AudioDriverName(char* name, int size) {
    if (!name || size < 1) return nullptr;
    std::strncpy(name, "webaudio", size_t(size) - 1);
    name[size - 1] = '\0';
    return name;
}

int SDL_OpenAudio(SDL_AudioSpec* desired, SDL_AudioSpec* obtained) {
    // Web Audio takes blocks of any length at any rate from 3000 Hz up.
    if (!desired || desired->format != AUDIO_U8 || desired->channels != 1 || desired->freq != MIX_RATE)
        return -1;
    web_audio.spec = *desired;
    if (obtained) *obtained = *desired;
    web_audio.open = true;
    web_audio.paused = true;
    return 0;
}

void SDL_PauseAudio(int pause_on) { web_audio.paused = pause_on != 0; }

// The page runs the mixer's callback between passes, never during one.
void SDL_LockAudio() {}
void SDL_UnlockAudio() {}

void SDL_CloseAudio() {
    web_audio.open = false;
    web_audio.spec.callback = nullptr;
}

}  // extern "C"
