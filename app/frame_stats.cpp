// Frame timing of the game screen: counts, sum, a histogram and the maximum.
#include "app/frame_stats.h"

#include <algorithm>
#include <cmath>

FrameStats frame_stats;

void frame_stats_reset() {
    frame_stats = FrameStats{};
    frame_stats.last_ms = -1;
}

void frame_stats_mark(double now_ms) {
    frame_stats.frames += 1;
    if (frame_stats.last_ms >= 0) {
        double interval = std::max(0.0, now_ms - frame_stats.last_ms);
        frame_stats.intervals += 1;
        frame_stats.total_ms += interval;
        if (interval > frame_stats.max_ms) frame_stats.max_ms = interval;
        double bin = std::floor(interval / FRAME_STATS_BIN_MS);
        frame_stats.bins[bin < FRAME_STATS_BINS - 1 ? int(bin) : FRAME_STATS_BINS - 1] += 1;
    }
    frame_stats.last_ms = now_ms;
}

void frame_stats_break() { frame_stats.last_ms = -1; }

double frame_stats_percentile(double q) {
    if (frame_stats.intervals == 0) return 0;
    // The nearest rank: the smallest interval with at least q of them at or below.
    uint64_t rank = uint64_t(std::ceil(q * double(frame_stats.intervals)));
    if (rank < 1) rank = 1;
    uint64_t seen = 0;
    for (int b = 0; b < FRAME_STATS_BINS; ++b) {
        seen += frame_stats.bins[b];
        if (seen < rank) continue;
        if (b == FRAME_STATS_BINS - 1) return frame_stats.max_ms;
        return std::min(frame_stats.max_ms, (b + 1) * FRAME_STATS_BIN_MS);
    }
    return frame_stats.max_ms;
}

void frame_stats_print(FILE* out) {
    double fps = frame_stats.total_ms > 0 ? 1000.0 * double(frame_stats.intervals) / frame_stats.total_ms : 0;
    std::fprintf(out,
                 "frames presented: %llu\n"
                 "average fps: %.1f\n"
                 "frame interval ms: median %.2f, p95 %.2f, p99 %.2f, max %.2f\n",
                 static_cast<unsigned long long>(frame_stats.frames), fps, frame_stats_percentile(0.5),
                 frame_stats_percentile(0.95), frame_stats_percentile(0.99), frame_stats.max_ms);
}
