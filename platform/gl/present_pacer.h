// Paces presents to the display's refresh, as a retrace-synchronised present would, on platforms
// that ignore the swap interval (Xvfb, some compositors). Where the swap itself waits for the
// retrace, the swap returns at the deadline and nothing more is waited.
#pragma once

#include <cstdint>
#include <functional>

class PresentPacer {
public:
    using Clock = std::function<uint64_t()>;        // microseconds, monotonic
    using Sleeper = std::function<void(uint64_t)>;  // sleeps that many microseconds

    PresentPacer(Clock clock, Sleeper sleeper);

    void SetRefreshRate(int hertz);
    // Called right after each swap: waits out whatever is left of the current refresh period.
    void AfterSwap();

private:
    Clock clock;
    Sleeper sleeper;
    uint64_t periodMicros;
    uint64_t lastMicros;
    bool started;
};

// The real monotonic clock and sleep.
PresentPacer MakeSystemPresentPacer();
