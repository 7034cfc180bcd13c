// The command line: what the player asked for before anything starts. Every
// option is one row of OPTION_TABLE, from which the parser and --help come;
// a test checks that the README and the manual page list the same options.
#pragma once
#include <cstddef>

struct Options {
    bool fullscreen;       // start in fullscreen
    bool window;           // never scale the window
    double scale;          // window scale asked for; 0 lets the game fit the display
    bool frame_stats;  // print frame timing of the game screen at exit
    const char* settings;  // the settings file to read instead of the usual one; null for that one
    // Demos (null when not asked for): record the game played into a file,
    // play one back at the game's speed, or as fast as the window goes.
    const char* record;
    const char* playdemo;
    const char* timedemo;
};

enum OptionsResult {
    OPTIONS_RUN,      // start the game with these options
    OPTIONS_HELP,     // print the usage and exit 0
    OPTIONS_VERSION,  // print the version and exit 0
    OPTIONS_ERROR,    // the error names what was wrong; print it and the usage, exit 2
};

enum OptionId {
    OPTION_FULLSCREEN,
    OPTION_WINDOW,
    OPTION_SCALE,
    OPTION_SETTINGS,
    OPTION_FRAME_STATS,
    OPTION_RECORD,
    OPTION_PLAYDEMO,
    OPTION_TIMEDEMO,
    OPTION_HELP,
    OPTION_VERSION
};

struct OptionSpec {
    OptionId id;
    const char* name;   // "--scale"
    const char* value;  // what follows it in the usage ("F"), or null for none
    const char* help;   // the usage's description; '\n' starts another line
};

extern const OptionSpec OPTION_TABLE[];
extern const int OPTION_COUNT;

// SDL's scaling variable, which a player may set in the environment instead
// of --scale. Its value (null when unset) is held to the same rule as --scale,
// so a bad one is refused in one line before a window opens rather than
// failing inside SDL or opening a window of one pixel; false fills error.
constexpr const char OPTIONS_SCALING_VARIABLE[] = "SDL12COMPAT_WINDOW_SCALING";
bool options_check_scaling_variable(const char* value, char* error, size_t error_size);

// The usage text built from the table, ending in a newline.
const char* options_usage();
// "zuba-trilo <version>", the build's project version, and the version alone.
extern const char OPTIONS_VERSION_LINE[];
extern const char OPTIONS_VERSION_NUMBER[];

// Reads argv[1..argc-1]. On OPTIONS_ERROR, error holds one line (without a
// newline) saying what was wrong.
OptionsResult options_parse(int argc, const char* const* argv, Options& options, char* error,
                            size_t error_size);
