// The browser's platform pieces behind the presenter's and the mixer's seams.
//
// The browser's SDL copies the whole 2500 x 1300 canvas into memory on every
// surface lock and back on every unlock. Here the surface is never locked:
// its pixels live in the wasm heap already, and only the rectangles the
// presenter reports changed are put onto the canvas, straight from the heap.
//
// That SDL also plays sound at 22050 Hz or more without resampling, and
// wants its own buffer sizes, so the mixer gets the page's audio device
// instead (audio_set_device): the mixer's callback is kept, and the page asks for one 2000-sample block at a
// time and lets Web Audio play it at 8000 Hz.
#include "web/web_platform.h"

#include <SDL.h>
#include <emscripten.h>

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

int web_audio_open(SDL_AudioSpec* wanted) {
    // Web Audio takes blocks of any length at any rate from 3000 Hz up.
    if (!wanted || wanted->format != AUDIO_U8 || wanted->channels != 1 || wanted->freq != MIX_RATE) return -1;
    web_audio.spec = *wanted;
    web_audio.open = true;
    web_audio.paused = true;
    return 0;
}
void web_audio_pause(int pause_on) { web_audio.paused = pause_on != 0; }
// The page runs the mixer's callback between passes, never during one.
void web_audio_lock() {}
void web_audio_unlock() {}
void web_audio_close() {
    web_audio.open = false;
    web_audio.spec.callback = nullptr;
}
const AudioDevice WEB_AUDIO = {web_audio_open, web_audio_pause, web_audio_lock, web_audio_unlock,
                               web_audio_close};

}  // namespace

void web_platform_use() {
    video_set_clock(&WEB_CLOCK);
    video_set_window(&CANVAS_WINDOW);
    audio_set_device(&WEB_AUDIO);
}

extern "C" EMSCRIPTEN_KEEPALIVE const uint8_t* web_audio_block() {
    if (!web_audio.open || web_audio.paused || !web_audio.spec.callback) return nullptr;
    web_audio.spec.callback(web_audio.spec.userdata, web_audio.block, MIX_BLOCK);
    return web_audio.block;
}

// The browser's SDL has no SDL_EventState. Its event queue has no fixed size,
// and the game folds only keys, joystick moves and quits: there is nothing to
// switch off, so this one stand-in stays.
extern "C" Uint8 SDL_EventState(Uint32 type, int state) {
    (void)type;
    (void)state;
    return SDL_IGNORE;
}
