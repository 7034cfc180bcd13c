// Frame timing of the game screen, for --frame-stats: how often the window
// was presented while a game was played, as the player sees it.
#pragma once
#include <cstdint>
#include <cstdio>

// Intervals are kept in a histogram of 0.01 ms bins (nothing is allocated
// however long the play); longer intervals share the last bin, and the
// longest is kept exactly.
constexpr int FRAME_STATS_BINS = 25000;
constexpr double FRAME_STATS_BIN_MS = 0.01;

struct FrameStats {
    uint64_t frames;        // game passes presented
    uint64_t intervals;     // intervals between two consecutive game passes
    double total_ms;        // their sum
    double max_ms;
    double last_ms;         // time of the last game pass; < 0 after a break
    uint32_t bins[FRAME_STATS_BINS];
};

extern FrameStats frame_stats;

void frame_stats_reset();
// One game pass presented at now_ms (any steady clock in milliseconds).
void frame_stats_mark(double now_ms);
// A pass outside the game: the next game pass starts a new run of intervals.
void frame_stats_break();
// The interval (ms) below which a fraction q (0..1] of the intervals lie; 0
// without intervals.
double frame_stats_percentile(double q);
void frame_stats_print(FILE* out);
