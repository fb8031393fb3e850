// Shorthands for the decoder tests: decode bytes with the test limits, and read a decoded image
// back as A8R8G8B8 values in the layout of a TestImage.
#pragma once

#include <vector>

#include "d3dx/image/image_decoder.h"
#include "tests/support/image_file_writers.h"

inline const ImageLimits kTestImageLimits{4096, 4096};

inline HRESULT DecodeBytes(const Bytes& bytes, DecodedImage* image,
                           const ImageLimits& limits = kTestImageLimits) {
    return DecodeImage(bytes.data(), bytes.size(), limits, image);
}

inline std::vector<uint32_t> DecodedPixels(const DecodedImage& image) {
    std::vector<uint32_t> pixels;
    for (UINT y = 0; y < image.height; ++y) {
        for (UINT x = 0; x < image.width; ++x) {
            pixels.push_back(image.Pixel(x, y));
        }
    }
    return pixels;
}

// The 8-bit value a channel keeps after a trip through `bits` bits with rounding both ways.
inline uint32_t ThroughBits(uint32_t value8, int bits) {
    const uint32_t maximum = (1u << bits) - 1;
    const uint32_t stored = (value8 * maximum + 127) / 255;
    return (stored * 255 + maximum / 2) / maximum;
}

// Every channel of every pixel through the given bits (alpha forced opaque when alphaBits is 0).
inline std::vector<uint32_t> ThroughFormat(const TestImage& image, int redBits, int greenBits,
                                           int blueBits, int alphaBits) {
    std::vector<uint32_t> out;
    for (uint32_t p : image.argb) {
        const uint32_t a = alphaBits == 0 ? 255 : ThroughBits(p >> 24, alphaBits);
        out.push_back((a << 24) | (ThroughBits((p >> 16) & 0xFF, redBits) << 16) |
                      (ThroughBits((p >> 8) & 0xFF, greenBits) << 8) |
                      ThroughBits(p & 0xFF, blueBits));
    }
    return out;
}

inline std::vector<uint32_t> Opaque(const TestImage& image) {
    std::vector<uint32_t> out;
    for (uint32_t p : image.argb) {
        out.push_back(p | 0xFF000000u);
    }
    return out;
}
