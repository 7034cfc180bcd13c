// Screenshots: the painted 2500 x 1300 screen, as shown, written as a PNG.
#pragma once
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

// "zuba-trilo-YYYYMMDD-HHMMSS.png" for the given local time, with "-N"
// before the extension for N from 2.
std::string screenshot_name(const std::tm& when, int n);

// One row of the screen as shown, 3 bytes (red, green, blue) a pixel, into
// rgb (SCREEN_WIDTH * 3 bytes): what screenshots and frame dumps hold.
void screenshot_rgb_row(int y, uint8_t* rgb);

// Writes the screen as an RGB PNG to the file; false on a write error.
bool screenshot_write_png(std::FILE* file);

// Writes the screen into folder (created when missing) under the first name
// for the current time that is not taken; path says where, or error why not.
bool screenshot_save(const std::string& folder, std::string& path, std::string& error);
