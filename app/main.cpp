// ZUBA-TRILO: read the command line, start video, input and sound, run the
// screen sequence until the player quits, then shut down.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/frame_stats.h"
#include "app/live_demo.h"
#include "app/options.h"
#include "session/settings.h"
#include "audio/mixer.h"
#include "input/input.h"
#include "platform/platform.h"
#include "session/screens.h"
#include "video/presenter.h"
#include "video/screenshot.h"
#include "video/window.h"

namespace {

double now_ms() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void take_screenshot() {
    std::string path, error;
    const std::string folder = platform_data_folder();
    if (screenshot_save(folder.empty() ? folder : platform_path(folder, "screenshots"), path, error)) {
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "zuba-trilo: %s\n", error.c_str());
    }
}

// The settings in force: the file's over the defaults, the command line's
// over the file's. Bad lines are reported and skipped.
Settings read_settings(const Options& options, std::string& path) {
    Settings settings = settings_default();
    if (options.settings) {
        path = options.settings;
    } else {
        const std::string folder = platform_config_folder();
        path = folder.empty() ? folder : platform_path(folder, SETTINGS_FILE_NAME);
    }
    std::vector<std::string> messages;
    if (!path.empty()) settings_load(path, settings, messages);
    for (const std::string& m : messages) std::fprintf(stderr, "%s\n", m.c_str());
    if (options.fullscreen) settings.fullscreen = true;
    if (options.window) settings.scale_mode = SETTINGS_SCALE_WINDOW;
    if (options.scale > 0) {
        settings.scale_mode = SETTINGS_SCALE_FACTOR;
        settings.scale = options.scale;
    }
    return settings;
}

// The window the player asked for: the command line over the remembered
// size, that over the settings file's scale, that over SDL's scaling
// variable, and the fit to the display when none chose.
WindowRequest window_request_of(const Options& options, const Settings& settings) {
    WindowRequest r{};
    r.desktop = true;
    r.fullscreen = settings.fullscreen;
    r.filter = settings.filter;
    r.vsync = settings.vsync;
    r.never_scale = settings.scale_mode == SETTINGS_SCALE_WINDOW;
    r.scale = settings.scale_mode == SETTINGS_SCALE_FACTOR ? settings.scale : 0;
    r.chosen = settings.scale_mode != SETTINGS_SCALE_UNSET;
    if (!options.window && options.scale <= 0) {
        r.width = settings.window_width;
        r.height = settings.window_height;
    }
    // SDL's 1.2 layer reads this variable to scale its window; the game
    // sizes its window itself and takes the player's value (checked at
    // start-up, like --scale) when nothing else chose a size.
    const char* variable = std::getenv(OPTIONS_SCALING_VARIABLE);
    double scale = 0;
    if (!r.chosen && variable && settings_read_scale(variable, scale)) r.scale = scale;
    return r;
}

// What the player changed in play, kept for the next time.
void remember_settings(const std::string& path, bool was_fullscreen, bool was_muted) {
    SettingsChanges changes;
    if (const std::string size = window_size_to_remember(); !size.empty()) changes.emplace_back("window_size", size);
    if (game_window.fullscreen != was_fullscreen) changes.emplace_back("fullscreen", game_window.fullscreen ? "yes" : "no");
    if ((mixer.muted != 0) != was_muted) changes.emplace_back("mute", mixer.muted ? "yes" : "no");
    std::string error;
    if (!changes.empty() && !path.empty() && !settings_save(path, changes, error))
        std::fprintf(stderr, "zuba-trilo: %s\n", error.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    platform_attach_console();
    Options options;
    char error[256];
    switch (options_parse(argc, argv, options, error, sizeof error)) {
        case OPTIONS_RUN: break;
        case OPTIONS_HELP: std::fputs(options_usage(), stdout); return 0;
        case OPTIONS_VERSION: std::puts(OPTIONS_VERSION_LINE); return 0;
        case OPTIONS_ERROR:
            std::fprintf(stderr, "zuba-trilo: %s\n%s", error, options_usage());
            return 2;
    }
    if (!options_check_scaling_variable(std::getenv(OPTIONS_SCALING_VARIABLE), error, sizeof error)) {
        std::fprintf(stderr, "zuba-trilo: %s\n", error);
        return 2;
    }
    std::string settings_path;
    const Settings settings = read_settings(options, settings_path);
    input_bindings = settings.bindings;
    // A demo to play is read, and one to record created, before a window opens.
    std::string demo_error;
    if (!live_demo_open(options, demo_error)) {
        std::fprintf(stderr, "zuba-trilo: %s\n", demo_error.c_str());
        return 2;
    }
    window_request(window_request_of(options, settings));
    // Video start-up opens the window; when SDL cannot start (or finds no
    // display) it says so, and a demo being recorded leaves nothing behind.
    // 255, not -1: the same status on Linux and on Windows (where -1 stays -1).
    if (screen_startup() != 0) {
        live_demo_abandon();
        std::exit(255);
    }
    input_set_toggle_handler(window_toggle_fullscreen);
    input_set_repaint_handler(video_repaint);
    input_set_resize_handler(window_resized);
    screen_set_screenshot_handler(take_screenshot);
    audio_set_muted(settings.mute);
    audio_set_volume(settings.volume);
    const bool was_fullscreen = game_window.fullscreen;
    live_demo_started();

    frame_stats_reset();
    while (!input.quit_requested) {
        bool playing = screens.state == SCREEN_GAME_RUN && !screen_paused();
        const double start = now_ms();
        if (!live_demo_before_pass()) break;
        screen_pass();
        const double end = now_ms();
        if (!live_demo_after_pass(end, end - start)) break;
        if (!options.frame_stats) continue;
        // Each pass of the game presents one frame.
        if (playing) frame_stats_mark(now_ms());
        else frame_stats_break();
    }
    remember_settings(settings_path, was_fullscreen, settings.mute);
    const int status = live_demo_close();
    screen_shutdown();
    if (options.frame_stats) frame_stats_print(stdout);
    return status;
}
