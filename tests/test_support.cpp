#include "tests/test_support.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "audio/sounds.h"
#include "video/presenter.h"
#include "video/sprites.h"

FakeClock fake_clock;
Cues cues;

namespace {
uint32_t fake_ticks() { return fake_clock.now; }
void fake_delay(uint32_t ms) {
    fake_clock.delays.push_back(ms);
    fake_clock.now += ms;
}
const VideoClock FAKE = {fake_ticks, fake_delay};
void record_cue(int voice, int id) { cues.emplace_back(voice, id); }
}  // namespace

void use_fake_clock(uint32_t start) {
    fake_clock.now = start;
    fake_clock.delays.clear();
    video_set_clock(&FAKE);
}

void use_real_clock() { video_set_clock(nullptr); }

bool start_headless_video(uint32_t start_ticks) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    use_fake_clock(start_ticks);
    draw_queue_reset();
    return video_init() == 0;
}

void stop_headless_video() {
    draw_queue_reset();
    video_shutdown();
    SDL_Quit();
    use_real_clock();
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

void paint_pending() { video_drain(); }

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

void push_key(int sym, bool down, int mod) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = SDLKey(sym);
    e.key.keysym.mod = SDLMod(mod);
    SDL_PushEvent(&e);
}

std::string read_text(const std::function<uint8_t(int, int)>& gray_at, int x, int y, int length) {
    std::string s;
    for (int i = 0; i < length; ++i, x += 8) {
        char found = '?';
        for (int code = 32; code < 96 && found == '?'; ++code) {
            const uint8_t* g = font_table[code];
            bool match = true;
            for (int k = 0; k < 64 && match; ++k) match = gray_at(x + k % 8, y + k / 8) == (g ? g[k] : 0);
            if (match) found = char(code);
        }
        s += found;
    }
    return s;
}

std::string read_screen_text(int x, int y, int length) {
    return read_text(
        [](int px, int py) {
            uint32_t p = video_pixel(px, py);
            return p == gray_pixel(uint8_t(p)) ? uint8_t(p) : uint8_t(77);  // 77: no glyph byte
        },
        x, y, length);
}

std::string source_path(const std::string& relative) {
    return std::string(ZUBA_SOURCE_DIR) + "/" + relative;
}
