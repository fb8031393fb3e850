#include "platform/gl/present_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FakeTime {
    uint64_t now = 1000000;
    std::vector<uint64_t> sleeps;

    PresentPacer Pacer() {
        return PresentPacer([this] { return now; },
                            [this](uint64_t micros) {
                                sleeps.push_back(micros);
                                now += micros;
                            });
    }
};

TEST(PresentPacerTest, WaitsOutTheRestOfEachRefreshWhenSwapsReturnAtOnce) {
    FakeTime time;
    PresentPacer pacer = time.Pacer();
    pacer.SetRefreshRate(50);  // 20 ms
    pacer.AfterSwap();
    for (int frame = 0; frame < 10; ++frame) {
        time.now += 3000;  // 3 ms of work, then a swap that does not wait
        pacer.AfterSwap();
    }
    ASSERT_EQ(time.sleeps.size(), 10u);
    for (uint64_t sleep : time.sleeps) {
        EXPECT_EQ(sleep, 17000u);
    }
    EXPECT_EQ(time.now, 1000000u + 10 * 20000u);
}

TEST(PresentPacerTest, DoesNotWaitWhenTheSwapAlreadyWaitedOrTheFrameWasLate) {
    FakeTime time;
    PresentPacer pacer = time.Pacer();
    pacer.SetRefreshRate(50);
    pacer.AfterSwap();
    time.now += 20000;  // a swap synchronised to the retrace
    pacer.AfterSwap();
    time.now += 35000;  // a slow frame
    pacer.AfterSwap();
    EXPECT_TRUE(time.sleeps.empty());
    // After a late frame the next period starts from the late present.
    time.now += 5000;
    pacer.AfterSwap();
    ASSERT_EQ(time.sleeps.size(), 1u);
    EXPECT_EQ(time.sleeps[0], 15000u);
}

TEST(PresentPacerTest, AnUnknownRateCountsAsSixtyHertz) {
    FakeTime time;
    PresentPacer pacer = time.Pacer();
    pacer.SetRefreshRate(0);
    pacer.AfterSwap();
    pacer.AfterSwap();
    ASSERT_EQ(time.sleeps.size(), 1u);
    EXPECT_EQ(time.sleeps[0], 16666u);
}

}  // namespace
