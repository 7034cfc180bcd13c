// The presenter: starts SDL's video, and once per frame waits out the rest of
// 16 ms, paints the queued commands into the surface and updates the window.
#include "video/presenter.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "video/draw_queue.h"
#include "video/window.h"
#include "video/window_surface.h"

Presenter presenter;
VideoView video_view;
UpdateRegion video_last_update;
PresentTiming present_timing;

namespace {

uint32_t sdl_ticks() { return SDL_GetTicks(); }
// Waits until ms have passed since the call. SDL 1.2 over SDL 2, when the
// game shows its window through it (see video/window_surface.h), shows changed
// rectangles later, inside the next SDL_Delay or event poll, and a whole
// window takes milliseconds to show: a plain SDL_Delay(ms) would show it and
// then still sleep the full ms. A zero delay lets it show the window first,
// and only what is left of the wait is slept.
void sdl_delay(uint32_t ms) {
    const uint32_t start = SDL_GetTicks();
    SDL_Delay(0);
    const uint32_t spent = SDL_GetTicks() - start;
    if (spent < ms) SDL_Delay(ms - spent);
}
const VideoClock SDL_CLOCK = {sdl_ticks, sdl_delay};
const VideoClock* clock_in_use = &SDL_CLOCK;

void sdl_update(SDL_Surface* s, const UpdateRegion& region, bool whole) {
    if (whole) {
        SDL_UpdateRect(s, 0, 0, 0, 0);
        return;
    }
    SDL_Rect rects[UPDATE_MAX_RECTS];
    for (int i = 0; i < region.count; ++i) {
        const UpdateRect& r = region.rects[i];
        rects[i] = SDL_Rect{r.x, r.y, r.w, r.h};
    }
    SDL_UpdateRects(s, region.count, rects);
}
const VideoWindow SDL_WINDOW = {true, sdl_update};
const VideoWindow* window_in_use = &SDL_WINDOW;

// The part of the surface that may be painted: the screen, or less should a
// backend ever hand out a smaller surface.
struct PaintArea {
    uint8_t* base;
    int pitch;  // bytes per row, which a backend may pad
    int width;
    int height;
};

// Paints one command, clipped to the screen: rectangles of the formation's
// rear rows reach far past both side edges, and nothing may land outside the
// surface. The painted part is marked in the update region.
void paint_command(const DrawCommand& c, const PaintArea& area) {
    if (c.w <= 0 || c.h <= 0) return;
    int x0 = std::max<int>(c.x, 0);
    int y0 = std::max<int>(c.y, 0);
    int x1 = std::min<int>(c.x + c.w, area.width);
    int y1 = std::min<int>(c.y + c.h, area.height);
    if (x0 >= x1 || y0 >= y1) return;
    update_region_add(video_last_update, x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(area.base + size_t(y) * size_t(area.pitch));
        if (!c.pixels) {
            std::fill(row + x0, row + x1, gray_pixel(c.gray));
        } else {
            const uint8_t* src = c.pixels + size_t(y - c.y) * size_t(c.w) + size_t(x0 - c.x);
            for (int x = x0; x < x1; ++x) row[x] = gray_pixel(*src++);
        }
    }
}


// A window the game can draw into as into its own screen: the screen's size
// and its 32-bit pixels laid out the same way.
bool shows_screen_as_is(const SDL_Surface* window) {
    const SDL_PixelFormat* f = window->format;
    return window->w == SCREEN_WIDTH && window->h == SCREEN_HEIGHT && window->pixels && f->BytesPerPixel == 4 &&
           f->Rmask == 0x00FF0000u && f->Gmask == 0x0000FF00u && f->Bmask == 0x000000FFu;
}

// Copies the whole screen from one 2500 x 1300 surface into another of the
// same layout; false when either cannot be locked.
bool copy_screen(SDL_Surface* from, SDL_Surface* to) {
    const bool lock_from = SDL_MUSTLOCK(from), lock_to = SDL_MUSTLOCK(to);
    if (lock_from && SDL_LockSurface(from) != 0) return false;
    if (lock_to && SDL_LockSurface(to) != 0) {
        if (lock_from) SDL_UnlockSurface(from);
        return false;
    }
    const auto* in = static_cast<const uint8_t*>(from->pixels);
    auto* out = static_cast<uint8_t*>(to->pixels);
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        std::memcpy(out + size_t(y) * size_t(to->pitch), in + size_t(y) * size_t(from->pitch),
                    size_t(SCREEN_WIDTH) * 4);
    if (lock_to) SDL_UnlockSurface(to);
    if (lock_from) SDL_UnlockSurface(from);
    return true;
}

ViewFormat window_format(const SDL_Surface* window) {
    const SDL_PixelFormat* f = window->format;
    return ViewFormat{f->Rshift, f->Gshift, f->Bshift, f->Amask};
}

// Where the scaled picture is written: the 1.2 window surface, or the
// window's own pixels beneath it.
struct ScaleTarget {
    uint8_t* pixels;
    int pitch;
    ViewFormat format;
};

// The window's own pixels missed an update (the window's size changed under
// the presenter): the next drain shows the whole window again.
bool direct_missed = false;

// Scales the changed part of the screen (all of it when whole) into the
// window and shows just that; with bars, also paints them.
void show_scaled(const UpdateRegion& region, bool whole, bool bars = false) {
    SDL_Surface* window = presenter.window;
    SDL_Surface* screen = presenter.screen;
    if (!window || !screen || !screen->pixels) return;
    const VideoView& view = video_view;
    WindowSurface direct{};
    if (presenter.direct) {
        if (!window_surface_get(direct) || direct.w != view.window_w || direct.h != view.window_h) {
            direct_missed = true;
            return;
        }
        if (direct_missed) whole = bars = true;
        direct_missed = false;
    } else if (!window->pixels || window->format->BytesPerPixel != 4) {
        return;
    }
    if (!whole && region.count == 0) return;
    const bool must_lock = !presenter.direct && SDL_MUSTLOCK(window);
    if (must_lock && SDL_LockSurface(window) != 0) return;
    const ScaleTarget to = presenter.direct ? ScaleTarget{direct.pixels, direct.pitch, direct.format}
                                            : ScaleTarget{static_cast<uint8_t*>(window->pixels), window->pitch,
                                                          window_format(window)};
    const auto* from = static_cast<const uint8_t*>(screen->pixels);
    ViewRect rects[UPDATE_MAX_RECTS];
    int count = 0;
    if (bars) view_bars(view, to.pixels, to.pitch, to.format);
    if (whole) {
        const ViewRect r = view_window_rect(view, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
        view_scale(view, r, from, screen->pitch, to.pixels, to.pitch, to.format);
        rects[count++] = bars ? ViewRect{0, 0, view.window_w, view.window_h} : r;
    } else {
        for (int i = 0; i < region.count; ++i) {
            const UpdateRect& u = region.rects[i];
            const ViewRect r = view_window_rect(view, u.x, u.y, u.x + u.w, u.y + u.h);
            if (r.x0 >= r.x1 || r.y0 >= r.y1) continue;
            view_scale(view, r, from, screen->pitch, to.pixels, to.pitch, to.format);
            rects[count++] = r;
        }
    }
    if (must_lock) SDL_UnlockSurface(window);
    if (presenter.direct) {
        window_surface_update(rects, count);
        return;
    }
    if (whole || bars) {
        SDL_UpdateRect(window, 0, 0, 0, 0);
        return;
    }
    SDL_Rect list[UPDATE_MAX_RECTS];
    for (int i = 0; i < count; ++i) {
        const ViewRect& r = rects[i];
        list[i] = SDL_Rect{int16_t(r.x0), int16_t(r.y0), uint16_t(r.x1 - r.x0), uint16_t(r.y1 - r.y0)};
    }
    if (count > 0) SDL_UpdateRects(window, count, list);
}

}  // namespace

void video_set_clock(const VideoClock* clock) { clock_in_use = clock ? clock : &SDL_CLOCK; }

void video_set_window(const VideoWindow* window) { window_in_use = window ? window : &SDL_WINDOW; }

void video_report_init_error() {
    std::printf("SDL initialize error.\n");
    std::fflush(stdout);
}

int video_init() {
    presenter.presenting_enabled = 0;
    const WindowRequest& request = window_requested;
    // Sound and joysticks are optional: only the timer and video must start.
    // The audio subsystem is started by the mixer, whose failure leaves the
    // game silent; a missing joystick subsystem leaves the keyboard.
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) != 0) {
        video_report_init_error();
        return 1;
    }
    // With no display SDL falls back to drawing into memory and the game
    // would play on, unseen, until killed: for a player that is SDL not
    // starting.
    if (request.desktop && window_display_missing()) {
        video_report_init_error();
        std::fputs(WINDOW_NO_DISPLAY_MESSAGE, stderr);
        SDL_Quit();
        return 1;
    }
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    presenter.scaled = false;
    presenter.own = nullptr;
    if (request.desktop) {
        // A player's window is opened at the size it is shown. The game draws
        // into a screen of its own that the presenter scales into it, or,
        // when the window is the screen's size, straight into the window.
        SDL_Surface* window = window_open(request);
        presenter.own = window ? SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, 32, 0x00FF0000u,
                                                      0x0000FF00u, 0x000000FFu, 0)
                               : nullptr;
        presenter.screen = presenter.own;
        if (presenter.own) {
            SDL_FillRect(presenter.own, nullptr, STARTUP_BLUE);
            presenter.scaled = true;
            video_show_in(window, request.filter);
        }
    } else {
        presenter.screen = SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 0);
        presenter.window = presenter.screen;
        if (presenter.screen) {
            SDL_FillRect(presenter.screen, nullptr, STARTUP_BLUE);
            SDL_UpdateRect(presenter.screen, 0, 0, 0, 0);
        }
    }
    if (!presenter.screen) {
        video_report_init_error();
        SDL_Quit();
        return 1;
    }
    if (request.desktop) window_opened(request);
    presenter.last_present_ticks = clock_in_use->ticks();
    return 0;
}

void video_drain() {
    SDL_Surface* s = presenter.screen;
    auto started = present_timing.enabled ? std::chrono::steady_clock::now()
                                          : std::chrono::steady_clock::time_point();
    update_region_clear(video_last_update);
    bool must_lock = s && window_in_use->lock_when_asked && SDL_MUSTLOCK(s);
    bool locked = must_lock && SDL_LockSurface(s) == 0;
    // A surface that must be locked and cannot be is not written this frame;
    // its commands are consumed all the same, as if the queue had dropped them.
    bool writable = s && s->pixels && s->format->BytesPerPixel == 4 && (!must_lock || locked);
    PaintArea area{};
    if (writable) {
        area = PaintArea{static_cast<uint8_t*>(s->pixels), s->pitch,
                         std::min<int>(s->w, SCREEN_WIDTH), std::min<int>(s->h, SCREEN_HEIGHT)};
    }
    while (draw_queue.pending > 0) {
        const DrawCommand& c = draw_queue.commands[draw_queue.read_index];
        if (writable) paint_command(c, area);
        draw_queue.read_index = (draw_queue.read_index + 1) % DRAW_QUEUE_CAPACITY;
        draw_queue.pending -= 1;
    }
    if (locked) SDL_UnlockSurface(s);
    // Only what this drain painted differs from what the window shows, so only
    // that is updated; a drain that painted nothing updates nothing.
    update_region_build(video_last_update);
    bool whole = video_last_update.whole || presenter.update_whole_window;
    if (presenter.scaled) show_scaled(video_last_update, whole);
    else if (s && (whole || video_last_update.count > 0)) window_in_use->update(s, video_last_update, whole);
    if (present_timing.enabled) {
        present_timing.drain_micros +=
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - started).count();
    }
}

int video_present() {
    if (!presenter.presenting_enabled) return DRAW_NOT_PRESENTING;
    uint32_t elapsed = clock_in_use->ticks() - presenter.last_present_ticks;
    // Wait out the rest of the frame, also when no time has passed at all, so
    // a frame whose work takes under a millisecond is still held to 16 ms.
    if (elapsed < FRAME_MS) clock_in_use->delay(FRAME_MS - elapsed);
    presenter.last_present_ticks = clock_in_use->ticks();
    video_drain();
    return DRAW_OK;
}

void video_flush() { video_drain(); }

void video_set_presenting(int on) { presenter.presenting_enabled = on; }

void video_repaint() {
    if (!presenter.screen) return;
    UpdateRegion whole{};
    whole.whole = true;
    if (presenter.scaled) show_scaled(whole, true, true);
    else window_in_use->update(presenter.screen, whole, true);
}

void video_show_in(SDL_Surface* window, VideoFilter filter) {
    // The old window's pixels may be gone by now: they were to be saved by
    // video_leave_window before the mode changed, and are never read here.
    if (presenter.own) {
        presenter.screen = presenter.own;
        presenter.scaled = true;
    }
    presenter.window = window;
    presenter.direct = false;
    direct_missed = false;
    if (!window) return;
    view_fit(video_view, window->w, window->h, filter);
    // Where the window's own pixels can be written, only what changed is
    // shown, at any size, and no other path is as cheap.
    presenter.direct = presenter.own && window_surface_find();
    // The window shows the screen pixel for pixel: the game draws into it as
    // into its own screen, and a frame costs no copy at all.
    if (!presenter.direct && presenter.own && shows_screen_as_is(window) && copy_screen(presenter.own, window)) {
        presenter.screen = window;
        presenter.scaled = false;
    }
    video_repaint();
}

void video_leave_window() {
    window_surface_forget();
    presenter.direct = false;
    if (!presenter.own || presenter.screen != presenter.window || !presenter.screen) return;
    // Should the window's pixels not be readable (a lock refused), the own
    // surface still holds the picture of when the window became the screen.
    copy_screen(presenter.screen, presenter.own);
    presenter.screen = presenter.own;
    presenter.scaled = true;
}

void video_shutdown() {
    // The window's surface belongs to SDL, which frees it when video stops.
    if (presenter.own) SDL_FreeSurface(presenter.own);
    else if (presenter.screen) SDL_FreeSurface(presenter.screen);
    presenter.screen = nullptr;
    presenter.window = nullptr;
    presenter.own = nullptr;
    presenter.scaled = false;
    presenter.direct = false;
    window_surface_forget();
}

uint32_t video_pixel(int x, int y) {
    SDL_Surface* s = presenter.screen;
    if (!s || !s->pixels || x < 0 || y < 0 || x >= std::min<int>(s->w, SCREEN_WIDTH) ||
        y >= std::min<int>(s->h, SCREEN_HEIGHT))
        return 0;
    const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + size_t(y) * size_t(s->pitch);
    return reinterpret_cast<const uint32_t*>(row)[x];
}
