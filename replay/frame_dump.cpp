// The frame dump writer: the game's 2500 x 1300 picture as a binary PPM.
#include "replay/frame_dump.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "video/draw_queue.h"
#include "video/presenter.h"

bool replay_write_ppm(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", SCREEN_WIDTH, SCREEN_HEIGHT);
    std::vector<uint8_t> row(size_t(SCREEN_WIDTH) * 3);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            uint32_t p = video_pixel(x, y);
            row[size_t(x) * 3] = uint8_t(p >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(p);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    return std::fclose(f) == 0;
}
