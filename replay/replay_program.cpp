// zuba-trilo-replay: options, script, the headless run, its figures and the
// demo's verdict, as an exit status.
#include "replay/replay_program.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "replay/demo.h"
#include "replay/replay_args.h"
#include "replay/replay_run.h"

int replay_main(int argc, char** argv) {
    std::string script_path, error;
    ReplayOptions options;
    switch (replay_parse_args(argc, argv, script_path, options, error)) {
        case REPLAY_ARGS_RUN: break;
        case REPLAY_ARGS_HELP:
            std::fputs(REPLAY_USAGE, stdout);
            std::fputs(REPLAY_HELP, stdout);
            return 0;
        case REPLAY_ARGS_VERSION: std::puts(REPLAY_VERSION_LINE); return 0;
        case REPLAY_ARGS_ERROR:
            std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
            std::fputs(REPLAY_USAGE, stderr);
            return 2;
    }
    ReplayScript script;
    if (!replay_outputs_apart(script_path, options, error) || !replay_load_script(script_path, script, error)) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        return 2;
    }
    // Headless unless the caller chose drivers.
    platform_set_env("SDL_VIDEODRIVER", "dummy", false);
    platform_set_env("SDL_AUDIODRIVER", "dummy", false);
    // Nothing is shown, so SDL 2 draws in memory: on Windows it would pick
    // Direct3D even for the dummy driver (under Wine a hundred times slower).
    platform_set_env("SDL_RENDER_DRIVER", "software", false);
    ReplayResult result;
    int status = replay_run(script, options, result, error);
    if (status == 1) return 255;  // the game has printed its message
    if (status != 0) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        return 2;
    }
    if (options.summary) replay_print_summary(result, stdout);
    if (options.timedemo) replay_print_timedemo(result, stdout);
    if (result.out_of_sync) {
        std::fprintf(stderr, "%s\n", demo_out_of_sync_message(script_path, result.sync_pass).c_str());
        return 1;
    }
    if (script.cut_off_line > 0) {
        std::fprintf(stderr, "%s\n", demo_cut_off_message(script_path, script).c_str());
        return 3;
    }
    return 0;
}
