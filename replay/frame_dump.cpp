// The frame dump writer: the game's 2500 x 1300 picture as a binary PPM.
#include "replay/frame_dump.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "video/draw_queue.h"
#include "video/screenshot.h"

bool replay_write_ppm(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", SCREEN_WIDTH, SCREEN_HEIGHT);
    std::vector<uint8_t> row(size_t(SCREEN_WIDTH) * 3);
    bool written = true;
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        screenshot_rgb_row(y, row.data());
        written = written && std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return std::fclose(f) == 0 && written;
}
