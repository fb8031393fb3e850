// Pixels described by channel masks, as BMP bit fields and uncompressed DDS surfaces store them:
// naming the format a mask set stands for, and reading one packed pixel as A8R8G8B8.
#pragma once

#include <cstdint>

#include "d3dx/d3dx_texture.h"

struct ChannelMasks {
    uint32_t red;
    uint32_t green;
    uint32_t blue;
    uint32_t alpha;
};

// The format whose masks equal `masks` exactly at `bitCount` bits per pixel, from R5G6B5,
// X1R5G5B5, A1R5G5B5, X4R4G4B4, A4R4G4B4, A8R3G3B2, A8L8 (16 bits), R8G8B8 (24), X8R8G8B8,
// A8R8G8B8, A2B10G10R10 and G16R16 (32); D3DFMT_UNKNOWN for any other set.
D3DFORMAT FormatOfMasks(UINT bitCount, const ChannelMasks& masks);

class BitFieldLayout {
public:
    // False for a mask that is not one run of set bits.
    bool Init(const ChannelMasks& masks);
    // The packed pixel as A8R8G8B8: each channel scaled to 8 bits with rounding; a missing
    // alpha or colour channel reads as 255.
    uint32_t ToArgb(uint32_t packed) const {
        return (Channel(alpha, packed) << 24) | (Channel(red, packed) << 16) |
               (Channel(green, packed) << 8) | Channel(blue, packed);
    }

private:
    struct Field {
        uint32_t mask;
        uint32_t shift;
        uint32_t maximum;
    };
    static bool MakeField(uint32_t mask, Field* field);
    static uint32_t Channel(const Field& field, uint32_t packed) {
        if (field.mask == 0) {
            return 0xFF;
        }
        const uint64_t value = (packed & field.mask) >> field.shift;
        if (field.maximum == 255) {
            return static_cast<uint32_t>(value);
        }
        return static_cast<uint32_t>((value * 255 + field.maximum / 2) / field.maximum);
    }

    Field red{};
    Field green{};
    Field blue{};
    Field alpha{};
};
