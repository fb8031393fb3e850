// The display's rate as last read, and whether it must be read again: reading it costs the X
// server round trips, and the game asks for it once a second and on every wait in the background.
#pragma once

#include <cstdint>

class RefreshRateCache {
public:
    // Where no change is announced, a read older than this is read again.
    static constexpr std::uint32_t kPollMs = 1000;

    // Whether the rate must be read at nowMs (milliseconds, wrapping): it never was, something
    // that can change it happened since, or changes are not announced and the read is old.
    bool Stale(std::uint32_t nowMs) const;
    // Something that can change the rate happened: the mode, the outputs, the window's display.
    void MarkStale() { stale = true; }
    // A fresh read at nowMs; changesAnnounced: whether every change will be marked, or it must be
    // polled for.
    void Store(double hertz, bool changesAnnounced, std::uint32_t nowMs);
    double Hertz() const { return hertz; }

private:
    bool stale = true;
    double hertz = 0.0;
    bool announced = false;
    std::uint32_t readMs = 0;
};
