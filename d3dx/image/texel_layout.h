// How each texture format the loader writes packs its channels into a texel: which channel sits
// in which bits. Drives quantising level 0, averaging the mip levels at the format's own
// precision, and storing texels into a locked level.
#pragma once

#include <cstdint>

#include "d3dx/d3dx_texture.h"

enum class TexelChannel : uint8_t { kAlpha, kRed, kGreen, kBlue, kLuminance };

struct TexelField {
    TexelChannel channel;
    uint8_t bits;
    uint8_t shift;
};

struct TexelLayout {
    D3DFORMAT format;
    uint8_t bytesPerTexel;
    uint8_t fieldCount;
    TexelField fields[4];
    // Bits no channel uses (the X of X8R8G8B8), written as ones.
    uint32_t unusedBits;

    bool HasAlpha() const {
        for (int i = 0; i < fieldCount; ++i) {
            if (fields[i].channel == TexelChannel::kAlpha) {
                return true;
            }
        }
        return false;
    }
};

// The layout of `format`, or null for a format the loader cannot write (palettised,
// compressed, depth and the like).
const TexelLayout* FindTexelLayout(D3DFORMAT format);
