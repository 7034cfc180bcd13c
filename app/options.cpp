// The command line: long options in the usual style, "--scale F" or
// "--scale=F"; anything else is refused before a window opens.
#include "app/options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "input/actions.h"
#include "session/settings.h"

#ifndef ZUBA_VERSION
#define ZUBA_VERSION "unknown"
#endif

// The options in the order --help, the README and the manual page list them.
const OptionSpec OPTION_TABLE[] = {
    {OPTION_FULLSCREEN, "--fullscreen", nullptr, "start in fullscreen (Alt+Enter or F11 toggle at any time)"},
    {OPTION_WINDOW, "--window", nullptr, "never scale the 2500 x 1300 window, even on a smaller display"},
    {OPTION_SCALE, "--scale", "F", "scale the window by F (0.25 to 2.0) instead of fitting it\nto the display"},
    {OPTION_SETTINGS, "--settings", "FILE", "read this settings file instead of the usual one"},
    {OPTION_FRAME_STATS, "--frame-stats", nullptr,
     "at exit, print the frames presented during play, the average\nframes per second and the frame intervals"},
    {OPTION_RECORD, "--record", "FILE", "record the game as a demo into FILE as it is played"},
    {OPTION_PLAYDEMO, "--playdemo", "FILE", "play the demo FILE in the window at the game's speed;\nexit 1 if it goes out of sync"},
    {OPTION_TIMEDEMO, "--timedemo", "FILE",
     "play the demo FILE as fast as the window goes and print the\npasses per second and the frame times"},
    {OPTION_HELP, "--help", nullptr, "print this help and exit"},
    {OPTION_VERSION, "--version", nullptr, "print the version and exit"},
};
const int OPTION_COUNT = int(sizeof OPTION_TABLE / sizeof OPTION_TABLE[0]);

const char OPTIONS_VERSION_LINE[] = "zuba-trilo " ZUBA_VERSION;
const char OPTIONS_VERSION_NUMBER[] = ZUBA_VERSION;

namespace {

constexpr size_t HELP_COLUMN = 20;

OptionsResult refuse(char* error, size_t error_size, const char* what, const char* arg) {
    if (error_size > 0) std::snprintf(error, error_size, what, arg);
    return OPTIONS_ERROR;
}

// The row naming arg ("--scale" or "--scale=F"); value points past the '='.
const OptionSpec* find_option(const char* arg, const char*& value) {
    value = nullptr;
    if (!std::strcmp(arg, "-h")) arg = "--help";
    for (const OptionSpec& o : OPTION_TABLE) {
        const size_t n = std::strlen(o.name);
        if (std::strncmp(arg, o.name, n) != 0) continue;
        if (arg[n] == '\0') return &o;
        if (arg[n] == '=' && o.value) {
            value = arg + n + 1;
            return &o;
        }
    }
    return nullptr;
}

std::string build_usage() {
    std::string out =
        "Usage: zuba-trilo [OPTION]...\n"
        "A one-screen fixed shooter against a formation of 8400 invaders.\n"
        "\n";
    for (const OptionSpec& o : OPTION_TABLE) {
        std::string head = std::string("  ") + o.name + (o.value ? std::string(" ") + o.value : "");
        head.resize(std::max(head.size() + 1, HELP_COLUMN), ' ');
        out += head;
        for (const char* c = o.help; *c; ++c) {
            out += *c;
            if (*c == '\n') out += std::string(HELP_COLUMN, ' ');
        }
        out += '\n';
    }
    out += "\nKeys (the options screen and the settings file can change them):\n";
    for (const InputActionRow& a : INPUT_ACTIONS) {
        if (!a.usage) continue;
        std::string head = "  ";
        for (int k = 0; k < a.keys.count; ++k) head += std::string(k ? ", " : "") + input_key_name(a.keys.keys[k]);
        head.resize(std::max(head.size() + 1, HELP_COLUMN), ' ');
        out += head + a.usage + "\n";
    }
    out +=
        "\nThe window can be resized. The settings file also chooses\n"
        "filter = smooth or sharp (how a window larger than the game shows it)\n"
        "and vsync = yes or no (wait for the display's refresh).\n";
    return out;
}

}  // namespace

bool options_check_scaling_variable(const char* value, char* error, size_t error_size) {
    double scale = 0;
    if (!value || settings_read_scale(value, scale)) return true;
    if (error_size > 0)
        std::snprintf(error, error_size, "%s wants a number from 0.25 to 2.0 (or to be unset), not '%s'",
                      OPTIONS_SCALING_VARIABLE, value);
    return false;
}

const char* options_usage() {
    static const std::string usage = build_usage();
    return usage.c_str();
}

OptionsResult options_parse(int argc, const char* const* argv, Options& options, char* error,
                            size_t error_size) {
    options = Options{};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = nullptr;
        const OptionSpec* o = find_option(arg, value);
        if (!o) return refuse(error, error_size, "unknown option '%s'", arg);
        if (o->value && !value) {
            if (i + 1 >= argc) return refuse(error, error_size, "option '%s' needs a value", o->name);
            value = argv[++i];
        }
        // One wording for every option whose value is missing or empty.
        if (o->value && !*value) return refuse(error, error_size, "option '%s' needs a value", o->name);
        if (!value) value = "";  // only for the rows that take none
        switch (o->id) {
            case OPTION_HELP: return OPTIONS_HELP;
            case OPTION_VERSION: return OPTIONS_VERSION;
            case OPTION_FULLSCREEN: options.fullscreen = true; break;
            case OPTION_WINDOW: options.window = true; break;
            case OPTION_FRAME_STATS: options.frame_stats = true; break;
            case OPTION_SETTINGS:
                options.settings = value;
                break;
            case OPTION_SCALE:
                if (!settings_read_scale(value, options.scale))
                    return refuse(error, error_size, "--scale wants a number from 0.25 to 2.0, not '%s'", value);
                break;
            case OPTION_RECORD:
            case OPTION_PLAYDEMO:
            case OPTION_TIMEDEMO:
                (o->id == OPTION_RECORD ? options.record : o->id == OPTION_PLAYDEMO ? options.playdemo
                                                                                    : options.timedemo) = value;
                break;
        }
    }
    if (options.window && options.scale > 0)
        return refuse(error, error_size, "%s", "--window and --scale exclude each other");
    if ((options.record != nullptr) + (options.playdemo != nullptr) + (options.timedemo != nullptr) > 1)
        return refuse(error, error_size, "%s", "--record, --playdemo and --timedemo exclude each other");
    return OPTIONS_RUN;
}
