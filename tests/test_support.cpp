#include "tests/test_support.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "audio/sounds.h"
#include "video/presenter.h"

Cues cues;

namespace {
void record_cue(int voice, int id) { cues.emplace_back(voice, id); }
}  // namespace

bool start_headless_video(uint32_t start_ticks) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    replay_clock_start(start_ticks);
    draw_queue_reset();
    return video_init() == 0;
}

void stop_headless_video() {
    draw_queue_reset();
    video_shutdown();
    SDL_Quit();
    replay_clock_stop();
}

std::vector<DrawCommand> pending_commands() {
    std::vector<DrawCommand> out;
    int i = draw_queue.read_index;
    for (int n = 0; n < draw_queue.pending; ++n) {
        out.push_back(draw_queue.commands[i]);
        i = (i + 1) % DRAW_QUEUE_CAPACITY;
    }
    return out;
}

void PrintTo(const Cmd& c, std::ostream* os) {
    *os << (c.pixels ? "picture " : "fill ") << c.x << "," << c.y << " " << c.w << "x" << c.h;
    if (!c.pixels) *os << " gray " << c.gray;
}

std::vector<Cmd> queued() {
    std::vector<Cmd> out;
    for (const DrawCommand& c : pending_commands()) out.push_back({c.pixels, c.x, c.y, c.w, c.h, c.gray});
    return out;
}

int count_queued(const uint8_t* pixels) {
    int n = 0;
    for (const DrawCommand& c : pending_commands()) n += c.pixels == pixels;
    return n;
}

void record_cues() {
    cues.clear();
    sound_set_cue_hook(record_cue);
}

void stop_recording_cues() { sound_set_cue_hook(nullptr); }

PpmImage read_ppm(const std::string& path) {
    const bool gz = path.size() > 3 && path.compare(path.size() - 3, 3, ".gz") == 0;
    std::FILE* f = gz ? popen(("gzip -dc < '" + path + "' 2>/dev/null").c_str(), "r") : std::fopen(path.c_str(), "rb");
    PpmImage p;
    int maxval = 0;
    bool ok = f && std::fscanf(f, "P6 %d %d %d", &p.w, &p.h, &maxval) == 3 && maxval == 255 && p.w > 0 &&
              p.h > 0 && p.w <= 10000 && p.h <= 10000 && std::fgetc(f) != EOF;
    if (ok) {
        p.rgb.resize(size_t(p.w) * size_t(p.h) * 3);
        ok = std::fread(p.rgb.data(), 1, p.rgb.size(), f) == p.rgb.size();
    }
    if (f) ok = (gz ? pclose(f) == 0 : std::fclose(f) == 0) && ok;
    return ok ? p : PpmImage{};
}

std::string source_path(const std::string& relative) {
    return std::string(ZUBA_SOURCE_DIR) + "/" + relative;
}

std::string scratch_folder(const std::string& name) {
    const std::string dir = std::string(ZUBA_BINARY_DIR) + "/scratch_" + name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}
