#include "d3dx/image/texture_level.h"

#include <algorithm>
#include <cmath>

#include "platform/safe_size.h"

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
    int maximum[4];
    bool luminance = false;
    for (int f = 0; f < fieldCount; ++f) {
        maximum[f] = (1 << texelLayout.fields[f].bits) - 1;
        scale[f] = maximum[f] / 255.0f;
        channelOf[f] = static_cast<int>(texelLayout.fields[f].channel);
        luminance = luminance || texelLayout.fields[f].channel == TexelChannel::kLuminance;
    }
    // Same size into 8-bit channels: the values are the image's own bytes, which is what the
    // general path below computes too, without the trip through floating point.
    const bool byteCopy =
        levelWidth == image.width && levelHeight == image.height && !luminance &&
        std::all_of(maximum, maximum + fieldCount, [](int m) { return m == 255; });
    if (byteCopy) {
        static const int kShiftOfChannel[4] = {24, 16, 8, 0};  // A, R, G, B of an A8R8G8B8 value
        uint16_t* out = values.data();
        for (UINT y = 0; y < levelHeight; ++y) {
            for (UINT x = 0; x < levelWidth; ++x) {
                const uint32_t pixel = image.Pixel(x, y);
                for (int f = 0; f < fieldCount; ++f) {
                    *out++ = static_cast<uint16_t>((pixel >> kShiftOfChannel[channelOf[f]]) & 0xFF);
                }
            }
        }
        return S_OK;
    }
    return ResampleImage(image, levelWidth, levelHeight, filter, [&](UINT y, const float* argb) {
        uint16_t* out = values.data() + static_cast<size_t>(y) * levelWidth * fieldCount;
        float thresholds[4];
        for (int x = 0; x < 4; ++x) {
            thresholds[x] = dither ? (kBayer[y & 3][x] + 0.5f) / 16.0f : 0.5f;
        }
        for (UINT x = 0; x < levelWidth; ++x) {
            // A, R, G, B at 0..3 and, where the format wants it, luminance at 4.
            float texel[5];
            std::copy(argb + 4 * static_cast<size_t>(x), argb + 4 * static_cast<size_t>(x) + 4,
                      texel);
            if (luminance) {
                texel[4] = (54.0f * texel[1] + 183.0f * texel[2] + 19.0f * texel[3]) / 256.0f;
            }
            const float threshold = thresholds[x & 3];
            for (int f = 0; f < fieldCount; ++f) {
                // Never negative, so truncation rounds down.
                const int q = static_cast<int>(texel[channelOf[f]] * scale[f] + threshold);
                *out++ = static_cast<uint16_t>(std::clamp(q, 0, maximum[f]));
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

namespace {

// Packs rows of `fieldCount` values per texel into `bytes`-byte texels; the counts are template
// parameters so that the common formats get loops the compiler can unroll.
template <int kFields, int kBytes>
void StoreTexels(const TexelLayout& layout, const uint16_t* in, UINT width, UINT height,
                 uint8_t* bits, size_t pitch) {
    uint32_t shifts[kFields];
    for (int f = 0; f < kFields; ++f) {
        shifts[f] = layout.fields[f].shift;
    }
    for (UINT y = 0; y < height; ++y) {
        uint8_t* out = bits + y * pitch;
        for (UINT x = 0; x < width; ++x) {
            uint32_t word = layout.unusedBits;
            for (int f = 0; f < kFields; ++f) {
                word |= static_cast<uint32_t>(in[f]) << shifts[f];
            }
            in += kFields;
            for (int b = 0; b < kBytes; ++b) {
                out[b] = static_cast<uint8_t>(word >> (8 * b));
            }
            out += kBytes;
        }
    }
}

}  // namespace

void TextureLevel::Store(uint8_t* bits, size_t pitch) const {
    const uint16_t* in = values.data();
    const TexelLayout& l = *layout;
    switch (l.fieldCount * 10 + l.bytesPerTexel) {
        case 44:
            return StoreTexels<4, 4>(l, in, width, height, bits, pitch);
        case 34:
            return StoreTexels<3, 4>(l, in, width, height, bits, pitch);
        case 33:
            return StoreTexels<3, 3>(l, in, width, height, bits, pitch);
        case 32:
            return StoreTexels<3, 2>(l, in, width, height, bits, pitch);
        case 42:
            return StoreTexels<4, 2>(l, in, width, height, bits, pitch);
        case 31:
            return StoreTexels<3, 1>(l, in, width, height, bits, pitch);
        case 22:
            return StoreTexels<2, 2>(l, in, width, height, bits, pitch);
        case 21:
            return StoreTexels<2, 1>(l, in, width, height, bits, pitch);
        case 24:
            return StoreTexels<2, 4>(l, in, width, height, bits, pitch);
        default:  // A8 and L8: the one remaining shape in the table
            return StoreTexels<1, 1>(l, in, width, height, bits, pitch);
    }
}
