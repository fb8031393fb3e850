#include "platform/pace/callback_pacer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The timestamps (ms) of the callbacks that ran a frame, for callbacks at `hertz` from `start`
// over `seconds`, each displaced by up to `jitter` ms (a fixed pattern, not random).
std::vector<double> FramesAt(CallbackPacer* pacer, double hertz, double start, double seconds,
                             double jitter = 0.0) {
    std::vector<double> frames;
    const int callbacks = static_cast<int>(std::lround(seconds * hertz));
    for (int i = 0; i < callbacks; ++i) {
        const double wobble = jitter * std::sin(i * 2.3);
        const double time = start + i * 1000.0 / hertz + wobble;
        if (pacer->RunsFrame(time)) {
            frames.push_back(time);
        }
    }
    return frames;
}

int FramesWithin(const std::vector<double>& frames, double from, double to) {
    int count = 0;
    for (double time : frames) {
        count += time >= from && time < to ? 1 : 0;
    }
    return count;
}

TEST(CallbackPacerTest, SixtyFramesASecondOnEveryDisplayOfSixtyHertzOrMore) {
    for (double hertz : {60.0, 75.0, 120.0, 144.0, 165.0, 240.0}) {
        for (double jitter : {0.0, 0.4}) {
            CallbackPacer pacer;
            const std::vector<double> frames = FramesAt(&pacer, hertz, 1000.0, 5.0, jitter);
            // Every whole second after the first (the rate is being read in the first).
            for (int second = 1; second < 5; ++second) {
                const double from = 1000.0 + second * 1000.0;
                EXPECT_NEAR(FramesWithin(frames, from, from + 1000.0), 60, 1)
                    << hertz << " Hz, jitter " << jitter << ", second " << second;
            }
        }
    }
}

TEST(CallbackPacerTest, WholeMultiplesRunEveryNthCallbackEvenly) {
    for (int multiple : {2, 4}) {
        CallbackPacer pacer;
        const double period = 1000.0 / (60.0 * multiple);
        std::vector<int> ran;
        for (int i = 0; i < 300; ++i) {
            ran.push_back(pacer.RunsFrame(i * period) ? 1 : 0);
        }
        // Once the rate is known, exactly one callback in each run of N.
        for (int i = 120; i + multiple <= 300; i += multiple) {
            int inRun = 0;
            for (int j = i; j < i + multiple; ++j) {
                inRun += ran[j];
            }
            EXPECT_EQ(inRun, 1) << multiple << "x, callback " << i;
        }
    }
}

TEST(CallbackPacerTest, SlowDisplaysRunEveryCallback) {
    CallbackPacer pacer;
    const std::vector<double> frames = FramesAt(&pacer, 50.0, 0.0, 2.0);
    EXPECT_EQ(frames.size(), 100u);
}

TEST(CallbackPacerTest, AHiddenTabGoesOnWhereItWasWithoutCatchingUp) {
    CallbackPacer pacer;
    FramesAt(&pacer, 144.0, 0.0, 2.0);
    // Ten seconds without callbacks, then the tab is shown again.
    const std::vector<double> after = FramesAt(&pacer, 144.0, 12000.0, 2.0);
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.front(), 12000.0);
    EXPECT_NEAR(FramesWithin(after, 12000.0, 13000.0), 60, 1);
    for (size_t i = 1; i < after.size(); ++i) {
        EXPECT_GT(after[i] - after[i - 1], 10.0) << "frame " << i;
    }
}

}  // namespace
