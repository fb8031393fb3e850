// The one random sequence of the game: a linear congruential generator (multiplier 214013,
// increment 2531011, outputs 0 to 32767) starting from seed 1 and never reseeded, so every run and
// every platform draws the same numbers whatever its C library's rand does. Only the particle
// emitters draw from it.
#pragma once

#include <cstdint>

class RandomSequence {
public:
    RandomSequence();

    // The next output, 0 to 32767.
    int Next();
    // lo + |hi - lo| * r with r = output / 32767: always between lo and lo + |hi - lo|.
    float Range(float lo, float hi);
    // Back to the start of the sequence (tests only; the game never reseeds).
    void Restart();

    // The sequence every emitter of the process shares.
    static RandomSequence& Shared();

private:
    uint32_t seed;
};
