// The window's own pixels beneath SDL's 1.2 layer. That layer keeps the 1.2
// window surface in a texture and, on every update however small, draws the
// whole texture into the window again and sends the whole window to the
// display: milliseconds a frame for a large window, whatever changed. Where
// the layer runs on SDL 2 with its software renderer (the game asks for it
// on X), the renderer draws into SDL 2's window surface, which the game can
// also write into directly and show rectangle by rectangle: a frame then
// costs what changed. Anywhere else (the classic SDL 1.2, another renderer,
// vsync asked for, which only the layer's own present honours) nothing is
// found and the presenter goes through the 1.2 layer as before.
#pragma once
#include <cstdint>

#include "video/view.h"

struct WindowSurface {
    uint8_t* pixels;
    int pitch;  // bytes per row
    int w, h;
    ViewFormat format;
};

// After the 1.2 layer opened or changed its window: looks for the window's
// own surface; true when the presenter may draw there from now on.
bool window_surface_find();
// Forgets the window (before the 1.2 layer replaces it, at shutdown).
void window_surface_forget();
// The window's pixels now (the surface is made anew when the window's size
// changes); false when there is no usable surface.
bool window_surface_get(WindowSurface& surface);
// Shows the given rectangles of the window surface on the display.
void window_surface_update(const ViewRect* rects, int count);
