// The OpenGL ES dialect's texel conversions: Direct3D's layouts into the RGBA-ordered uploads WebGL
// 2 takes, and read-backs (RGBA8 from a framebuffer) into Direct3D's bytes again.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/gl/gl_es_texels.h"

namespace {

std::vector<BYTE> Converted(D3DFORMAT format, std::vector<BYTE> texels) {
    GlTextureFormat glFormat{};
    EXPECT_TRUE(GlEsTextureFormatFor(format, &glFormat));
    const size_t count = texels.size() / glFormat.bytesPerPixel;
    std::vector<BYTE> upload(count * glFormat.uploadBytesPerPixel, 0xCD);
    GlEsConvertTexels(format, texels.data(), upload.data(), count);
    return upload;
}

std::vector<BYTE> Word(unsigned value) {
    return {static_cast<BYTE>(value & 0xFF), static_cast<BYTE>(value >> 8)};
}

// An n-bit channel widened to 8 bits as OpenGL implementations do: by repeating its bits, or by
// rounding n / max * 255.
BYTE Replicated(unsigned value, unsigned bits) {
    unsigned wide = value << (8 - bits);
    for (unsigned shift = bits; shift < 8; shift += bits) {
        wide |= (value << (8 - bits)) >> shift;
    }
    return static_cast<BYTE>(wide);
}
BYTE Rounded(unsigned value, unsigned bits) {
    const unsigned top = (1u << bits) - 1u;
    return static_cast<BYTE>((value * 255u + top / 2u) / top);
}

TEST(GlEsTexels, UploadsAreInRedGreenBlueAlphaOrder) {
    // A8R8G8B8 lies in memory as B, G, R, A.
    EXPECT_EQ(Converted(D3DFMT_A8R8G8B8, {0x10, 0x20, 0x30, 0x40}),
              (std::vector<BYTE>{0x30, 0x20, 0x10, 0x40}));
    // The X byte is not alpha: the texture is opaque whatever it holds.
    EXPECT_EQ(Converted(D3DFMT_X8R8G8B8, {0x10, 0x20, 0x30, 0x00}),
              (std::vector<BYTE>{0x30, 0x20, 0x10, 0xFF}));
    // Alpha moves from the top bits to the bottom: ARRRRRGGGGGBBBBB to RRRRRGGGGGBBBBBA.
    EXPECT_EQ(Converted(D3DFMT_A1R5G5B5, Word(0x8000 | (0x1F << 10) | 0x01)),
              Word((0x1F << 11) | (0x01 << 1) | 1));
    EXPECT_EQ(Converted(D3DFMT_X1R5G5B5, Word(0x03E0)), Word((0x1F << 6) | 1));
    EXPECT_EQ(Converted(D3DFMT_A4R4G4B4, Word(0x8ABC)), Word(0xABC8));
    EXPECT_EQ(Converted(D3DFMT_X4R4G4B4, Word(0x0ABC)), Word(0xABCF));
    EXPECT_EQ(Converted(D3DFMT_R5G6B5, Word(0xF81F)), Word(0xF81F));
    // Luminance and alpha alone become RGBA8 with what the desktop's swizzles gave.
    EXPECT_EQ(Converted(D3DFMT_L8, {0x7F, 0x01}),
              (std::vector<BYTE>{0x7F, 0x7F, 0x7F, 0xFF, 0x01, 0x01, 0x01, 0xFF}));
    EXPECT_EQ(Converted(D3DFMT_A8, {0x7F}), (std::vector<BYTE>{0, 0, 0, 0x7F}));
    EXPECT_EQ(Converted(D3DFMT_A8L8, {0x22, 0x99}), (std::vector<BYTE>{0x22, 0x22, 0x22, 0x99}));
}

TEST(GlEsTexels, FormatsTheLayerDoesNotCreateAreRefused) {
    GlTextureFormat glFormat{};
    EXPECT_FALSE(GlEsTextureFormatFor(D3DFMT_R3G3B2, &glFormat));
    EXPECT_FALSE(GlEsTextureFormatFor(D3DFMT_P8, &glFormat));
    // Every format the desktop creates, the ES dialect creates too: the game's choice of format
    // (CheckDeviceFormat) does not depend on the dialect.
    for (D3DFORMAT format :
         {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5,
          D3DFMT_A4R4G4B4, D3DFMT_X4R4G4B4, D3DFMT_L8, D3DFMT_A8, D3DFMT_A8L8}) {
        GlTextureFormat desktop{};
        ASSERT_TRUE(GlTextureFormatFor(format, &desktop));
        ASSERT_TRUE(GlEsTextureFormatFor(format, &glFormat)) << format;
        EXPECT_EQ(glFormat.bytesPerPixel, desktop.bytesPerPixel) << format;
        EXPECT_EQ(glFormat.source, format);
    }
}

// Every value of every channel comes back from a read-back as it went up, however the
// implementation widened it to 8 bits.
TEST(GlEsTexels, ReadBacksGiveBackEveryChannelValue) {
    for (auto widen : {Replicated, Rounded}) {
        for (unsigned v = 0; v < 64; ++v) {
            const unsigned v5 = v & 0x1F;
            const unsigned v4 = v & 0xF;
            BYTE to[2] = {};
            const BYTE rgb565[4] = {widen(v5, 5), widen(v, 6), widen(31 - v5, 5), 0xFF};
            GlEsTexelsFromRgba8(D3DFMT_R5G6B5, rgb565, to, 1);
            EXPECT_EQ(to[0] | (to[1] << 8), (v5 << 11) | (v << 5) | (31 - v5));
            const BYTE rgb5a1[4] = {widen(v5, 5), widen(31 - v5, 5), widen(v5, 5),
                                    static_cast<BYTE>(v & 1 ? 0xFF : 0)};
            GlEsTexelsFromRgba8(D3DFMT_A1R5G5B5, rgb5a1, to, 1);
            EXPECT_EQ(to[0] | (to[1] << 8), ((v & 1) << 15) | (v5 << 10) | ((31 - v5) << 5) | v5);
            const BYTE rgba4[4] = {widen(v4, 4), widen(15 - v4, 4), widen(v4, 4), widen(v4, 4)};
            GlEsTexelsFromRgba8(D3DFMT_A4R4G4B4, rgba4, to, 1);
            EXPECT_EQ(to[0] | (to[1] << 8), (v4 << 12) | (v4 << 8) | ((15 - v4) << 4) | v4);
        }
    }
    BYTE argb[4] = {};
    const BYTE read[4] = {0x30, 0x20, 0x10, 0x40};
    GlEsTexelsFromRgba8(D3DFMT_A8R8G8B8, read, argb, 1);
    EXPECT_EQ(std::vector<BYTE>(argb, argb + 4), (std::vector<BYTE>{0x10, 0x20, 0x30, 0x40}));
    BYTE luminanceAlpha[2] = {};
    const BYTE grey[4] = {0x55, 0x55, 0x55, 0x66};
    GlEsTexelsFromRgba8(D3DFMT_A8L8, grey, luminanceAlpha, 1);
    EXPECT_EQ(luminanceAlpha[0], 0x55);
    EXPECT_EQ(luminanceAlpha[1], 0x66);
}

}  // namespace
