#include "platform/pace/present_pace.h"

#include <cmath>

namespace {

constexpr double kModeHertz = 60.0;
// A display this close to a multiple of 60 Hz is taken to be one (59.94 x 2 is 119.88).
constexpr double kMultipleTolerance = 0.005;

// How far a measured rate may stray from the mode's: a mode's timings and the clock that drives
// the display differ by parts per thousand.
constexpr double kRateAgreement = 0.03;

}  // namespace

PresentPace ChoosePresentPace(double displayHertz) {
    if (!(displayHertz > 0.0)) {
        return {1, kModeHertz};
    }
    // 59 to 61 Hz is the mode's own rate; below, only more game steps a frame could keep the
    // pace, so the game follows the display.
    if (displayHertz <= 61.0) {
        return {1, displayHertz};
    }
    const double multiple = std::round(displayHertz / kModeHertz);
    if (std::fabs(displayHertz - multiple * kModeHertz) <=
        kMultipleTolerance * multiple * kModeHertz) {
        return {static_cast<int>(multiple), displayHertz / multiple};
    }
    return {1, kModeHertz};
}

bool MeasuredRateIsTheDisplays(double measured, double claimed) {
    if (!(measured > 0.0)) {
        return false;
    }
    return !(claimed > 0.0) || std::fabs(measured - claimed) <= kRateAgreement * claimed;
}
