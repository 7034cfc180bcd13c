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
    "  --help          print this help and exit\n"
    "  --version       print the version and exit\n"
    "\n"
    "Keys: cursor left/right move, z or space fire, Escape or q quit.\n";

const char OPTIONS_VERSION_LINE[] = "zuba-trilo " ZUBA_VERSION;

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

}  // namespace

OptionsResult options_parse(int argc, const char* const* argv, Options& options, char* error,
                            size_t error_size) {
    options = Options{};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) return OPTIONS_HELP;
        if (!std::strcmp(arg, "--version")) return OPTIONS_VERSION;
        if (!std::strcmp(arg, "--fullscreen")) {
            options.fullscreen = true;
        } else if (!std::strcmp(arg, "--window")) {
            options.window = true;
        } else if (!std::strcmp(arg, "--frame-stats")) {
            options.frame_stats = true;
        } else if (!std::strncmp(arg, "--scale", 7) && (arg[7] == '\0' || arg[7] == '=')) {
            const char* value = arg[7] == '=' ? arg + 8 : nullptr;
            if (!value) {
                if (i + 1 >= argc) return refuse(error, error_size, "option '%s' needs a value", arg);
                value = argv[++i];
            }
            if (!read_scale(value, options.scale))
                return refuse(error, error_size, "--scale wants a number from 0.25 to 2.0, not '%s'", value);
        } else {
            return refuse(error, error_size, "unknown option '%s'", arg);
        }
    }
    if (options.window && options.scale > 0)
        return refuse(error, error_size, "%s", "--window and --scale exclude each other");
    return OPTIONS_RUN;
}
