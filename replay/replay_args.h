// The command line of zuba-trilo-replay.
#pragma once
#include <string>

#include "replay/replay_run.h"

// Parses the command line of zuba-trilo-replay; false with a message on error.
bool replay_parse_args(int argc, char** argv, std::string& script, ReplayOptions& options,
                       std::string& error);
// The usage line, ending in a newline.
extern const char REPLAY_USAGE[];
