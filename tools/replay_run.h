// Runs the real screen sequence headless, without frame pacing, with input
// from a replay script.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/replay_script.h"

#pragma once

struct ReplayDump {
    uint64_t pass;
    std::string path;
};

struct ReplayOptions {
    std::string trace_path;  // empty: no trace
    uint64_t trace_every = 1;
    std::vector<ReplayDump> dumps;
    bool summary = false;
    bool timedemo = false;  // figures for game passes, split by presenting
    bool whole_window = false;  // update the whole window after every drain
};

struct ReplayResult {
    uint64_t passes = 0;
    bool quit = false;       // ended by the game's quit request
    bool started = false;    // SDL started
    std::vector<float> pass_micros;  // work of every pass, microseconds
    // Timed demo, game passes only: the work between two presents and the
    // painting plus window update, microseconds.
    std::vector<float> game_sim_micros;
    std::vector<float> game_present_micros;
    double game_seconds = 0;
};

// Runs the script; 0 on success, 1 when SDL could not start, 2 on a file error
// (message in error).
int replay_run(const ReplayScript& script, const ReplayOptions& options, ReplayResult& result,
               std::string& error);

// Writes the surface as a binary PPM; false on a write error.
bool replay_write_ppm(const std::string& path);

// Parses the command line of zuba-trilo-replay; false with a message on error.
bool replay_parse_args(int argc, char** argv, std::string& script, ReplayOptions& options,
                       std::string& error);

void replay_print_summary(const ReplayResult& result, std::FILE* out);
void replay_print_timedemo(const ReplayResult& result, std::FILE* out);
