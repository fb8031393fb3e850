// Frame times of a capture run and the figures the tool reports: the median and the 99th
// percentile (nearest rank: the smallest time that at least 99% of the frames do not exceed).
#pragma once

#include <cstddef>
#include <vector>

class FrameTiming {
public:
    void Add(double milliseconds) { times.push_back(milliseconds); }
    size_t Count() const { return times.size(); }
    // 0 when no frame ran.
    double Median() const;
    double Percentile99() const;

private:
    std::vector<double> times;
};
