// Times of many passes or frames in a fixed histogram: the replay driver's
// figures, the timed demos' and --frame-stats' all come from it.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>

// Kept in a fixed histogram (buckets 1% apart, from 0.01 us to about 3 min) so
// a run of any length needs no more memory: the median is good to about 1%,
// the worst and the total are exact.
constexpr int PASS_TIME_BUCKETS = 2400;
struct PassTimes {
    uint64_t count = 0;
    double total_micros = 0;
    double worst_micros = 0;
    std::array<uint64_t, PASS_TIME_BUCKETS> buckets{};
};
void pass_times_add(PassTimes& times, double micros);
// The time at or below which the given share (0..1] of the passes lie (the
// nearest rank); the worst exactly for 1; 0 without passes.
double pass_times_percentile(const PassTimes& times, double share);
double pass_times_median(const PassTimes& times);
// One line of figures in milliseconds, the one format every program prints
// its frame and pass times in: "LABEL ms: median M, p95 P, p99 Q, max X".
void pass_times_print(std::FILE* out, const char* label, const PassTimes& times);

