// Screenshots: the surface's pixels through Debian's stb_image_write into a
// new file that never replaces an older picture.
#include "video/screenshot.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

#include "platform/platform.h"
#include "video/draw_queue.h"
#include "video/presenter.h"

namespace {

constexpr int MAX_SAME_SECOND = 1000;  // pictures taken within one second

void write_to_file(void* context, void* data, int size) {
    auto* out = static_cast<std::FILE*>(context);
    if (size > 0) std::fwrite(data, 1, size_t(size), out);
}

}  // namespace

std::string screenshot_name(const std::tm& when, int n) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    char name[64];
    if (n > 1) std::snprintf(name, sizeof name, "zuba-trilo-%s-%d.png", stamp, n);
    else std::snprintf(name, sizeof name, "zuba-trilo-%s.png", stamp);
    return name;
}

void screenshot_rgb_row(int y, uint8_t* rgb) {
    for (int x = 0; x < SCREEN_WIDTH; ++x) {
        const uint32_t p = video_pixel(x, y);
        uint8_t* out = rgb + size_t(x) * 3;
        out[0] = uint8_t(p >> 16);
        out[1] = uint8_t(p >> 8);
        out[2] = uint8_t(p);
    }
}

bool screenshot_write_png(std::FILE* file) {
    std::vector<uint8_t> rgb(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT * 3);
    for (int y = 0; y < SCREEN_HEIGHT; ++y) screenshot_rgb_row(y, &rgb[size_t(y) * SCREEN_WIDTH * 3]);
    const int ok = stbi_write_png_to_func(write_to_file, file, SCREEN_WIDTH, SCREEN_HEIGHT, 3, rgb.data(),
                                          SCREEN_WIDTH * 3);
    return ok != 0 && std::ferror(file) == 0;
}

bool screenshot_save(const std::string& folder, std::string& path, std::string& error) {
    if (folder.empty()) {
        error = "no folder for screenshots (neither XDG_DATA_HOME nor HOME is set)";
        return false;
    }
    if (!platform_make_folders(folder)) {
        error = folder + ": cannot create the screenshot folder (" + std::strerror(errno) + ")";
        return false;
    }
    const std::time_t now = std::time(nullptr);
    const std::tm when = *std::localtime(&now);
    for (int n = 1; n <= MAX_SAME_SECOND; ++n) {
        path = platform_path(folder, screenshot_name(when, n));
        std::FILE* f = platform_create_new_file(path);
        if (!f) {
            if (errno == EEXIST) continue;
            error = path + ": cannot write the screenshot (" + std::strerror(errno) + ")";
            return false;
        }
        bool ok = screenshot_write_png(f);
        const int write_errno = errno;
        if (std::fclose(f) != 0) ok = false;
        if (ok) return true;
        std::remove(path.c_str());
        error = path + ": cannot write the screenshot (" + std::strerror(write_errno) + ")";
        return false;
    }
    error = folder + ": too many screenshots in one second";
    return false;
}
