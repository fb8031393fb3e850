#include "platform/pace/callback_pacer.h"

#include <cmath>

namespace {

// Callbacks this much before a slot count as on it: their timestamps wander a little.
constexpr double kSlotToleranceMilliseconds = 1.0;
// A gap this long is an absence (a hidden tab), not the display's rate.
constexpr double kAbsenceMilliseconds = 250.0;
constexpr double kPaceCheckMilliseconds = 1000.0;

}  // namespace

double CallbackPacer::DisplayHertz() const {
    if (timestampCount < kTimestampsKept) {
        return 0.0;
    }
    const double oldest = timestamps[nextTimestamp];
    const double newest = timestamps[(nextTimestamp + kTimestampsKept - 1) % kTimestampsKept];
    return newest > oldest ? 1000.0 * (kTimestampsKept - 1) / (newest - oldest) : 0.0;
}

void CallbackPacer::Remember(double milliseconds) {
    if (timestampCount > 0) {
        const double last = timestamps[(nextTimestamp + kTimestampsKept - 1) % kTimestampsKept];
        if (milliseconds - last >= kAbsenceMilliseconds || milliseconds < last) {
            // Back after an absence: the rate is read afresh, the grid starts again here.
            timestampCount = 0;
            nextTimestamp = 0;
            gridStarted = false;
            callbacksSinceFrame = 0;
        }
    }
    timestamps[nextTimestamp] = milliseconds;
    nextTimestamp = (nextTimestamp + 1) % kTimestampsKept;
    timestampCount = timestampCount < kTimestampsKept ? timestampCount + 1 : kTimestampsKept;
}

bool CallbackPacer::RunsFrame(double milliseconds) {
    const bool rateKnown = DisplayHertz() > 0.0;
    Remember(milliseconds);
    // Chosen again once a second, and as soon as the rate is first known.
    if (!paceChosen || milliseconds - paceChosenAt >= kPaceCheckMilliseconds ||
        (!rateKnown && DisplayHertz() > 0.0)) {
        pace = ChoosePresentPace(DisplayHertz());
        paceChosen = true;
        paceChosenAt = milliseconds;
    }
    if (pace.swapInterval > 1) {
        gridStarted = false;
        return EveryNth(pace.swapInterval);
    }
    callbacksSinceFrame = 0;
    return OnGrid(milliseconds, 1000.0 / pace.presentsPerSecond);
}

bool CallbackPacer::EveryNth(int interval) {
    if (callbacksSinceFrame == 0 || callbacksSinceFrame >= interval) {
        callbacksSinceFrame = 1;
        return true;
    }
    ++callbacksSinceFrame;
    return false;
}

bool CallbackPacer::OnGrid(double milliseconds, double period) {
    if (!gridStarted || period != gridPeriod) {
        gridStarted = true;
        gridPeriod = period;
        gridAnchor = milliseconds;
        gridSlot = 0;
        return true;
    }
    const double sinceAnchor = milliseconds - gridAnchor + kSlotToleranceMilliseconds;
    const auto slot = static_cast<long long>(std::floor(sinceAnchor / gridPeriod));
    if (slot <= gridSlot) {
        return false;
    }
    // A late callback takes the slot it falls in; the slots it missed are gone, the grid stays.
    gridSlot = slot;
    return true;
}
