// The command line: long options in the usual style, "--scale F" or
// "--scale=F"; anything else is refused before a window opens.
#include "app/options.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef ZUBA_VERSION
#define ZUBA_VERSION "unknown"
#endif

const char OPTIONS_USAGE[] =
    "Usage: zuba-trilo [OPTION]...\n"
    "A one-screen fixed shooter against a formation of 8400 invaders.\n"
    "\n"
    "  --fullscreen    start in fullscreen (Alt+Enter or F11 toggle at any time)\n"
    "  --window        never scale the 2500 x 1300 window, even on a smaller display\n"
    "  --scale F       scale the window by F (0.25 to 2.0) instead of fitting it\n"
    "                  to the display\n"
    "  --frame-stats   at exit, print the frames presented during play, the average\n"
    "                  frames per second and the frame intervals\n"
    "  --record FILE   record the game as a demo into FILE as it is played\n"
    "  --playdemo FILE play the demo FILE in the window at the game's speed; exit 1\n"
    "                  if it goes out of sync\n"
    "  --timedemo FILE play the demo FILE as fast as the window goes and print the\n"
    "                  passes per second and the frame times\n"
    "  --help          print this help and exit\n"
    "  --version       print the version and exit\n"
    "\n"
    "Keys: cursor left/right move, z or space fire, Escape or q quit.\n";

const char OPTIONS_VERSION_LINE[] = "zuba-trilo " ZUBA_VERSION;
const char OPTIONS_VERSION_NUMBER[] = ZUBA_VERSION;

namespace {

OptionsResult refuse(char* error, size_t error_size, const char* what, const char* arg) {
    if (error_size > 0) std::snprintf(error, error_size, what, arg);
    return OPTIONS_ERROR;
}

// A scale factor in range, written as a plain decimal number and nothing else.
bool read_scale(const char* text, double& scale) {
    if (!((*text >= '0' && *text <= '9') || *text == '.') || std::strpbrk(text, "xX")) return false;
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (*end != '\0' || !std::isfinite(value)) return false;
    if (value < OPTIONS_SCALE_MIN || value > OPTIONS_SCALE_MAX) return false;
    scale = value;
    return true;
}

// "--name VALUE" or "--name=VALUE": 1 with the value, 0 when arg is another
// option, -1 when the value is missing.
int option_value(const char* name, int argc, const char* const* argv, int& i, const char*& value) {
    const char* arg = argv[i];
    const size_t n = std::strlen(name);
    if (std::strncmp(arg, name, n) != 0 || (arg[n] != '\0' && arg[n] != '=')) return 0;
    if (arg[n] == '=') {
        value = arg + n + 1;
        return 1;
    }
    if (i + 1 >= argc) return -1;
    value = argv[++i];
    return 1;
}

// --record, --playdemo or --timedemo: 1 with the file name kept, 0 for
// another option, -1 without a file name.
int demo_option(int argc, const char* const* argv, int& i, Options& options, const char*& value) {
    const char** slots[] = {&options.record, &options.playdemo, &options.timedemo};
    const char* names[] = {"--record", "--playdemo", "--timedemo"};
    for (int k = 0; k < 3; ++k) {
        const int found = option_value(names[k], argc, argv, i, value);
        if (found > 0) *slots[k] = value;
        if (found != 0) return found;
    }
    return 0;
}

}  // namespace

OptionsResult options_parse(int argc, const char* const* argv, Options& options, char* error,
                            size_t error_size) {
    options = Options{};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = nullptr;
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) return OPTIONS_HELP;
        if (!std::strcmp(arg, "--version")) return OPTIONS_VERSION;
        if (!std::strcmp(arg, "--fullscreen")) {
            options.fullscreen = true;
        } else if (!std::strcmp(arg, "--window")) {
            options.window = true;
        } else if (!std::strcmp(arg, "--frame-stats")) {
            options.frame_stats = true;
        } else if (int found = option_value("--scale", argc, argv, i, value)) {
            if (found < 0) return refuse(error, error_size, "option '%s' needs a value", arg);
            if (!read_scale(value, options.scale))
                return refuse(error, error_size, "--scale wants a number from 0.25 to 2.0, not '%s'", value);
        } else if (int found_demo = demo_option(argc, argv, i, options, value)) {
            if (found_demo < 0) return refuse(error, error_size, "option '%s' needs a file name", arg);
            if (!*value) return refuse(error, error_size, "option '%s' needs a file name", arg);
        } else {
            return refuse(error, error_size, "unknown option '%s'", arg);
        }
    }
    if (options.window && options.scale > 0)
        return refuse(error, error_size, "%s", "--window and --scale exclude each other");
    if ((options.record != nullptr) + (options.playdemo != nullptr) + (options.timedemo != nullptr) > 1)
        return refuse(error, error_size, "%s", "--record, --playdemo and --timedemo exclude each other");
    return OPTIONS_RUN;
}
