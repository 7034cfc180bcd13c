// Frame timing of the game screen: counts and the intervals' histogram.
#include "app/frame_stats.h"

#include <algorithm>

FrameStats frame_stats;

void frame_stats_reset() {
    frame_stats = FrameStats{};
    frame_stats.last_ms = -1;
}

void frame_stats_mark(double now_ms) {
    frame_stats.frames += 1;
    if (frame_stats.last_ms >= 0) pass_times_add(frame_stats.intervals, 1000 * std::max(0.0, now_ms - frame_stats.last_ms));
    frame_stats.last_ms = now_ms;
}

void frame_stats_break() { frame_stats.last_ms = -1; }

double frame_stats_percentile(double q) { return pass_times_percentile(frame_stats.intervals, q) / 1000; }

void frame_stats_print(FILE* out) {
    const PassTimes& t = frame_stats.intervals;
    double fps = t.total_micros > 0 ? 1e6 * double(t.count) / t.total_micros : 0;
    std::fprintf(out, "frames presented: %llu\naverage fps: %.1f\n", static_cast<unsigned long long>(frame_stats.frames),
                 fps);
    pass_times_print(out, "frame interval", t);
}
