#include "platform/pace/present_pacer.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <utility>

namespace {

constexpr double kModeHertz = 60.0;

}  // namespace

PresentPacer::PresentPacer(Clock clockSource, Sleeper sleepFunction)
    : clock(std::move(clockSource)),
      sleeper(std::move(sleepFunction)),
      rate(kModeHertz),
      periodNanoseconds(1e9 / kModeHertz),
      started(false),
      anchor(0),
      slot(0),
      lastRateCheck(clock()) {}

void PresentPacer::SetRate(double presentsPerSecond) {
    if (!(presentsPerSecond > 0.0)) {
        presentsPerSecond = kModeHertz;
    }
    if (presentsPerSecond == rate) {
        return;
    }
    rate = presentsPerSecond;
    periodNanoseconds = 1e9 / rate;
    started = false;
}

uint64_t PresentPacer::SlotTime(int64_t index) const {
    // From the anchor each time, so that rounding never accumulates.
    return anchor +
           static_cast<uint64_t>(std::llround(static_cast<double>(index) * periodNanoseconds));
}

void PresentPacer::BeforePresent() {
    const uint64_t now = clock();
    if (!started) {
        started = true;
        anchor = now;
        slot = 0;
        return;
    }
    const uint64_t next = SlotTime(slot + 1);
    if (now < next) {
        sleeper(next - now);
        ++slot;
        return;
    }
    const auto inSlot = static_cast<int64_t>(static_cast<double>(now - anchor) / periodNanoseconds);
    slot = inSlot > slot ? inSlot : slot + 1;
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
