// Screenshots: the painted 2500 x 1300 screen, as shown, written as a PNG.
#pragma once
#include <cstdio>
#include <ctime>
#include <string>

// "zuba-trilo-YYYYMMDD-HHMMSS.png" for the given local time, with "-N"
// before the extension for N from 2.
std::string screenshot_name(const std::tm& when, int n);

// Writes the screen as an RGB PNG to the file; false on a write error.
bool screenshot_write_png(std::FILE* file);

// Writes the screen into folder (created when missing) under the first name
// for the current time that is not taken; path says where, or error why not.
bool screenshot_save(const std::string& folder, std::string& path, std::string& error);
