#include "tools/compare/image_difference.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool SizesMatch(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    return a.size() == bytes && b.size() == bytes;
}

int LargestChannelDifference(const uint8_t* a, const uint8_t* b) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

}  // namespace

bool CompareImages(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                   int height, ImageDifference* difference) {
    if (!SizesMatch(a, b, width, height)) {
        return false;
    }
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    uint64_t sums[3] = {0, 0, 0};
    size_t over = 0;
    int largest = 0;
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* pa = a.data() + i * 4;
        const uint8_t* pb = b.data() + i * 4;
        for (int c = 0; c < 3; ++c) {
            sums[c] += static_cast<uint64_t>(std::abs(pa[c] - pb[c]));
        }
        const int d = LargestChannelDifference(pa, pb);
        largest = std::max(largest, d);
        if (d > kDifferenceThreshold) {
            ++over;
        }
    }
    const double count = static_cast<double>(pixels);
    difference->meanRed = static_cast<double>(sums[0]) / count;
    difference->meanGreen = static_cast<double>(sums[1]) / count;
    difference->meanBlue = static_cast<double>(sums[2]) / count;
    difference->percentOverThreshold = 100.0 * static_cast<double>(over) / count;
    difference->largest = largest;
    return true;
}

std::vector<uint8_t> DifferenceHeatMap(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                                       int width, int height) {
    if (!SizesMatch(a, b, width, height)) {
        return {};
    }
    std::vector<uint8_t> map(a.size());
    for (size_t i = 0; i < a.size(); i += 4) {
        const uint8_t* pa = a.data() + i;
        uint8_t* out = map.data() + i;
        const int d = LargestChannelDifference(pa, b.data() + i);
        if (d == 0) {
            const uint8_t grey = static_cast<uint8_t>((pa[0] + pa[1] + pa[2]) / 12);
            out[0] = grey;
            out[1] = grey;
            out[2] = grey;
        } else if (d <= kDifferenceThreshold) {
            out[0] = 0;
            out[1] = 0;
            out[2] = static_cast<uint8_t>(127 + d * 8);  // 135 to 255
        } else {
            out[0] = 255;
            out[1] = static_cast<uint8_t>((d - kDifferenceThreshold - 1) * 255 /
                                          (255 - kDifferenceThreshold - 1));
            out[2] = 0;
        }
        out[3] = 255;
    }
    return map;
}
