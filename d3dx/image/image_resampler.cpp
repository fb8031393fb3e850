#include "d3dx/image/image_resampler.h"

#include <algorithm>
#include <cmath>

#include "platform/safe_size.h"

namespace {

// For each output position along one axis, the source positions it reads and their weights.
struct AxisTaps {
    std::vector<uint32_t> begin;  // output position i reads taps [begin[i], begin[i + 1])
    std::vector<uint32_t> source;
    std::vector<float> weight;
};

bool BuildTaps(UINT sourceSize, UINT outputSize, ResampleFilter filter, AxisTaps* taps) {
    try {
        taps->begin.reserve(outputSize + 1u);
        const double scale = static_cast<double>(sourceSize) / outputSize;
        for (UINT i = 0; i < outputSize; ++i) {
            taps->begin.push_back(static_cast<uint32_t>(taps->source.size()));
            if (filter == ResampleFilter::kPoint) {
                const auto nearest = static_cast<uint32_t>((i + 0.5) * scale);
                taps->source.push_back(std::min<uint32_t>(nearest, sourceSize - 1));
                taps->weight.push_back(1.0f);
                continue;
            }
            const double centre = (i + 0.5) * scale - 0.5;
            const double radius = std::max(1.0, scale);
            const auto first = static_cast<int64_t>(std::ceil(centre - radius));
            const auto last = static_cast<int64_t>(std::floor(centre + radius));
            const size_t start = taps->weight.size();
            double total = 0.0;
            for (int64_t j = first; j <= last; ++j) {
                const double w = 1.0 - std::fabs(static_cast<double>(j) - centre) / radius;
                if (w <= 0.0) {
                    continue;
                }
                const int64_t clamped = std::clamp<int64_t>(j, 0, sourceSize - 1);
                taps->source.push_back(static_cast<uint32_t>(clamped));
                taps->weight.push_back(static_cast<float>(w));
                total += w;
            }
            for (size_t k = start; k < taps->weight.size(); ++k) {
                taps->weight[k] = static_cast<float>(taps->weight[k] / total);
            }
        }
        taps->begin.push_back(static_cast<uint32_t>(taps->source.size()));
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

void UnpackRow(const DecodedImage& image, UINT y, float* argb) {
    for (UINT x = 0; x < image.width; ++x) {
        const uint32_t pixel = image.Pixel(x, y);
        argb[4 * x + 0] = static_cast<float>(pixel >> 24);
        argb[4 * x + 1] = static_cast<float>((pixel >> 16) & 0xFF);
        argb[4 * x + 2] = static_cast<float>((pixel >> 8) & 0xFF);
        argb[4 * x + 3] = static_cast<float>(pixel & 0xFF);
    }
}

}  // namespace

HRESULT ResampleImage(const DecodedImage& source, UINT width, UINT height, ResampleFilter filter,
                      const ResampledRowSink& sink) {
    if (width == 0 || height == 0 || source.width == 0 || source.height == 0) {
        return E_FAIL;
    }
    std::vector<float> row;
    size_t rowFloats = 0;
    if (!MultiplySizes(std::max(width, source.width), 4, &rowFloats) ||
        !TryResize(&row, rowFloats)) {
        return E_OUTOFMEMORY;
    }
    if (width == source.width && height == source.height) {
        for (UINT y = 0; y < height; ++y) {
            UnpackRow(source, y, row.data());
            sink(y, row.data());
        }
        return S_OK;
    }

    AxisTaps across;
    AxisTaps down;
    // Source rows resampled across: source.height rows of `width` texels.
    std::vector<float> narrowed;
    size_t narrowedFloats = 0;
    if (!BuildTaps(source.width, width, filter, &across) ||
        !BuildTaps(source.height, height, filter, &down) ||
        !MultiplySizes(width, source.height, 4, &narrowedFloats) ||
        !TryResize(&narrowed, narrowedFloats)) {
        return E_OUTOFMEMORY;
    }
    for (UINT y = 0; y < source.height; ++y) {
        UnpackRow(source, y, row.data());
        float* out = narrowed.data() + static_cast<size_t>(y) * width * 4;
        for (UINT x = 0; x < width; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (uint32_t k = across.begin[x]; k < across.begin[x + 1]; ++k) {
                const float* in = row.data() + 4 * static_cast<size_t>(across.source[k]);
                const float w = across.weight[k];
                sum[0] += in[0] * w;
                sum[1] += in[1] * w;
                sum[2] += in[2] * w;
                sum[3] += in[3] * w;
            }
            std::copy(sum, sum + 4, out + 4 * static_cast<size_t>(x));
        }
    }
    for (UINT y = 0; y < height; ++y) {
        std::fill(row.begin(), row.begin() + 4 * static_cast<size_t>(width), 0.0f);
        for (uint32_t k = down.begin[y]; k < down.begin[y + 1]; ++k) {
            const float* in = narrowed.data() + static_cast<size_t>(down.source[k]) * width * 4;
            const float w = down.weight[k];
            for (size_t i = 0; i < 4 * static_cast<size_t>(width); ++i) {
                row[i] += in[i] * w;
            }
        }
        sink(y, row.data());
    }
    return S_OK;
}
