// Holds presents to the pace of the full-screen 1024 x 768 mode the game asks for. That mode's
// default rate is 60 Hz, and every step of the game is a fixed amount per frame, so the game
// presents 60 times a second on any display of 60 Hz or more: a swap interval where the display
// runs at a whole multiple of 60 Hz, otherwise a clock grid at 60 Hz whose presents the display
// shows at its next retrace. Below 59 Hz it follows the display, as a mode of that rate would.
// The grid is also what paces a swap that does not wait for the retrace (Xvfb, some compositors,
// the X server's own presentation): where the swap does wait, the grid's wait comes to nothing.
#pragma once

#include <cstdint>
#include <functional>

// How presents keep the pace on a display of a given rate.
struct PresentPace {
    int swapInterval;          // retraces per present, where the swap waits for them
    double presentsPerSecond;  // the clock grid that presents are held to
};

// The pace on a display refreshing `displayHertz` times a second (0 or less: not reported).
PresentPace ChoosePresentPace(double displayHertz);

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
