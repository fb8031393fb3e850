#include "tools/capture/frame_timing.h"

#include <algorithm>

double FrameTiming::Median() const {
    if (times.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    const size_t middle = sorted.size() / 2;
    if (sorted.size() % 2 == 1) {
        return sorted[middle];
    }
    return (sorted[middle - 1] + sorted[middle]) / 2.0;
}

double FrameTiming::Percentile99() const {
    if (times.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    // Nearest rank: ceil(0.99 n), counted from 1.
    const size_t rank = (sorted.size() * 99 + 99) / 100;
    return sorted[rank - 1];
}
