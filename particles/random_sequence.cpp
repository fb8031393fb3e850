#include "particles/random_sequence.h"

#include <cmath>

RandomSequence::RandomSequence() : seed(1) {}

int RandomSequence::Next() {
    seed = seed * 214013u + 2531011u;
    return static_cast<int>((seed >> 16) & 0x7FFFu);
}

float RandomSequence::Range(float lo, float hi) {
    const float r = static_cast<float>(Next()) / 32767.0f;
    return lo + std::fabs(hi - lo) * r;
}

void RandomSequence::Restart() {
    seed = 1;
}

RandomSequence& RandomSequence::Shared() {
    static RandomSequence shared;
    return shared;
}
