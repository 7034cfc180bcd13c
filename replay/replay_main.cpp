// zuba-trilo-replay SCRIPT [--trace FILE] [--trace-every N] [--dump PASS:FILE.ppm ...] [--summary] [--timedemo]
// Plays the game headless from a script of held keys and writes a state trace.
#include <cstdio>
#include <cstdlib>

#include "replay/replay_run.h"

int main(int argc, char** argv) {
    std::string script_path, error;
    ReplayOptions options;
    if (!replay_parse_args(argc, argv, script_path, options, error)) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        std::fprintf(stderr,
                     "usage: zuba-trilo-replay SCRIPT [--trace FILE] [--trace-every N] "
                     "[--dump PASS:FILE.ppm ...] [--summary] [--timedemo [--whole-window]]\n");
        return 2;
    }
    ReplayScript script;
    if (!replay_load_script(script_path, script, error)) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        return 2;
    }
    // Headless unless the caller chose drivers.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ReplayResult result;
    int status = replay_run(script, options, result, error);
    if (status == 1) return 255;  // the game has printed its message
    if (status != 0) {
        std::fprintf(stderr, "zuba-trilo-replay: %s\n", error.c_str());
        return 2;
    }
    if (options.summary) replay_print_summary(result, stdout);
    if (options.timedemo) replay_print_timedemo(result, stdout);
    return 0;
}
