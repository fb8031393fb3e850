#include "render/image/texture_level.h"

#include <algorithm>
#include <cmath>

#include "render/image/safe_size.h"

namespace {

// Thresholds of a 4 x 4 ordered dither, in sixteenths.
const uint8_t kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

}  // namespace

HRESULT TextureLevel::Allocate(UINT levelWidth, UINT levelHeight, const TexelLayout& texelLayout) {
    size_t count = 0;
    if (levelWidth == 0 || levelHeight == 0 ||
        !MultiplySizes(levelWidth, levelHeight, texelLayout.fieldCount, &count)) {
        return E_FAIL;
    }
    if (!TryResize(&values, count)) {
        return E_OUTOFMEMORY;
    }
    width = levelWidth;
    height = levelHeight;
    layout = &texelLayout;
    return S_OK;
}

HRESULT TextureLevel::BuildFromImage(const DecodedImage& image, UINT levelWidth, UINT levelHeight,
                                     const TexelLayout& texelLayout, ResampleFilter filter,
                                     bool dither) {
    HRESULT result = Allocate(levelWidth, levelHeight, texelLayout);
    if (FAILED(result)) {
        return result;
    }
    const int fieldCount = texelLayout.fieldCount;
    float scale[4];
    int channelOf[4];
    uint16_t maximum[4];
    for (int f = 0; f < fieldCount; ++f) {
        maximum[f] = static_cast<uint16_t>((1u << texelLayout.fields[f].bits) - 1);
        scale[f] = maximum[f] / 255.0f;
        channelOf[f] = static_cast<int>(texelLayout.fields[f].channel);
    }
    return ResampleImage(image, levelWidth, levelHeight, filter, [&](UINT y, const float* argb) {
        uint16_t* out = values.data() + static_cast<size_t>(y) * levelWidth * fieldCount;
        for (UINT x = 0; x < levelWidth; ++x) {
            const float* texel = argb + 4 * static_cast<size_t>(x);
            const float threshold = dither ? (kBayer[y & 3][x & 3] + 0.5f) / 16.0f : 0.5f;
            for (int f = 0; f < fieldCount; ++f) {
                // Channels A, R, G, B sit at 0..3; luminance weighs the colour channels.
                const float v =
                    channelOf[f] < 4
                        ? texel[channelOf[f]]
                        : (54.0f * texel[1] + 183.0f * texel[2] + 19.0f * texel[3]) / 256.0f;
                const float q = std::floor(v * scale[f] + threshold);
                *out++ = static_cast<uint16_t>(std::clamp(q, 0.0f, float(maximum[f])));
            }
        }
    });
}

HRESULT TextureLevel::BuildHalf(const TextureLevel& above, UINT levelWidth, UINT levelHeight) {
    HRESULT result = Allocate(levelWidth, levelHeight, *above.layout);
    if (FAILED(result)) {
        return result;
    }
    const size_t fieldCount = layout->fieldCount;
    uint16_t* out = values.data();
    for (UINT y = 0; y < levelHeight; ++y) {
        const UINT y0 = std::min(2 * y, above.height - 1);
        const UINT y1 = std::min(2 * y + 1, above.height - 1);
        const uint16_t* row0 =
            above.values.data() + static_cast<size_t>(y0) * above.width * fieldCount;
        const uint16_t* row1 =
            above.values.data() + static_cast<size_t>(y1) * above.width * fieldCount;
        for (UINT x = 0; x < levelWidth; ++x) {
            const size_t x0 = std::min(2 * x, above.width - 1) * fieldCount;
            const size_t x1 = std::min(2 * x + 1, above.width - 1) * fieldCount;
            for (size_t f = 0; f < fieldCount; ++f) {
                const uint32_t sum = row0[x0 + f] + row0[x1 + f] + row1[x0 + f] + row1[x1 + f];
                *out++ = static_cast<uint16_t>((sum + 2) / 4);
            }
        }
    }
    return S_OK;
}

void TextureLevel::Store(uint8_t* bits, size_t pitch) const {
    const int fieldCount = layout->fieldCount;
    const unsigned bytes = layout->bytesPerTexel;
    const uint16_t* in = values.data();
    for (UINT y = 0; y < height; ++y) {
        uint8_t* out = bits + y * pitch;
        for (UINT x = 0; x < width; ++x) {
            uint32_t word = layout->unusedBits;
            for (int f = 0; f < fieldCount; ++f) {
                word |= static_cast<uint32_t>(*in++) << layout->fields[f].shift;
            }
            for (unsigned b = 0; b < bytes; ++b) {
                *out++ = static_cast<uint8_t>(word >> (8 * b));
            }
        }
    }
}
