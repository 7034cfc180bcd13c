// The desktop window: fitted to the display, titled, with the game's icon,
// and switched to fullscreen and back on request.
#include "video/window.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/sprites.h"

GameWindow game_window;
WindowRequest window_requested;

namespace {

// SDL's 1.2 layer over SDL 2 reads this when the window opens; the classic
// SDL 1.2 ignores it and keeps the window at full size.
constexpr const char* SCALING_VARIABLE = "SDL12COMPAT_WINDOW_SCALING";
// Whether SDL's 1.2 layer waits for the display's refresh when it shows a frame.
constexpr const char* VSYNC_VARIABLE = "SDL12COMPAT_SYNC_TO_VBLANK";

// How SDL 2 shows the 1.2 window surface in an X window. By default it draws
// the surface through OpenGL every frame, which on an X server without a
// graphics card (a software OpenGL) costs more than a whole frame for our
// 2500 x 1300 pixels. SDL 2's software renderer into the X server's shared
// memory does the same, scaled or not, in a few milliseconds. Wayland has no
// such shared framebuffer in SDL 2, so this is for X only; any of these the
// player has set is kept.
struct Hint {
    const char* name;
    const char* value;
};
constexpr Hint X11_HINTS[] = {
    {"SDL12COMPAT_OPENGL_SCALING", "0"},     // the 1.2 layer presents through a renderer...
    {"SDL_RENDER_DRIVER", "software"},       // ...the software one...
    {"SDL_FRAMEBUFFER_ACCELERATION", "0"},   // ...into the X shared-memory window
};

uint32_t icon_pixels[WINDOW_ICON_SIZE * WINDOW_ICON_SIZE];

// The icon's art is as wide as the wider sprite; each sprite is centred in
// it by whole sprite pixels, and the art is centred in the icon.
constexpr int ICON_ART_W = std::max(INVADER1_W, CANNON_W);

// Puts one sprite into the icon at row top.
void icon_put(uint32_t (&pixels)[WINDOW_ICON_SIZE * WINDOW_ICON_SIZE], const uint8_t* art, int w, int h,
              int top) {
    const int s = WINDOW_ICON_ART_SCALE;
    const int left = (WINDOW_ICON_SIZE - ICON_ART_W * s) / 2 + (ICON_ART_W - w) / 2 * s;
    for (int y = 0; y < h * s; ++y)
        for (int x = 0; x < w * s; ++x)
            pixels[(top + y) * WINDOW_ICON_SIZE + left + x] = gray_pixel(art[(y / s) * w + x / s]);
}

}  // namespace

double window_fit_scale(int display_w, int display_h, int width, int height) {
    if (display_w <= 0 || display_h <= 0 || width <= 0 || height <= 0) return 1.0;
    double fit = std::min(double(display_w - WINDOW_MARGIN_W) / width, double(display_h - WINDOW_MARGIN_H) / height);
    if (fit >= 1.0) return 1.0;
    fit = std::floor(fit * 1000.0) / 1000.0;
    return std::max(fit, WINDOW_SCALE_MIN);
}

void window_icon_pixels(uint32_t (&pixels)[WINDOW_ICON_SIZE * WINDOW_ICON_SIZE]) {
    // The same picture as the desktop icon: the invader, one black row, the
    // cannon, the whole centred on black.
    for (uint32_t& p : pixels) p = gray_pixel(0);
    const int art_h = (INVADER_H + 1 + CANNON_H) * WINDOW_ICON_ART_SCALE;
    const int top = (WINDOW_ICON_SIZE - art_h) / 2;
    icon_put(pixels, SPRITE_INVADER1_A, INVADER1_W, INVADER_H, top);
    icon_put(pixels, SPRITE_CANNON, CANNON_W, CANNON_H, top + (INVADER_H + 1) * WINDOW_ICON_ART_SCALE);
}

bool window_driver_shows_nothing(const char* driver, const char* requested) {
    if (requested && requested[0]) return false;
    return !std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy");
}

bool window_display_missing() {
    char driver[32] = "";
    if (!SDL_VideoDriverName(driver, sizeof driver)) return false;
    return window_driver_shows_nothing(driver, std::getenv("SDL_VIDEODRIVER"));
}

void window_request(const WindowRequest& request) { window_requested = request; }

void window_size_at(double scale, int& width, int& height) {
    // A thousandth of a pixel of slack: 0.742 x 2500 is 1855, not 1854.
    width = std::max(1, int(std::floor(SCREEN_WIDTH * scale + 1e-6)));
    height = std::max(1, int(std::floor(SCREEN_HEIGHT * scale + 1e-6)));
}

void window_prepare(const WindowRequest& request) {
    game_window = GameWindow{};
    game_window.filter = request.filter;
    char driver[32] = "";
    if (!SDL_VideoDriverName(driver, sizeof driver)) driver[0] = '\0';
    // The window is opened at the size it is shown and the game scales the
    // picture itself: SDL's 1.2 layer must not scale it once more.
    platform_set_env(SCALING_VARIABLE, "1", true);
    if (request.vsync >= 0) platform_set_env(VSYNC_VARIABLE, request.vsync ? "1" : "0", true);
    if (!std::strcmp(driver, "x11")) {
        for (const Hint& hint : X11_HINTS) platform_set_env(hint.name, hint.value, false);
    }
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info && std::strcmp(driver, "dummy") != 0) {
        game_window.display_w = info->current_w;
        game_window.display_h = info->current_h;
    }
    SDL_WM_SetCaption(WINDOW_TITLE, WINDOW_TITLE);
    window_icon_pixels(icon_pixels);
    // Kept for the program's life: SDL may keep referring to it.
    static SDL_Surface* icon = nullptr;
    if (!icon) icon = SDL_CreateRGBSurfaceFrom(icon_pixels, WINDOW_ICON_SIZE, WINDOW_ICON_SIZE, 32,
                                                 WINDOW_ICON_SIZE * 4, 0x00FF0000u, 0x0000FF00u,
                                                 0x000000FFu, 0xFF000000u);
    if (icon) SDL_WM_SetIcon(icon, nullptr);
}

SDL_Surface* window_open(const WindowRequest& request) {
    window_prepare(request);
    const int dw = game_window.display_w, dh = game_window.display_h;
    int w = 0, h = 0;
    // A remembered size that no longer fits the display is refitted.
    const bool known = dw > 0 && dh > 0;
    if (request.width > 0 && request.height > 0 && (!known || (request.width <= dw && request.height <= dh))) {
        w = request.width;
        h = request.height;
    } else {
        double scale = 1.0;
        if (request.scale > 0) scale = request.scale;
        else if (!request.never_scale) scale = window_fit_scale(dw, dh, SCREEN_WIDTH, SCREEN_HEIGHT);
        window_size_at(scale, w, h);
    }
    game_window.width = w;
    game_window.height = h;
    return SDL_SetVideoMode(w, h, 32, SDL_RESIZABLE);
}

void window_opened(const WindowRequest& request) {
    if (request.fullscreen) window_toggle_fullscreen();
}

void window_toggle_fullscreen() {
    if (!presenter.own) return;
    const bool to_full = !game_window.fullscreen;
    int w = game_window.width, h = game_window.height;
    if (to_full && game_window.display_w > 0 && game_window.display_h > 0) {
        w = game_window.display_w;
        h = game_window.display_h;
    }
    video_leave_window();
    SDL_Surface* again = SDL_SetVideoMode(w, h, 32, to_full ? SDL_FULLSCREEN : SDL_RESIZABLE);
    // Where the other mode cannot be had, the window stays as it was.
    if (!again) again = SDL_SetVideoMode(game_window.width, game_window.height, 32, SDL_RESIZABLE);
    if (!again) return;
    game_window.fullscreen = (again->flags & SDL_FULLSCREEN) != 0;
    SDL_ShowCursor(game_window.fullscreen ? SDL_DISABLE : SDL_ENABLE);
    video_show_in(again, game_window.filter);
}

void window_resized(int width, int height) {
    if (!presenter.own || game_window.fullscreen || width <= 0 || height <= 0) return;
    if (width == presenter.window->w && height == presenter.window->h) return;
    video_leave_window();
    SDL_Surface* again = SDL_SetVideoMode(width, height, 32, SDL_RESIZABLE);
    if (!again) again = SDL_SetVideoMode(game_window.width, game_window.height, 32, SDL_RESIZABLE);
    if (!again) return;
    game_window.resized = game_window.resized || again->w != game_window.width || again->h != game_window.height;
    game_window.width = again->w;
    game_window.height = again->h;
    video_show_in(again, game_window.filter);
}

void window_rescale(bool never_scale, double scale) {
    if (scale <= 0) scale = never_scale ? 1.0 : window_fit_scale(game_window.display_w, game_window.display_h, SCREEN_WIDTH, SCREEN_HEIGHT);
    int w = 0, h = 0;
    window_size_at(scale, w, h);
    if (!presenter.own || game_window.fullscreen) {
        game_window.width = w;
        game_window.height = h;
        return;
    }
    const bool resized = game_window.resized;
    window_resized(w, h);
    // Only a size the player had dragged to stays remembered, now as this one.
    game_window.resized = resized;
}

void window_set_filter(VideoFilter filter) {
    game_window.filter = filter;
    if (presenter.own && presenter.window) video_show_in(presenter.window, filter);
}

std::string window_size_to_remember() {
    if (!game_window.resized) return std::string();
    return std::to_string(game_window.width) + "x" + std::to_string(game_window.height);
}
