// SDL 2's window surface beneath SDL's 1.2 layer, written and shown by the
// presenter rectangle by rectangle.
#include "video/window_surface.h"

#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace {

#ifdef _WIN32
constexpr const char* SDL2_LIBRARY = "SDL2.dll";
#else
constexpr const char* SDL2_LIBRARY = "libSDL2-2.0.so.0";
#endif

// The few records of SDL 2 that are read here, as its stable interface lays
// them out (SDL 2 keeps them the same across all its 2.x releases).
struct Sdl2Rect {
    int x, y, w, h;
};
struct Sdl2PixelFormat {
    uint32_t format;
    void* palette;
    uint8_t bits_per_pixel, bytes_per_pixel, padding[2];
    uint32_t rmask, gmask, bmask, amask;
};
struct Sdl2Surface {
    uint32_t flags;
    Sdl2PixelFormat* format;
    int w, h;
    int pitch;
    void* pixels;
};
struct Sdl2RendererInfo {
    const char* name;
    uint32_t flags;
    uint32_t num_texture_formats;
    uint32_t texture_formats[16];
    int max_texture_width, max_texture_height;
};
constexpr uint32_t SDL2_RLEACCEL = 0x00000002;

struct Sdl2 {
    void* (*get_window_from_id)(uint32_t id);
    void* (*get_renderer)(void* window);
    int (*get_renderer_info)(void* renderer, Sdl2RendererInfo* info);
    Sdl2Surface* (*get_window_surface)(void* window);
    int (*update_window_surface_rects)(void* window, const Sdl2Rect* rects, int count);
};

Sdl2 sdl2;
bool sdl2_looked = false, sdl2_found = false;
void* window = nullptr;

template <typename F>
bool look_up(F& function, const char* name) {
    function = reinterpret_cast<F>(platform_loaded_function(SDL2_LIBRARY, name));
    return function != nullptr;
}

bool find_sdl2() {
    if (sdl2_looked) return sdl2_found;
    sdl2_looked = true;
    sdl2_found = look_up(sdl2.get_window_from_id, "SDL_GetWindowFromID") &&
                 look_up(sdl2.get_renderer, "SDL_GetRenderer") &&
                 look_up(sdl2.get_renderer_info, "SDL_GetRendererInfo") &&
                 look_up(sdl2.get_window_surface, "SDL_GetWindowSurface") &&
                 look_up(sdl2.update_window_surface_rects, "SDL_UpdateWindowSurfaceRects");
    return sdl2_found;
}

bool set_to(const char* name, const char* value) {
    const char* set = std::getenv(name);
    return set && !std::strcmp(set, value);
}

// Window identities count up from 1 as windows are made; the 1.2 layer has
// one at a time, remade now and then, so the newest one is searched for, up
// to this far past the last one found.
constexpr uint32_t WINDOW_ID_SEARCH = 4096;
uint32_t last_window_id = 0;

}  // namespace

bool window_surface_find() {
    window = nullptr;
    // Only the layer's own present waits for the display's refresh, and only
    // with the software framebuffer does the renderer draw into the window
    // surface the game then writes.
    if (set_to("SDL12COMPAT_SYNC_TO_VBLANK", "1") || !set_to("SDL_FRAMEBUFFER_ACCELERATION", "0")) return false;
    if (!find_sdl2()) return false;
    void* newest = nullptr;
    uint32_t id = last_window_id + WINDOW_ID_SEARCH;
    for (; id >= 1 && !newest; --id) newest = sdl2.get_window_from_id(id);
    if (!newest) return false;
    last_window_id = id + 1;
    void* renderer = sdl2.get_renderer(newest);
    Sdl2RendererInfo info{};
    if (!renderer || sdl2.get_renderer_info(renderer, &info) != 0 || !info.name || std::strcmp(info.name, "software") != 0)
        return false;
    window = newest;
    WindowSurface surface{};
    if (!window_surface_get(surface)) window = nullptr;
    return window != nullptr;
}

void window_surface_forget() { window = nullptr; }

bool window_surface_get(WindowSurface& surface) {
    if (!window) return false;
    const Sdl2Surface* s = sdl2.get_window_surface(window);
    if (!s || !s->pixels || !s->format || s->format->bytes_per_pixel != 4 || (s->flags & SDL2_RLEACCEL)) return false;
    const Sdl2PixelFormat& f = *s->format;
    // The game's pixels are 0x00RRGGBB: a window of another layout is left to
    // the 1.2 layer, which converts.
    if (f.rmask != 0x00FF0000u || f.gmask != 0x0000FF00u || f.bmask != 0x000000FFu) return false;
    surface = WindowSurface{static_cast<uint8_t*>(s->pixels), s->pitch, s->w, s->h,
                            ViewFormat{16, 8, 0, f.amask}};
    return true;
}

void window_surface_update(const ViewRect* rects, int count) {
    if (!window || count <= 0) return;
    Sdl2Rect list[256];
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const ViewRect& r = rects[i];
        if (r.x0 >= r.x1 || r.y0 >= r.y1) continue;
        list[n++] = Sdl2Rect{r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0};
        if (n == int(sizeof list / sizeof list[0])) {
            sdl2.update_window_surface_rects(window, list, n);
            n = 0;
        }
    }
    if (n > 0) sdl2.update_window_surface_rects(window, list, n);
}
