// The pacer against a display whose retraces come by a clock of their own: its rate drifts from
// the pacer's clock by some parts per million, as a real display's does (XWayland's RandR mode
// "60 Hz" is 59.963 Hz of a compositor that runs 60.000), its swaps block until a retrace, and
// the pacer's sleeps overshoot by up to 2 ms, as a busy machine's do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

#include "platform/pace/present_pacer.h"

namespace {

constexpr uint64_t kMillisecond = 1000000;
constexpr uint64_t kMinutes = 10 * 60 * 1000 * kMillisecond;

struct Present {
    uint64_t ready;  // the frame's work done, before the pacer's wait
    uint64_t call;   // the swap asked for
    uint64_t shown;  // the retrace it went out at
};

class DriftingDisplay {
public:
    DriftingDisplay(double hertz, double ppm)
        : period(1e9 / (hertz * (1.0 + ppm * 1e-6))), phase(3.1e6) {}
    // The first retrace at or after `at`.
    uint64_t RetraceAtOrAfter(double at) const {
        return static_cast<uint64_t>(std::ceil((at - phase) / period) * period + phase);
    }
    double period;
    double phase;
};

// Frames of `work` for ten minutes, each presented as the device does: the pacer's wait, a swap
// with the pace's interval that blocks (or, where `swapsWait` is false, returns at once and shows
// at the next retrace), then the pacer told the swap returned.
std::vector<Present> PresentForTenMinutes(double hertz, double ppm, uint64_t work,
                                          bool swapsWait = true) {
    const DriftingDisplay display(hertz, ppm);
    const PresentPace pace = ChoosePresentPace(hertz);
    uint64_t now = 0;
    uint32_t noise = 12345;
    PresentPacer pacer([&now] { return now; },
                       [&](uint64_t wait) {
                           noise = noise * 1664525u + 1013904223u;
                           now += wait + (noise >> 8) % (2 * kMillisecond);
                       });
    pacer.SetRate(pace.presentsPerSecond, hertz, pace.swapInterval);
    std::vector<Present> presents;
    while (now < kMinutes) {
        now += work;
        const uint64_t ready = now;
        pacer.BeforePresent();
        double earliest = static_cast<double>(now);
        if (!presents.empty()) {
            earliest = std::max(earliest, static_cast<double>(presents.back().shown) +
                                              (pace.swapInterval - 0.5) * display.period);
        }
        presents.push_back({ready, now, display.RetraceAtOrAfter(earliest)});
        now = swapsWait ? std::max(now, presents.back().shown) : now + 300000;
        pacer.AfterPresent();
    }
    return presents;
}

class PresentPacerDriftTest : public testing::TestWithParam<std::tuple<double, double>> {};

// At a whole multiple of 60 Hz the swap interval leads: every frame goes out at the first
// retrace the interval allows once it is ready, so a frame shorter than the slot is never shown
// twice, and a longer one costs only the retraces its own length does.
TEST_P(PresentPacerDriftTest, NoFrameIsShownTwiceWhenTheDisplayClockDrifts) {
    const auto [hertz, ppm] = GetParam();
    const DriftingDisplay display(hertz, ppm);
    const int interval = ChoosePresentPace(hertz).swapInterval;
    for (const uint64_t workMs : {5, 17, 20, 25}) {
        const std::vector<Present> presents =
            PresentForTenMinutes(hertz, ppm, workMs * kMillisecond);
        int late = 0;
        for (size_t i = 1; i < presents.size(); ++i) {
            const double allowed =
                static_cast<double>(presents[i - 1].shown) + (interval - 0.5) * display.period;
            late += presents[i].shown != display.RetraceAtOrAfter(std::max(
                                             static_cast<double>(presents[i].ready), allowed));
        }
        EXPECT_EQ(late, 0) << workMs << " ms frames: presents later than their retrace, of "
                           << presents.size();
    }
}

INSTANTIATE_TEST_SUITE_P(Displays, PresentPacerDriftTest,
                         testing::Combine(testing::Values(60.0, 120.0, 240.0),
                                          testing::Values(-2000.0, -600.0, -50.0, 50.0, 600.0,
                                                          2000.0)));

// Between the multiples (75, 144, 165 Hz) the clock grid leads: each slot's frame goes out at the
// first retrace after its slot, though the sleeps overshoot, and the pace is the grid's own.
TEST(PresentPacerGridTest, EachSlotIsShownAtTheFirstRetraceAfterItWhenTheDisplayClockDrifts) {
    for (const double hertz : {75.0, 144.0, 165.0}) {
        for (const double ppm : {-2000.0, -600.0, -50.0, 50.0, 600.0, 2000.0}) {
            const DriftingDisplay display(hertz, ppm);
            const std::vector<Present> presents =
                PresentForTenMinutes(hertz, ppm, 5 * kMillisecond);
            int off = 0;
            for (size_t i = 0; i < presents.size(); ++i) {
                const double slotTime =
                    static_cast<double>(presents[0].call) + static_cast<double>(i) * 1e9 / 60.0;
                off += presents[i].shown != display.RetraceAtOrAfter(slotTime);
            }
            EXPECT_EQ(off, 0) << hertz << " Hz, " << ppm << " ppm: presents off their slot's "
                              << "retrace, of " << presents.size();
        }
    }
}

// Where a swap returns at once (a compositor that queues it), the grid alone keeps 60 a second.
TEST(PresentPacerGridTest, TheGridKeepsThePaceWhereSwapsDoNotWait) {
    for (const double hertz : {60.0, 120.0, 144.0}) {
        const std::vector<Present> presents =
            PresentForTenMinutes(hertz, 600.0, 5 * kMillisecond, false);
        const double seconds =
            static_cast<double>(presents.back().call - presents.front().call) / 1e9;
        EXPECT_NEAR(static_cast<double>(presents.size() - 1) / seconds, 60.0, 0.01) << hertz;
    }
}

}  // namespace
