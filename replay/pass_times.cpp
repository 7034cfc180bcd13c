// The pass-time histogram: buckets 1% wide on a logarithmic scale.
#include "replay/pass_times.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double BUCKET_BASE_MICROS = 0.01;
constexpr double BUCKET_RATIO = 1.01;
}  // namespace

void pass_times_add(PassTimes& times, double micros) {
    times.count += 1;
    times.total_micros += micros;
    times.worst_micros = std::max(times.worst_micros, micros);
    int b = 0;
    if (micros > BUCKET_BASE_MICROS) {
        double index = std::log(micros / BUCKET_BASE_MICROS) / std::log(BUCKET_RATIO);
        b = int(std::min(index, double(PASS_TIME_BUCKETS - 1)));
    }
    times.buckets[size_t(b)] += 1;
}

double pass_times_percentile(const PassTimes& times, double share) {
    if (times.count == 0) return 0;
    const uint64_t rank = std::max<uint64_t>(1, uint64_t(std::ceil(share * double(times.count))));
    if (rank >= times.count) return times.worst_micros;
    uint64_t seen = 0;
    for (int b = 0; b < PASS_TIME_BUCKETS; ++b) {
        seen += times.buckets[size_t(b)];
        // The middle of the bucket that holds the pass of that rank.
        if (seen >= rank) return std::min(times.worst_micros, BUCKET_BASE_MICROS * std::pow(BUCKET_RATIO, b + 0.5));
    }
    return times.worst_micros;
}

double pass_times_median(const PassTimes& times) { return pass_times_percentile(times, 0.5); }

void pass_times_print(std::FILE* out, const char* label, const PassTimes& times) {
    std::fprintf(out, "%s ms: median %.3f, p95 %.3f, p99 %.3f, max %.3f\n", label, pass_times_median(times) / 1000,
                 pass_times_percentile(times, 0.95) / 1000, pass_times_percentile(times, 0.99) / 1000,
                 times.worst_micros / 1000);
}
