#include "platform/sdl/refresh_rate_cache.h"

bool RefreshRateCache::Stale(std::uint32_t nowMs) const {
    // Unsigned subtraction keeps the age right across the clock's wrap.
    return stale || (!announced && nowMs - readMs >= kPollMs);
}

void RefreshRateCache::Store(double readHertz, bool changesAnnounced, std::uint32_t nowMs) {
    hertz = readHertz;
    announced = changesAnnounced;
    readMs = nowMs;
    stale = false;
}
