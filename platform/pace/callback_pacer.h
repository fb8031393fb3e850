// Which of the page's frame callbacks run a game frame. The browser calls back at the display's
// rate (60, 120, 144 Hz...); the game must present 60 times a second on all of them, with the
// native pace's policy (ChoosePresentPace): every Nth callback where the display runs at a whole
// multiple of 60 Hz, otherwise a drift-free 60 Hz grid laid on the callbacks' timestamps, each
// slot's frame run at its first callback. The display's rate is read from the timestamps
// themselves, over the last second or so, and the pace chosen again about once a second, as the
// native device reads the display's rate again (a rate read afresh at every callback would flap
// between the two ways on a jittery clock). Pure arithmetic: no browser call, so that it is
// tested natively.
#pragma once

#include <array>

#include "platform/pace/present_pace.h"

class CallbackPacer {
public:
    static constexpr int kTimestampsKept = 61;

    // True when the callback with this timestamp (milliseconds) runs a game frame. A callback
    // long after the last (a hidden tab gets none) starts where it is: no catching up.
    bool RunsFrame(double milliseconds);
    // The display's rate as read so far; 0 until enough callbacks have come.
    double DisplayHertz() const;

private:
    void Remember(double milliseconds);
    bool EveryNth(int interval);
    bool OnGrid(double milliseconds, double period);

    std::array<double, kTimestampsKept> timestamps{};
    int timestampCount = 0;
    int nextTimestamp = 0;
    bool paceChosen = false;
    double paceChosenAt = 0.0;
    PresentPace pace{1, 60.0};
    int callbacksSinceFrame = 0;
    bool gridStarted = false;
    double gridAnchor = 0.0;
    double gridPeriod = 0.0;
    long long gridSlot = 0;
};
