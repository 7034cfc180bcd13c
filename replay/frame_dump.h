// Frame dumps: the window's surface as a picture file.
#pragma once
#include <string>

// Writes the surface as a binary PPM; false on a write error.
bool replay_write_ppm(const std::string& path);
