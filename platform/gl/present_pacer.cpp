#include "platform/gl/present_pacer.h"

#include <chrono>
#include <thread>
#include <utility>

PresentPacer::PresentPacer(Clock clockSource, Sleeper sleepFunction)
    : clock(std::move(clockSource)),
      sleeper(std::move(sleepFunction)),
      periodMicros(1000000 / 60),
      lastMicros(0),
      started(false) {}

void PresentPacer::SetRefreshRate(int hertz) {
    if (hertz <= 0) {
        hertz = 60;
    }
    periodMicros = 1000000u / static_cast<uint64_t>(hertz);
}

void PresentPacer::AfterSwap() {
    const uint64_t now = clock();
    if (!started) {
        started = true;
        lastMicros = now;
        return;
    }
    const uint64_t deadline = lastMicros + periodMicros;
    if (now < deadline) {
        sleeper(deadline - now);
        // Keep to the deadline grid so that sleep overshoot does not accumulate.
        lastMicros = deadline;
    } else {
        // Late (a slow frame, or a swap that waited itself): start a new period from here.
        lastMicros = now;
    }
}

PresentPacer MakeSystemPresentPacer() {
    return PresentPacer(
        [] {
            const auto since = std::chrono::steady_clock::now().time_since_epoch();
            return static_cast<uint64_t>(
                std::chrono::duration_cast<std::chrono::microseconds>(since).count());
        },
        [](uint64_t micros) { std::this_thread::sleep_for(std::chrono::microseconds(micros)); });
}
