// The clock grid that holds presents to the pace ChoosePresentPace chose, where the swap alone
// does not.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/pace/present_pace.h"

class PresentPacer {
public:
    using Clock = std::function<uint64_t()>;        // nanoseconds, monotonic
    using Sleeper = std::function<void(uint64_t)>;  // sleeps that many nanoseconds

    static constexpr uint64_t kRateCheckNanoseconds = 1000000000;

    PresentPacer(Clock clock, Sleeper sleeper);

    // Holds the following presents to a grid of this many a second. A new rate starts a new
    // grid at the next present; the same rate keeps the grid.
    void SetRate(double presentsPerSecond);
    double Rate() const { return rate; }
    // Called just before a picture is shown: waits for the grid's next slot. A frame already
    // late for it is shown at once, and the grid stays where it was, so that a late frame costs
    // its own slot and no drift builds up.
    void BeforePresent();
    // True about once a second: time to read the display's rate again, which a mode change, a
    // move to another display or a reset may have changed.
    bool RateCheckDue();

private:
    uint64_t SlotTime(int64_t slot) const;

    Clock clock;
    Sleeper sleeper;
    double rate;
    double periodNanoseconds;
    bool started;
    uint64_t anchor;  // the grid's slot 0
    int64_t slot;     // the slot of the last present
    uint64_t lastRateCheck;
};

// The real monotonic clock and sleep.
PresentPacer MakeSystemPresentPacer();
