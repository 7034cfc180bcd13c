// The desktop window around the 2500 x 1300 screen: its size on the player's
// display, its title and icon, and fullscreen. The game always paints all of
// its pixels; only how the window shows them changes here.
#pragma once
#include <cstdint>
#include <string>

#include "video/view.h"

struct SDL_Surface;

// Room left around the window for its frame and the desktop's panels.
constexpr int WINDOW_MARGIN_W = 64;
constexpr int WINDOW_MARGIN_H = 96;
constexpr double WINDOW_SCALE_MIN = 0.25;

constexpr const char* WINDOW_TITLE = "ZUBA-TRILO";
// The icon: the desktop icon's picture, the invader over the cannon at two
// window pixels per sprite pixel.
constexpr int WINDOW_ICON_SIZE = 48;
constexpr int WINDOW_ICON_ART_SCALE = 2;

// What the desktop program asks of its window. The replay driver, the tests
// and the browser page ask nothing: SDL's window of the screen's size.
struct WindowRequest {
    bool desktop;     // a player's window: fitted, titled, and a display required
    bool fullscreen;  // start in fullscreen
    bool never_scale; // keep the window at full size
    double scale;     // a scale the player chose; 0 to fit the display
    bool chosen;      // the player chose how to scale (command line or settings)
    int width, height;  // the window's last size, when remembered (0: none)
    VideoFilter filter;
    int vsync;        // 1: presents wait for the display's refresh; 0: never; -1: SDL's own choice
};

struct GameWindow {
    bool fullscreen;
    int width, height;  // the window's size when not fullscreen
    bool resized;       // the player resized the window (a size to remember)
    int display_w, display_h;  // the display's size when the game started (0: unknown)
    VideoFilter filter;
};

extern GameWindow game_window;

// The largest scale, rounded down to a thousandth and never above 1, at which
// a width x height window leaves the margins free on the display; 1 when the
// display size is unknown (0).
double window_fit_scale(int display_w, int display_h, int width, int height);

// The icon's pixels, 0xAARRGGBB, row after row.
void window_icon_pixels(uint32_t (&pixels)[WINDOW_ICON_SIZE * WINDOW_ICON_SIZE]);

// True when SDL picked a video driver that shows nothing to a person
// (offscreen, dummy) although nobody asked for one by name in
// SDL_VIDEODRIVER (`requested`, null or empty when unset): SDL found no
// display and fell back to drawing into memory.
bool window_driver_shows_nothing(const char* driver, const char* requested);
// The same question asked of the running SDL, after its video has started.
bool window_display_missing();
// What the player reads on standard error when there is no display.
constexpr const char* WINDOW_NO_DISPLAY_MESSAGE =
    "zuba-trilo: no display found: run the game from a desktop session, or set DISPLAY or WAYLAND_DISPLAY.\n";

// What video_init opens; set before it.
void window_request(const WindowRequest& request);
extern WindowRequest window_requested;

// The size of the window that shows the screen at scale: whole pixels,
// rounded down.
void window_size_at(double scale, int& width, int& height);

// After SDL's video starts and before the window opens: the presenting hints
// the player has not set, vsync, title and icon.
void window_prepare(const WindowRequest& request);
// Opens the resizable window at the size it is shown: the remembered size
// when it still fits the display, else the scale chosen, else fitted to the
// display; null when SDL cannot.
SDL_Surface* window_open(const WindowRequest& request);
// After the window opens: fullscreen if asked for.
void window_opened(const WindowRequest& request);
// Switches between window and fullscreen (at the display's own size, the
// picture letterboxed), keeping the picture; the pointer is hidden while
// fullscreen.
void window_toggle_fullscreen();
// The player dragged the window's border to width x height: the window gets
// that size and the picture is refitted in it.
void window_resized(int width, int height);
// The window sized afresh as the player chose: the screen's own size
// (never_scale), scale, or fitted to the display (scale 0). In fullscreen the
// new size waits for the window's return. A size the player had dragged the
// window to is replaced by the new one.
void window_rescale(bool never_scale, double scale);
// Smooth or sharp from now on.
void window_set_filter(VideoFilter filter);
// The window's size for the settings file ("1200x900") once the player has
// resized it; empty otherwise, so a game that was only fitted, scaled or
// made fullscreen never writes a size into the player's file.
std::string window_size_to_remember();
