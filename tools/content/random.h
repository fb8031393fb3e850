// A small seeded generator (SplitMix64) so that every run of the content tool draws the same
// numbers on every platform; the C library's rand is neither portable nor ours to consume.
#pragma once

#include <cstdint>

namespace content {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t Next() {
        state_ += 0x9E3779B97F4A7C15ull;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    float Unit() { return static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24); }

    float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }

private:
    uint64_t state_;
};

}  // namespace content
