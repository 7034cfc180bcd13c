// The presenter: video start-up, and the paced painting of the draw queue into
// the window surface, at most once every FRAME_MS.
#pragma once
#include <cstdint>

#include "video/update_region.h"
#include "video/view.h"

struct SDL_Surface;

constexpr uint32_t FRAME_MS = 16;
constexpr uint32_t STARTUP_BLUE = 0xFF0000C0u;

// The one place the game reads time. Tests and the replay driver swap in a
// fake clock; the game uses SDL_GetTicks and SDL_Delay.
struct VideoClock {
    uint32_t (*ticks)();
    void (*delay)(uint32_t ms);
};

struct Presenter {
    // The game's 2500 x 1300 picture: what the game draws into. Where the
    // window shows it pixel for pixel (headless, the browser, a player's
    // window of exactly the screen's size) it is the window's surface itself
    // and `window` is the same, so nothing is copied; in any other player's
    // window it is `own`, shown scaled in `window`.
    SDL_Surface* screen;
    SDL_Surface* window;
    // A player's window only: the game's own 2500 x 1300 surface, made at
    // start-up and drawn into whenever the window is not the screen's size.
    SDL_Surface* own;
    bool scaled;  // the screen is shown in the window through the view
    // Scaled into the window's own pixels beneath SDL's 1.2 layer and shown
    // rectangle by rectangle (see video/window_surface.h).
    bool direct;
    uint32_t last_present_ticks;
    int presenting_enabled;
    // Update the whole window after every drain instead of what changed
    // (kept to measure the difference).
    int update_whole_window;
};

extern Presenter presenter;

// What the last drain updated of the window (tests compare it with what was
// painted).
extern UpdateRegion video_last_update;

// Time spent painting and updating the window, summed over drains while
// enabled; the timed demo splits each pass into simulation and presentation.
struct PresentTiming {
    bool enabled;
    double drain_micros;
};
extern PresentTiming present_timing;

// Replaces the clock (nullptr restores SDL's).
void video_set_clock(const VideoClock* clock);

// How painted pixels reach the window. SDL's own way locks the surface when
// SDL asks for it and updates the changed rectangles; a browser page, whose
// SDL would copy the whole canvas on every lock, paints the rectangles onto
// its canvas itself and never locks.
struct VideoWindow {
    bool lock_when_asked;
    // Shows the given part of the surface: the whole window, or the rectangles.
    void (*update)(SDL_Surface* screen, const UpdateRegion& region, bool whole);
};
// Replaces the window (nullptr restores SDL's).
void video_set_window(const VideoWindow* window);

// Where and how the screen is shown in a player's window.
extern VideoView video_view;
// Shows the screen in window (a new video mode: opened, resized, fullscreen
// or back) from now on: the picture refitted with black bars around it, and
// all of it shown at once. A window of exactly the screen's size and pixel
// format becomes the screen itself, drawn into directly.
void video_show_in(SDL_Surface* window, VideoFilter filter);
// Before the window's surface is replaced (SDL_SetVideoMode): a game drawing
// straight into the window moves its picture into its own surface, so the
// new window is shown from it and nothing already drawn is lost.
void video_leave_window();

int video_init();
// The one line the game prints when SDL cannot start, on standard output.
void video_report_init_error();
int video_present();
// Paints every pending command now, presenting or not.
void video_flush();
void video_set_presenting(int on);
// Shows the whole surface in the window again, whatever changed: after the
// desktop destroyed the window's picture (a window passed over it, it was
// minimised) or the window was opened anew.
void video_repaint();
// Frees the screen surface (and the window's); the last step of shutdown.
void video_shutdown();

// Paints every pending command into the surface (clipped to the screen) and
// updates the window. Shared by video_present and video_flush.
void video_drain();

// Reads the painted pixel at (x, y); 0 outside the screen or without a surface.
uint32_t video_pixel(int x, int y);
