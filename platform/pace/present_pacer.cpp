#include "platform/pace/present_pacer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <utility>

namespace {

constexpr double kModeHertz = 60.0;
// Rates this close are one display measured twice.
constexpr double kSameDisplay = 0.005;

}  // namespace

PresentPacer::PresentPacer(Clock clockSource, Sleeper sleepFunction)
    : clock(std::move(clockSource)),
      sleeper(std::move(sleepFunction)),
      rate(kModeHertz),
      periodNanoseconds(1e9 / kModeHertz),
      started(false),
      anchor(0),
      slot(0),
      lastRateCheck(clock()),
      retracesPerPresent(0),
      aimedAt(0.0) {}

void PresentPacer::SetRate(double presentsPerSecond, double retraceHertz, int swapInterval) {
    if (!(presentsPerSecond > 0.0)) {
        presentsPerSecond = kModeHertz;
    }
    const int interval = retraceHertz > 0.0 && swapInterval > 0 ? swapInterval : 0;
    // A rate measured afresh moves by parts per million; the lattice measures its own period,
    // and starts again only where the display is another.
    const double known = retraces.NominalHertz();
    if (interval != retracesPerPresent || interval == 0 ||
        std::fabs(retraceHertz - known) > kSameDisplay * known) {
        retracesPerPresent = interval;
        retraces.Reset(interval > 0 ? retraceHertz : 0.0);
    }
    if (presentsPerSecond == rate) {
        return;
    }
    rate = presentsPerSecond;
    periodNanoseconds = 1e9 / rate;
    started = false;
}

bool PresentPacer::IntervalIsThePace() const {
    // At a whole multiple of the pace, N retraces a present are the pace.
    return std::fabs(rate * retracesPerPresent - retraces.NominalHertz()) <=
           1e-6 * retraces.NominalHertz();
}

bool PresentPacer::RetracesLead() const {
    return retraces.Locked() && IntervalIsThePace();
}

uint64_t PresentPacer::SlotTime(int64_t index) const {
    // From the anchor each time, so that rounding never accumulates.
    return anchor +
           static_cast<uint64_t>(std::llround(static_cast<double>(index) * periodNanoseconds));
}

void PresentPacer::BeforePresent() {
    const uint64_t now = clock();
    const bool aim = retraces.Locked() || retraces.ProbeDue(now);
    aimedAt = 0.0;
    if (aim && IntervalIsThePace()) {
        // The retrace the swap interval points at, or the first the swap can still make; woken
        // half a slot before it, so that an overshooting sleep cannot miss it.
        const double period = retraces.Period();
        const double after = retraces.LastRetrace() + (retracesPerPresent - 0.5) * period;
        aimedAt = retraces.RetraceAtOrAfter(std::max(after, static_cast<double>(now)));
        SleepUntil(now, aimedAt - 0.5 * retracesPerPresent * period);
        // Should the swaps turn out not to wait, the grid goes on from the retrace aimed at.
        started = true;
        anchor = static_cast<uint64_t>(std::llround(aimedAt));
        slot = 0;
        return;
    }
    if (!started) {
        started = true;
        anchor = now;
        slot = 0;
        aimedAt = aim ? retraces.RetraceAtOrAfter(static_cast<double>(now)) : 0.0;
        return;
    }
    WaitForSlot(now, aim);
}

void PresentPacer::WaitForSlot(uint64_t now, bool aim) {
    const uint64_t next = SlotTime(slot + 1);
    if (now >= next) {
        const auto inSlot =
            static_cast<int64_t>(static_cast<double>(now - anchor) / periodNanoseconds);
        slot = inSlot > slot ? inSlot : slot + 1;
        aimedAt = aim ? retraces.RetraceAtOrAfter(static_cast<double>(now)) : 0.0;
        return;
    }
    ++slot;
    if (!aim) {
        sleeper(next - now);
        return;
    }
    // The slot's frame goes out at the first retrace after the slot: woken half a retrace
    // before that one, the swap is asked after the retrace before it, however the sleep
    // overshoots.
    aimedAt = retraces.RetraceAtOrAfter(static_cast<double>(next));
    SleepUntil(now, aimedAt - 0.5 * retraces.Period());
}

void PresentPacer::SleepUntil(uint64_t now, double wake) {
    if (wake > static_cast<double>(now)) {
        sleeper(static_cast<uint64_t>(std::llround(wake - static_cast<double>(now))));
    }
}

void PresentPacer::AfterPresent() {
    if (retracesPerPresent > 0) {
        retraces.Returned(aimedAt, static_cast<double>(clock()));
    }
}

bool PresentPacer::RateCheckDue() {
    const uint64_t now = clock();
    if (now - lastRateCheck < kRateCheckNanoseconds) {
        return false;
    }
    lastRateCheck = now;
    return true;
}

PresentPacer MakeSystemPresentPacer() {
    return PresentPacer(
        [] {
            const auto since = std::chrono::steady_clock::now().time_since_epoch();
            return static_cast<uint64_t>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(since).count());
        },
        [](uint64_t nanoseconds) {
            std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
        });
}
