// ZUBA-TRILO: read the command line, start video, input and sound, run the
// screen sequence until the player quits, then shut down.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/demos.h"
#include "app/frame_stats.h"
#include "app/options.h"
#include "app/screens.h"
#include "input/input.h"
#include "platform/platform.h"
#include "video/presenter.h"
#include "video/window.h"

namespace {

double now_ms() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
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
    // A demo to play is read, and one to record created, before a window opens.
    std::string demo_error;
    if (!demos_open(options, demo_error)) {
        std::fprintf(stderr, "zuba-trilo: %s\n", demo_error.c_str());
        return 2;
    }
    const WindowRequest request{options.fullscreen, options.window, options.scale};
    // The window is sized, titled and given its icon once SDL's video is up
    // and before it opens; when SDL cannot start, app_startup says so.
    if (SDL_Init(SDL_INIT_VIDEO) == 0) {
        // With no display SDL falls back to drawing into memory and the game
        // would play on, unseen, until killed: that is SDL not starting.
        if (window_display_missing()) {
            video_report_init_error();
            std::fputs(WINDOW_NO_DISPLAY_MESSAGE, stderr);
            SDL_Quit();
            std::exit(255);
        }
        window_prepare(request);
    }
    // 255, not -1: the same status on Linux and on Windows (where -1 stays -1).
    if (app_startup() != 0) std::exit(255);
    window_opened(request);
    input_set_toggle_handler(window_toggle_fullscreen);
    demos_started();

    frame_stats_reset();
    while (!input.quit_requested) {
        bool playing = screens.state == SCREEN_GAME_RUN && !screens_paused();
        const double start = now_ms();
        if (!demos_before_pass(start)) break;
        screen_pass();
        const double end = now_ms();
        if (!demos_after_pass(end, end - start)) break;
        if (!options.frame_stats) continue;
        // Each pass of the game presents one frame.
        if (playing) frame_stats_mark(now_ms());
        else frame_stats_break();
    }
    const int status = demos_close();
    app_shutdown();
    if (options.frame_stats) frame_stats_print(stdout);
    return status;
}
