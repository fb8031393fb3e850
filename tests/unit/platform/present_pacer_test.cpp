#include "platform/pace/present_pacer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr uint64_t kMillisecond = 1000000;
constexpr uint64_t kSecond = 1000 * kMillisecond;

TEST(PresentPaceTest, SixtyAPresentsSecondOnEveryDisplayOfSixtyHertzOrMore) {
    struct Case {
        double hertz;
        int swapInterval;
        double presentsPerSecond;
    };
    const Case cases[] = {
        {60.0, 1, 60.0},  {59.94, 1, 59.94},  {61.0, 1, 61.0},  {75.0, 1, 60.0},
        {90.0, 1, 60.0},  {119.88, 2, 59.94}, {120.0, 2, 60.0}, {120.5, 2, 60.25},
        {121.0, 1, 60.0}, {144.0, 1, 60.0},   {165.0, 1, 60.0}, {180.0, 3, 60.0},
        {240.0, 4, 60.0}, {50.0, 1, 50.0},    {30.0, 1, 30.0},  {0.0, 1, 60.0},
        {-1.0, 1, 60.0},  {NAN, 1, 60.0},
    };
    for (const Case& c : cases) {
        const PresentPace pace = ChoosePresentPace(c.hertz);
        EXPECT_EQ(pace.swapInterval, c.swapInterval) << c.hertz << " Hz";
        EXPECT_DOUBLE_EQ(pace.presentsPerSecond, c.presentsPerSecond) << c.hertz << " Hz";
    }
}

TEST(PresentPaceTest, AServersRetraceCountIsTheDisplaysOnlyWhereItAgreesWithTheMode) {
    EXPECT_TRUE(MeasuredRateIsTheDisplays(59.96, 60.0));
    EXPECT_TRUE(MeasuredRateIsTheDisplays(143.9, 0.0));     // no mode to compare with
    EXPECT_FALSE(MeasuredRateIsTheDisplays(60.0, 143.98));  // a timer of the server's own
    EXPECT_FALSE(MeasuredRateIsTheDisplays(1.0, 60.0));     // a screen switched off
    EXPECT_FALSE(MeasuredRateIsTheDisplays(0.0, 60.0));
}

// A display whose retraces come every 1/hertz seconds (none at 0 Hz), and a game whose frames
// take `work` each, presented through a pacer as the device does: the pace chosen for the
// display, the pacer's wait, then a swap that, with an interval, waits for its retrace.
struct PacedRun {
    std::vector<uint64_t> shown;  // when each present reached the screen
    PresentPace pace;
};

PacedRun Simulate(double hertz, int frames, uint64_t work, bool swapWaits,
                  const std::vector<int>& slowFrames = {}) {
    uint64_t now = 5 * kMillisecond + 123;
    PresentPacer pacer([&now] { return now; }, [&now](uint64_t wait) { now += wait; });
    PacedRun run;
    run.pace = ChoosePresentPace(hertz);
    pacer.SetRate(run.pace.presentsPerSecond);
    const double retrace = hertz > 0.0 ? 1e9 / hertz : 0.0;
    const auto nextRetrace = [&](uint64_t at) {
        return retrace == 0.0
                   ? at
                   : static_cast<uint64_t>(std::ceil(static_cast<double>(at) / retrace) * retrace);
    };
    for (int frame = 0; frame < frames; ++frame) {
        bool slow = false;
        for (int s : slowFrames) {
            slow = slow || s == frame;
        }
        now += slow ? 5 * work : work;
        pacer.BeforePresent();
        uint64_t at = nextRetrace(now);
        if (swapWaits && run.pace.swapInterval > 1 && !run.shown.empty()) {
            const uint64_t earliest =
                run.shown.back() +
                static_cast<uint64_t>(std::llround((run.pace.swapInterval - 0.5) * retrace));
            at = nextRetrace(std::max(at, earliest));
        }
        run.shown.push_back(at);
        if (swapWaits) {
            now = std::max(now, at);
        }
    }
    return run;
}

int ShownWithin(const PacedRun& run, uint64_t from, uint64_t to) {
    int count = 0;
    for (uint64_t at : run.shown) {
        count += at >= from && at < to;
    }
    return count;
}

TEST(PresentPacerTest, EveryDisplayShowsTheModesPaceWithoutDrift) {
    const double rates[] = {60.0, 59.94, 75.0, 90.0, 120.0, 144.0, 165.0, 240.0, 50.0, 0.0};
    for (double hertz : rates) {
        for (bool swapWaits : {false, true}) {
            const PacedRun run = Simulate(hertz, 3700, 6 * kMillisecond, swapWaits);
            const double expected =
                hertz > 0.0 && hertz < 59.0 ? hertz : (hertz > 59.0 && hertz < 61.0 ? hertz : 60.0);
            // A minute of presents, from the second one on.
            const int count = ShownWithin(run, run.shown[1], run.shown[1] + 60 * kSecond);
            EXPECT_NEAR(count, expected * 60.0, 3.0) << hertz << " Hz, swap waits " << swapWaits;

            // Each present lands at the retrace after its slot: never a slot early, never
            // more than a retrace (and the frame's own work) late, however long the run.
            const double period = 1e9 / run.pace.presentsPerSecond;
            const double retrace = hertz > 0.0 ? 1e9 / hertz : 0.0;
            const double origin = static_cast<double>(run.shown[1]) - period;
            for (size_t i = 1; i < run.shown.size(); ++i) {
                const double slotTime = origin + static_cast<double>(i) * period;
                const double late = static_cast<double>(run.shown[i]) - slotTime;
                ASSERT_GE(late, -retrace - 1e6) << hertz << " Hz, present " << i;
                ASSERT_LE(late, retrace + 1e6) << hertz << " Hz, present " << i;
            }
            // Where the display runs at a multiple of the pace, presents are that many
            // retraces apart, every one.
            if (hertz > 0.0 && run.pace.swapInterval > 1) {
                for (size_t i = 2; i < run.shown.size(); ++i) {
                    const double gap = static_cast<double>(run.shown[i] - run.shown[i - 1]);
                    ASSERT_NEAR(gap, run.pace.swapInterval * retrace, 2.0) << hertz << " Hz";
                }
            }
        }
    }
}

TEST(PresentPacerTest, ALateFrameDelaysOnlyItselfAndTheGridStays) {
    // Frames of 6 ms, two of them 30 ms: each of those is shown late, and the frame after it,
    // due by then, at once, so that the run as a whole loses no slot.
    const PacedRun run = Simulate(0.0, 200, 6 * kMillisecond, false, {50, 120});
    const double period = 1e9 / 60.0;
    const double origin = static_cast<double>(run.shown[0]);
    // The slots lost: those elapsed from the first present to the last, less the presents.
    const auto elapsed =
        std::llround(static_cast<double>(run.shown.back() - run.shown.front()) / period);
    EXPECT_EQ(elapsed - static_cast<long long>(run.shown.size() - 1), 0);
    EXPECT_GT(run.shown[50] - run.shown[49], 25 * kMillisecond);
    // The last present sits on the grid the first one began, at most a slot further on for each
    // slow frame.
    const double slots = (static_cast<double>(run.shown.back()) - origin) / period;
    EXPECT_NEAR(slots, std::round(slots), 1e-4);
    EXPECT_GE(std::round(slots), static_cast<double>(run.shown.size() - 1));
    EXPECT_LE(std::round(slots), static_cast<double>(run.shown.size() - 1 + 2));
}

TEST(PresentPacerTest, ANewRateStartsANewGridAndTheSameRateKeepsIt) {
    uint64_t now = kSecond;
    std::vector<uint64_t> waits;
    PresentPacer pacer([&now] { return now; },
                       [&](uint64_t wait) {
                           waits.push_back(wait);
                           now += wait;
                       });
    pacer.SetRate(60.0);
    pacer.BeforePresent();  // the grid starts here
    now += 4 * kMillisecond;
    pacer.SetRate(60.0);
    pacer.BeforePresent();
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_NEAR(static_cast<double>(waits[0]), 1e9 / 60.0 - 4e6, 1.0);

    pacer.SetRate(50.0);
    now += 1 * kMillisecond;
    pacer.BeforePresent();  // at once: a new grid begins with this present
    EXPECT_EQ(waits.size(), 1u);
    pacer.BeforePresent();
    ASSERT_EQ(waits.size(), 2u);
    EXPECT_EQ(waits[1], 20 * kMillisecond);
}

TEST(PresentPacerTest, TheRateIsCheckedAboutOnceASecond) {
    uint64_t now = 7 * kSecond;
    PresentPacer pacer([&now] { return now; }, [&now](uint64_t wait) { now += wait; });
    int checks = 0;
    for (int frame = 0; frame < 300; ++frame) {
        now += 10 * kMillisecond;
        checks += pacer.RateCheckDue();
    }
    EXPECT_EQ(checks, 3);
}

}  // namespace
