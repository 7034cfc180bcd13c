// The command line of zuba-trilo-replay.
#pragma once
#include <string>

#include "replay/replay_run.h"

enum ReplayArgs {
    REPLAY_ARGS_RUN,
    REPLAY_ARGS_HELP,     // print the usage and REPLAY_HELP, exit 0
    REPLAY_ARGS_VERSION,  // print REPLAY_VERSION_LINE, exit 0
    REPLAY_ARGS_ERROR,    // error says what is wrong
};
// Parses the command line of zuba-trilo-replay.
ReplayArgs replay_parse_args(int argc, char** argv, std::string& script, ReplayOptions& options,
                             std::string& error);
// No output (the trace, a frame dump) may be the script played, nor two
// outputs one file: the files are compared, whatever the names. False with
// a message naming the output when one is.
bool replay_outputs_apart(const std::string& script, const ReplayOptions& options, std::string& error);
// The usage line, ending in a newline; what each option does; the version.
extern const char REPLAY_USAGE[];
extern const char REPLAY_HELP[];
extern const char REPLAY_VERSION_LINE[];
