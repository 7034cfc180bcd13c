// The frame timing that --frame-stats prints: intervals between game passes
// and their percentiles.
#include "app/frame_stats.h"

#include <gtest/gtest.h>

TEST(FrameStats, IntervalsAreCountedBetweenConsecutiveGamePassesOnly) {
    frame_stats_reset();
    // 100 game passes 16 ms apart but one 40 ms late, a game over, then two
    // passes 17 ms apart: the pause between the games is no interval.
    double t = 1000;
    for (int i = 0; i < 100; ++i) frame_stats_mark(t += (i == 50 ? 40 : 16));
    frame_stats_break();
    frame_stats_mark(t += 5000);
    frame_stats_mark(t += 17);
    EXPECT_EQ(frame_stats.frames, 102u);
    EXPECT_EQ(frame_stats.intervals.count, 100u);
    EXPECT_NEAR(frame_stats.intervals.total_micros, 1000 * (98 * 16 + 40 + 17), 1e-6);
    // Percentiles to about 1%, the longest exact.
    EXPECT_NEAR(frame_stats_percentile(0.5), 16.0, 0.16);
    EXPECT_NEAR(frame_stats_percentile(0.98), 16.0, 0.16);
    EXPECT_NEAR(frame_stats_percentile(0.99), 17.0, 0.17);
    EXPECT_DOUBLE_EQ(frame_stats_percentile(1.0), 40.0);
    // A stall longer than the histogram still shows as the maximum.
    frame_stats_mark(t += 900);
    EXPECT_DOUBLE_EQ(frame_stats_percentile(1.0), 900.0);
}
