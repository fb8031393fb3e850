#include "platform/pace/retrace_lattice.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSecond = 1e9;
// How far the measured period may stray from the claimed one: a mode's timings and the clock
// that really drives the display differ by parts per thousand at most (XWayland's CVT modes by
// 600 ppm); a lattice further off is not the display's.
constexpr double kPeriodSpread = 0.01;
constexpr double kLongestProbeSpacing = 64 * kSecond;

}  // namespace

void RetraceLattice::Reset(double hertz) {
    nominalHertz = hertz > 0.0 ? hertz : 0.0;
    nominalPeriod = nominalHertz > 0.0 ? kSecond / nominalHertz : 0.0;
    period = nominalPeriod;
    anchored = false;
    locked = false;
    misses = 0;
    nextProbe = 0.0;
    probeSpacing = kSecond;
}

bool RetraceLattice::ProbeDue(uint64_t now) const {
    return nominalHertz > 0.0 && anchored && !locked && static_cast<double>(now) >= nextProbe;
}

double RetraceLattice::RetraceAtOrAfter(double at) const {
    return anchor + std::ceil((at - anchor) / period) * period;
}

double RetraceLattice::Tolerance() const {
    // Wide enough for a woken thread's delay, narrow enough that a swap that does not wait
    // cannot pass for one that does.
    return std::max(0.5e6, 0.1 * period);
}

void RetraceLattice::Returned(double target, double returned) {
    if (nominalHertz == 0.0) {
        return;
    }
    if (!anchored || (!locked && target == 0.0)) {
        anchored = true;
        anchor = last = returned;
        period = nominalPeriod;
        return;
    }
    if (target != 0.0 && returned < target - Tolerance()) {
        Unlock(returned);  // back before its retrace: the swap did not wait
        return;
    }
    const double retraces = std::round((returned - anchor) / period);
    const double off = returned - (anchor + retraces * period);
    if (retraces < 1.0 || std::fabs(off) > Tolerance()) {
        // One return off the lattice may be a thread woken late; two in a row are not.
        if (!locked || ++misses >= 2) {
            Unlock(returned);
        }
        return;
    }
    misses = 0;
    const double measured = (returned - anchor) / retraces;
    if (std::fabs(measured - nominalPeriod) > kPeriodSpread * nominalPeriod) {
        Unlock(returned);
        return;
    }
    period = measured;
    last = anchor + retraces * period;
    locked = true;
    probeSpacing = kSecond;
}

void RetraceLattice::Unlock(double returned) {
    locked = false;
    misses = 0;
    anchor = last = returned;
    period = nominalPeriod;
    nextProbe = returned + probeSpacing;
    probeSpacing = std::min(2.0 * probeSpacing, kLongestProbeSpacing);
}
