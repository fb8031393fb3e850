#include "platform/web/callback_pacer.h"

#include <algorithm>
#include <cmath>

#include "platform/gl/present_pacer.h"

namespace {

// Callbacks this much before a slot count as on it: their timestamps wander a little.
constexpr double kSlotToleranceMilliseconds = 1.0;
// A gap this long is an absence (a hidden tab), not the display's rate.
constexpr double kAbsenceMilliseconds = 250.0;

}  // namespace

double CallbackPacer::DisplayHertz() const {
    if (intervalCount < kIntervalsKept) {
        return 0.0;
    }
    std::array<double, kIntervalsKept> sorted = intervals;
    std::nth_element(sorted.begin(), sorted.begin() + kIntervalsKept / 2, sorted.end());
    const double median = sorted[kIntervalsKept / 2];
    return median > 0.0 ? 1000.0 / median : 0.0;
}

bool CallbackPacer::RunsFrame(double milliseconds) {
    if (seen) {
        const double interval = milliseconds - lastCallback;
        if (interval >= kAbsenceMilliseconds) {
            // Back after an absence: the grid starts again here, the count with this frame.
            gridStarted = false;
            callbacksSinceFrame = 0;
        } else if (interval > 0.0) {
            intervals[nextInterval] = interval;
            nextInterval = (nextInterval + 1) % kIntervalsKept;
            intervalCount = std::min(intervalCount + 1, kIntervalsKept);
        }
    }
    seen = true;
    lastCallback = milliseconds;

    const PresentPace pace = ChoosePresentPace(DisplayHertz());
    if (pace.swapInterval > 1) {
        gridStarted = false;
        if (callbacksSinceFrame == 0 || callbacksSinceFrame >= pace.swapInterval) {
            callbacksSinceFrame = 1;
            return true;
        }
        ++callbacksSinceFrame;
        return false;
    }
    callbacksSinceFrame = 0;
    const double period = 1000.0 / pace.presentsPerSecond;
    if (period != gridPeriod) {
        gridPeriod = period;
        gridStarted = false;
    }
    return OnGrid(milliseconds);
}

bool CallbackPacer::OnGrid(double milliseconds) {
    if (!gridStarted) {
        gridStarted = true;
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
