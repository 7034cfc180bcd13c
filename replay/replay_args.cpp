// zuba-trilo-replay's options: the trace, its sampling, frame dumps and the
// figures to print.
#include "replay/replay_args.h"

#include <cstdint>
#include <vector>

#include "platform/platform.h"

#ifndef ZUBA_VERSION
#define ZUBA_VERSION "unknown"
#endif

const char REPLAY_USAGE[] =
    "usage: zuba-trilo-replay SCRIPT [--trace FILE] [--trace-every N] "
    "[--dump PASS:FILE.ppm ...] [--summary] [--timedemo [--whole-window]]\n";

const char REPLAY_HELP[] =
    "Plays the game headless, without waiting between frames, from a script or\n"
    "demo of held keys.\n"
    "  --trace FILE        write the game's state after every pass (JSON lines)\n"
    "  --trace-every N     only every N-th pass, and the last\n"
    "  --dump PASS:FILE    write the screen after that pass as a PPM picture\n"
    "  --summary           print the passes, how the run ended and its speed\n"
    "  --timedemo          print the game passes' simulation and presentation times\n"
    "  --whole-window      with --timedemo: update the whole window every present\n"
    "  --help, --version   print this, or the version, and exit\n"
    "No output may be the script itself. Exit status: 0 done (a demo in sync),\n"
    "1 a demo out of sync, 2 a bad option, script or file, 3 a demo cut off\n"
    "mid-line, 255 SDL could not start.\n";

const char REPLAY_VERSION_LINE[] = "zuba-trilo-replay " ZUBA_VERSION;

namespace {

bool parse_count(const char* s, uint64_t& value) {
    if (!*s) return false;
    value = 0;
    for (; *s; ++s) {
        if (*s < '0' || *s > '9') return false;
        value = value * 10 + uint64_t(*s - '0');
        if (value > 1'000'000'000'000ull) return false;
    }
    return true;
}

}  // namespace

ReplayArgs replay_parse_args(int argc, char** argv, std::string& script, ReplayOptions& options,
                             std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char* what) -> const char* {
            if (i + 1 >= argc) {
                error = a + " needs " + what;
                return nullptr;
            }
            return argv[++i];
        };
        if (a == "--trace") {
            const char* v = value("a file name");
            if (!v) return REPLAY_ARGS_ERROR;
            options.trace_path = v;
        } else if (a == "--trace-every") {
            const char* v = value("a positive number");
            if (!v) return REPLAY_ARGS_ERROR;
            if (!parse_count(v, options.trace_every) || options.trace_every == 0) {
                error = std::string("--trace-every needs a positive number, not '") + v + "'";
                return REPLAY_ARGS_ERROR;
            }
        } else if (a == "--dump") {
            const char* v = value("PASS:FILE.ppm");
            if (!v) return REPLAY_ARGS_ERROR;
            std::string s = v;
            size_t colon = s.find(':');
            ReplayDump d;
            if (colon == std::string::npos || colon + 1 >= s.size() ||
                !parse_count(s.substr(0, colon).c_str(), d.pass)) {
                error = "--dump needs PASS:FILE.ppm, not '" + s + "'";
                return REPLAY_ARGS_ERROR;
            }
            d.path = s.substr(colon + 1);
            options.dumps.push_back(d);
        } else if (a == "--summary") {
            options.summary = true;
        } else if (a == "--timedemo") {
            options.timedemo = true;
        } else if (a == "--whole-window") {
            options.whole_window = true;
        } else if (a == "--help") {
            return REPLAY_ARGS_HELP;
        } else if (a == "--version") {
            return REPLAY_ARGS_VERSION;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            error = "unknown option '" + a + "'";
            return REPLAY_ARGS_ERROR;
        } else if (script.empty()) {
            script = a;
        } else {
            error = "more than one script given ('" + script + "' and '" + a + "')";
            return REPLAY_ARGS_ERROR;
        }
    }
    if (options.whole_window && !options.timedemo) {
        error = "--whole-window only goes with --timedemo";
        return REPLAY_ARGS_ERROR;
    }
    if (script.empty()) {
        error = "no script given";
        return REPLAY_ARGS_ERROR;
    }
    return REPLAY_ARGS_RUN;
}

bool replay_outputs_apart(const std::string& script, const ReplayOptions& options, std::string& error) {
    std::vector<std::string> outputs;
    if (!options.trace_path.empty()) outputs.push_back(options.trace_path);
    for (const ReplayDump& d : options.dumps) outputs.push_back(d.path);
    // The files themselves, not their names: a link, a hard link or another
    // spelling of the script's path is the script.
    const PlatformFileInfo input = platform_file_info(script);
    for (size_t i = 0; i < outputs.size(); ++i) {
        const PlatformFileInfo out = platform_file_info(outputs[i]);
        if (outputs[i] == script || platform_same_file(out, input)) {
            error = outputs[i] + ": is the script being played (" + script + "), so it is not written; nothing run";
            return false;
        }
        for (size_t j = 0; j < i; ++j) {
            if (outputs[j] == outputs[i] || platform_same_file(out, platform_file_info(outputs[j]))) {
                error = outputs[i] + ": given for two outputs (also as " + outputs[j] + "); nothing run";
                return false;
            }
        }
    }
    return true;
}
