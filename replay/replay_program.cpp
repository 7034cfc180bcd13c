// zuba-trilo-replay: options, script, the headless run, its figures and the
// demo's verdict, as an exit status.
#include "replay/replay_program.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "replay/demo_player.h"
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
            return DEMO_STATUS_BAD_FILE;
    }
    ReplayScript script;
    if (!replay_outputs_apart(script_path, options, error) || !replay_load_script(script_path, script, error)) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        return DEMO_STATUS_BAD_FILE;
    }
    // Headless unless the caller chose drivers.
    platform_set_env("SDL_VIDEODRIVER", "dummy", false);
    platform_set_env("SDL_AUDIODRIVER", "dummy", false);
    // Nothing is shown, so SDL 2 draws in memory: on Windows it would pick
    // Direct3D even for the dummy driver (under Wine a hundred times slower).
    platform_set_env("SDL_RENDER_DRIVER", "software", false);
    ReplayResult result;
    int status = replay_run(script, options, result, error);
    if (status == 1) return DEMO_STATUS_NO_SDL;  // the game has printed its message
    if (status != 0) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        return DEMO_STATUS_BAD_FILE;
    }
    if (options.summary) replay_print_summary(result, stdout);
    if (options.timedemo) replay_print_timedemo(result, stdout);
    std::string message;
    const int verdict = demo_player_verdict(result.player, script_path, message);
    if (!message.empty()) std::fprintf(stderr, "%s\n", message.c_str());
    return verdict;
}
