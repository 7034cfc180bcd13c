// Frame timing of the game screen, for --frame-stats: how often the window
// was presented while a game was played, as the player sees it.
#pragma once
#include <cstdint>
#include <cstdio>

#include "replay/pass_times.h"

// The intervals go into the replay driver's histogram of pass times (nothing
// is allocated however long the play): percentiles good to about 1%, the
// longest and the sum exact.
struct FrameStats {
    uint64_t frames;     // game passes presented
    double last_ms;      // time of the last game pass; < 0 after a break
    PassTimes intervals; // between two consecutive game passes, in microseconds
};

extern FrameStats frame_stats;

void frame_stats_reset();
// One game pass presented at now_ms (any steady clock in milliseconds).
void frame_stats_mark(double now_ms);
// A pass outside the game: the next game pass starts a new run of intervals.
void frame_stats_break();
// The interval (ms) at or below which a fraction q (0..1] of the intervals
// lie; 0 without intervals.
double frame_stats_percentile(double q);
void frame_stats_print(FILE* out);
