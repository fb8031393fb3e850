#include "tools/capture/frame_timing.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameTimingTest, NoFramesGiveZero) {
    FrameTiming timing;
    EXPECT_EQ(timing.Median(), 0.0);
    EXPECT_EQ(timing.Percentile99(), 0.0);
}

TEST(FrameTimingTest, MedianOfOddAndEvenCounts) {
    FrameTiming timing;
    for (double ms : {5.0, 1.0, 3.0}) {
        timing.Add(ms);
    }
    EXPECT_EQ(timing.Median(), 3.0);
    timing.Add(4.0);
    EXPECT_EQ(timing.Median(), 3.5);
}

TEST(FrameTimingTest, NinetyNinthPercentileIsTheNearestRank) {
    FrameTiming timing;
    // 300 frames: 1 ms each, but the three slowest take 10, 20 and 30 ms. Rank ceil(297) is the
    // last of the 1 ms frames; with four slow frames rank 297 is the first slow one.
    for (int i = 0; i < 297; ++i) {
        timing.Add(1.0);
    }
    timing.Add(30.0);
    timing.Add(10.0);
    timing.Add(20.0);
    EXPECT_EQ(timing.Percentile99(), 1.0);

    FrameTiming slower;
    for (int i = 0; i < 296; ++i) {
        slower.Add(1.0);
    }
    for (double ms : {10.0, 20.0, 30.0, 40.0}) {
        slower.Add(ms);
    }
    EXPECT_EQ(slower.Percentile99(), 10.0);

    FrameTiming one;
    one.Add(7.0);
    EXPECT_EQ(one.Percentile99(), 7.0);
}

}  // namespace
