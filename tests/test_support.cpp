#include "tests/test_support.h"

#include <SDL.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>

#include "audio/sounds.h"
#include "platform/platform.h"
#include "video/presenter.h"

Cues cues;

namespace {
void record_cue(int voice, int id) { cues.emplace_back(voice, id); }
}  // namespace

bool start_headless_video(uint32_t start_ticks) {
    platform_set_env("SDL_VIDEODRIVER", "dummy", true);
    platform_set_env("SDL_AUDIODRIVER", "dummy", true);
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

void push_joy_button(int device, int button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton = SDL_JoyButtonEvent{e.type, uint8_t(device), uint8_t(button), uint8_t(down ? SDL_PRESSED : SDL_RELEASED)};
    SDL_PushEvent(&e);
}

void push_joy_axis(int device, int axis, int value) {
    SDL_Event e{};
    e.jaxis = SDL_JoyAxisEvent{SDL_JOYAXISMOTION, uint8_t(device), uint8_t(axis), int16_t(value)};
    SDL_PushEvent(&e);
}

void push_window_active(int gain, int state) {
    SDL_Event e{};
    e.active = SDL_ActiveEvent{SDL_ACTIVEEVENT, uint8_t(gain), uint8_t(state)};
    SDL_PushEvent(&e);
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
    // zlib reads a plain file as it is and a gzip-compressed one unpacked.
    gzFile f = gzopen(path.c_str(), "rb");
    if (!f) return PpmImage{};
    std::string data;
    char chunk[65536];
    int n = 0;
    while ((n = gzread(f, chunk, sizeof chunk)) > 0) data.append(chunk, size_t(n));
    const bool read_whole = n == 0 && gzclose(f) == Z_OK;
    PpmImage p;
    int maxval = 0, header = 0;
    // The header, then exactly one whitespace byte before the pixels.
    bool ok = read_whole && std::sscanf(data.c_str(), "P6 %d %d %d%n", &p.w, &p.h, &maxval, &header) == 3 &&
              maxval == 255 && p.w > 0 && p.h > 0 && p.w <= 10000 && p.h <= 10000;
    const size_t bytes = size_t(p.w) * size_t(p.h) * 3;
    ok = ok && data.size() >= size_t(header) + 1 + bytes;
    if (!ok) return PpmImage{};
    p.rgb.assign(data.begin() + header + 1, data.begin() + header + 1 + std::ptrdiff_t(bytes));
    return p;
}

std::string source_path(const std::string& relative) {
    return std::string(ZUBA_SOURCE_DIR) + "/" + relative;
}

std::string doc_part(const std::string& relative, const std::string& from, const std::string& to) {
    const std::string text = read_file(source_path(relative));
    const size_t start = text.find(from);
    if (start == std::string::npos) return "";
    const size_t end = text.find(to, start + from.size());
    return text.substr(start + from.size(), end == std::string::npos ? std::string::npos : end - start - from.size());
}

std::string read_file(const std::string& path) {
    std::string text;
    int error = 0;
    return platform_read_file(path, size_t(1) << 30, text, error) == PLATFORM_READ_OK ? text : "";
}

bool write_file(const std::string& path, const std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

std::string scratch_folder(const std::string& name) {
    const std::string dir = std::string(ZUBA_BINARY_DIR) + "/scratch_" + name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}
