// Holds presents to the pace ChoosePresentPace chose. Where swaps are seen to wait for the
// display's retraces (RetraceLattice, from the times they return), the display leads: at a whole
// multiple of the pace the swap interval alone keeps it, and between the multiples each present
// is aimed at the first retrace after its slot of a 60 Hz clock grid. Where swaps do not wait
// (Xvfb, a compositor that queues them), the grid alone keeps the pace.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/pace/present_pace.h"
#include "platform/pace/retrace_lattice.h"

class PresentPacer {
public:
    using Clock = std::function<uint64_t()>;        // nanoseconds, monotonic
    using Sleeper = std::function<void(uint64_t)>;  // sleeps that many nanoseconds

    static constexpr uint64_t kRateCheckNanoseconds = 1000000000;

    PresentPacer(Clock clock, Sleeper sleeper);

    // Holds the following presents to a grid of this many a second, on a display said to
    // refresh `retraceHertz` times a second whose swaps were asked to wait `swapInterval`
    // retraces (0, 0: no retraces to follow). A new rate starts a new grid at the next present;
    // the same rate keeps the grid.
    void SetRate(double presentsPerSecond, double retraceHertz = 0.0, int swapInterval = 0);
    double Rate() const { return rate; }
    // Called just before a picture is shown: waits until it is time to show it. A frame already
    // late for its slot is shown at once, and the grid stays where it was, so that a late frame
    // costs its own slot and no drift builds up.
    void BeforePresent();
    // Called as soon as the present returns: its time tells whether the swap waited.
    void AfterPresent();
    // Whether the display's retraces lead, the grid standing aside.
    bool RetracesLead() const;
    // True about once a second: time to read the display's rate again, which a mode change, a
    // move to another display or a reset may have changed.
    bool RateCheckDue();

private:
    // Whether the swap interval's retraces come exactly at the pace (a whole multiple of it).
    bool IntervalIsThePace() const;
    uint64_t SlotTime(int64_t slot) const;
    // Waits for the next slot of the grid, aiming at a retrace where `aim` is set.
    void WaitForSlot(uint64_t now, bool aim);
    // Sleeps until `wake` if that is still to come.
    void SleepUntil(uint64_t now, double wake);

    Clock clock;
    Sleeper sleeper;
    double rate;
    double periodNanoseconds;
    bool started;
    uint64_t anchor;  // the grid's slot 0
    int64_t slot;     // the slot of the last present
    uint64_t lastRateCheck;
    int retracesPerPresent;  // the swap interval in force, where the display's rate is known
    RetraceLattice retraces;
    double aimedAt;  // the retrace the last present was aimed at; 0: none
};

// The real monotonic clock and sleep.
PresentPacer MakeSystemPresentPacer();
