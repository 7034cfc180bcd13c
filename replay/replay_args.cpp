// zuba-trilo-replay's options: the trace, its sampling, frame dumps and the
// figures to print.
#include "replay/replay_args.h"

#include <cstdint>

const char REPLAY_USAGE[] =
    "usage: zuba-trilo-replay SCRIPT [--trace FILE] [--trace-every N] "
    "[--dump PASS:FILE.ppm ...] [--summary] [--timedemo [--whole-window]]\n";

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

bool replay_parse_args(int argc, char** argv, std::string& script, ReplayOptions& options,
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
            if (!v) return false;
            options.trace_path = v;
        } else if (a == "--trace-every") {
            const char* v = value("a positive number");
            if (!v) return false;
            if (!parse_count(v, options.trace_every) || options.trace_every == 0) {
                error = std::string("--trace-every needs a positive number, not '") + v + "'";
                return false;
            }
        } else if (a == "--dump") {
            const char* v = value("PASS:FILE.ppm");
            if (!v) return false;
            std::string s = v;
            size_t colon = s.find(':');
            ReplayDump d;
            if (colon == std::string::npos || colon + 1 >= s.size() ||
                !parse_count(s.substr(0, colon).c_str(), d.pass)) {
                error = "--dump needs PASS:FILE.ppm, not '" + s + "'";
                return false;
            }
            d.path = s.substr(colon + 1);
            options.dumps.push_back(d);
        } else if (a == "--summary") {
            options.summary = true;
        } else if (a == "--timedemo") {
            options.timedemo = true;
        } else if (a == "--whole-window") {
            options.whole_window = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            error = "unknown option '" + a + "'";
            return false;
        } else if (script.empty()) {
            script = a;
        } else {
            error = "more than one script given ('" + script + "' and '" + a + "')";
            return false;
        }
    }
    if (script.empty()) {
        error = "no script given";
        return false;
    }
    return true;
}
