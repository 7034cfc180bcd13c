// Runs the real screen sequence headless, without frame pacing, with input
// from a replay script.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "replay/demo_player.h"
#include "replay/pass_times.h"
#include "replay/replay_script.h"

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
    // Called after every pass with its index and the state whose step ran;
    // tests look at the modules' state here or push extra SDL events.
    std::function<void(uint64_t pass, int state)> after_pass;
};

struct ReplayResult {
    uint64_t passes = 0;
    bool quit = false;       // ended by the game's quit request
    bool started = false;    // SDL started
    bool out_of_sync = false;  // a demo's sync line did not match
    uint64_t sync_pass = 0;    // that sync line's pass
    DemoPlayer player{};       // the demo as played, for its verdict
    PassTimes times;
    // Timed demo, game passes only: the work between two presents
    // (simulation), the painting plus window update (presentation), and both.
    PassTimes game_simulation;
    PassTimes game_presentation;
    PassTimes game_total;
};

// Runs the script; 0 on success, 1 when SDL could not start, 2 on a file error
// (message in error).
int replay_run(const ReplayScript& script, const ReplayOptions& options, ReplayResult& result,
               std::string& error);

void replay_print_summary(const ReplayResult& result, std::FILE* out);
void replay_print_timedemo(const ReplayResult& result, std::FILE* out);
