#include "d3dx/image/dds_decoder.h"

#include <gtest/gtest.h>

#include "tests/support/image_decoding.h"

namespace {

const uint32_t kAlphaPixels = 0x1;
const uint32_t kAlphaOnly = 0x2;
const uint32_t kRgb = 0x40;
const uint32_t kLuminance = 0x20000;

struct LayoutCase {
    uint32_t flags;
    uint32_t bitCount;
    uint32_t masks[4];
    D3DFORMAT format;
    int bits[4];
};

TEST(DdsDecoderTest, UncompressedLayouts) {
    const LayoutCase cases[] = {
        {kRgb | kAlphaPixels,
         32,
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         D3DFMT_A8R8G8B8,
         {8, 8, 8, 8}},
        {kRgb, 32, {0xFF0000, 0xFF00, 0xFF, 0}, D3DFMT_X8R8G8B8, {8, 8, 8, 0}},
        {kRgb | kAlphaPixels,
         32,
         {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
         D3DFMT_A8R8G8B8,
         {8, 8, 8, 8}},
        {kRgb, 24, {0xFF0000, 0xFF00, 0xFF, 0}, D3DFMT_R8G8B8, {8, 8, 8, 0}},
        {kRgb, 16, {0xF800, 0x07E0, 0x001F, 0}, D3DFMT_R5G6B5, {5, 6, 5, 0}},
        {kRgb | kAlphaPixels, 16, {0x7C00, 0x03E0, 0x001F, 0x8000}, D3DFMT_A1R5G5B5, {5, 5, 5, 1}},
        {kRgb | kAlphaPixels, 16, {0x0F00, 0x00F0, 0x000F, 0xF000}, D3DFMT_A4R4G4B4, {4, 4, 4, 4}},
        {kRgb, 8, {0xE0, 0x1C, 0x03, 0}, D3DFMT_R3G3B2, {3, 3, 2, 0}},
    };
    const TestImage image = PatternImage(6, 5, true);
    for (const LayoutCase& c : cases) {
        DecodedImage decoded;
        ASSERT_EQ(DecodeBytes(WriteDdsUncompressed(image, c.flags, c.bitCount, c.masks), &decoded),
                  S_OK);
        EXPECT_EQ(decoded.format, c.format);
        EXPECT_EQ(decoded.fileFormat, D3DXIFF_DDS);
        EXPECT_EQ(DecodedPixels(decoded),
                  ThroughFormat(image, c.bits[0], c.bits[1], c.bits[2], c.bits[3]))
            << c.format << " masks " << c.masks[0];
    }
}

TEST(DdsDecoderTest, LuminanceAndAlphaOnly) {
    const TestImage image = PatternImage(4, 4, true);
    const uint32_t a8l8[4] = {0xFF, 0, 0, 0xFF00};
    DecodedImage decoded;
    ASSERT_EQ(
        DecodeBytes(WriteDdsUncompressed(image, kLuminance | kAlphaPixels, 16, a8l8), &decoded),
        S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_A8L8);
    for (size_t i = 0; i < image.argb.size(); ++i) {
        const uint32_t l = image.argb[i] & 0xFF;
        EXPECT_EQ(DecodedPixels(decoded)[i], (image.argb[i] & 0xFF000000u) | l << 16 | l << 8 | l);
    }
    const uint32_t a8[4] = {0, 0, 0, 0xFF};
    ASSERT_EQ(DecodeBytes(WriteDdsUncompressed(image, kAlphaOnly, 8, a8), &decoded), S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_A8);
    EXPECT_EQ(decoded.Pixel(2, 3), (image.At(2, 3) & 0xFF000000u) | 0xFFFFFF);
}

// A colour block: two 5:6:5 endpoints and sixteen 2-bit selectors.
Bytes ColorBlock(uint16_t c0, uint16_t c1, const int selectors[16]) {
    uint32_t bits = 0;
    for (int i = 0; i < 16; ++i) {
        bits |= static_cast<uint32_t>(selectors[i]) << (2 * i);
    }
    return Bytes{static_cast<uint8_t>(c0),         static_cast<uint8_t>(c0 >> 8),
                 static_cast<uint8_t>(c1),         static_cast<uint8_t>(c1 >> 8),
                 static_cast<uint8_t>(bits),       static_cast<uint8_t>(bits >> 8),
                 static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
}

uint32_t Rgb(int r, int g, int b) {
    return 0xFF000000u | static_cast<uint32_t>(r << 16 | g << 8 | b);
}

const int kSelectors[16] = {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 1, 1, 2, 2, 3, 3};

TEST(DdsDecoderTest, Dxt1FourColourAndThreeColourBlocks) {
    // Red (31, 0, 0) and blue (0, 0, 31) expand to 255 and 0; thirds and a half between them.
    Bytes blocks = ColorBlock(0xF800, 0x001F, kSelectors);        // c0 > c1: four colours
    const Bytes second = ColorBlock(0x001F, 0xF800, kSelectors);  // c0 <= c1: three + clear
    blocks.insert(blocks.end(), second.begin(), second.end());
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(WriteDdsBlocks(8, 4, "DXT1", blocks), &decoded), S_OK);
    const uint32_t four[4] = {Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(170, 0, 85), Rgb(85, 0, 170)};
    const uint32_t three[4] = {Rgb(0, 0, 255), Rgb(255, 0, 0), Rgb(127, 0, 127), 0};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(decoded.Pixel(i % 4, i / 4), four[kSelectors[i]]) << i;
        EXPECT_EQ(decoded.Pixel(4 + i % 4, i / 4), three[kSelectors[i]]) << i;
    }
}

TEST(DdsDecoderTest, Dxt3AndDxt5Alpha) {
    Bytes dxt3;
    for (int i = 0; i < 8; ++i) {
        dxt3.push_back(static_cast<uint8_t>((2 * i) | ((2 * i + 1) << 4)));  // alpha i * 17
    }
    const Bytes colors = ColorBlock(0x07E0, 0x07E0, kSelectors);
    dxt3.insert(dxt3.end(), colors.begin(), colors.end());
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(WriteDdsBlocks(4, 4, "DXT3", dxt3), &decoded), S_OK);
    for (uint32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(decoded.Pixel(i % 4, i / 4), (i * 17) << 24 | 0x00FF00) << i;
    }

    // Two DXT5 blocks: eight interpolated alphas (a0 > a1), then six plus 0 and 255.
    Bytes dxt5;
    for (const auto& ends : {std::pair<int, int>{224, 14}, std::pair<int, int>{10, 200}}) {
        dxt5.push_back(static_cast<uint8_t>(ends.first));
        dxt5.push_back(static_cast<uint8_t>(ends.second));
        uint64_t bits = 0;
        for (int i = 0; i < 16; ++i) {
            bits |= static_cast<uint64_t>(i % 8) << (3 * i);
        }
        for (int i = 0; i < 6; ++i) {
            dxt5.push_back(static_cast<uint8_t>(bits >> (8 * i)));
        }
        dxt5.insert(dxt5.end(), colors.begin(), colors.end());
    }
    ASSERT_EQ(DecodeBytes(WriteDdsBlocks(5, 3, "DXT5", dxt5), &decoded), S_OK);
    EXPECT_EQ(decoded.width, 5u);
    EXPECT_EQ(decoded.height, 3u);
    const uint32_t eight[8] = {224, 14, 194, 164, 134, 104, 74, 44};
    const uint32_t six[8] = {10, 200, 48, 86, 124, 162, 0, 255};
    for (uint32_t i = 0; i < 12; ++i) {
        EXPECT_EQ(decoded.Pixel(i % 4, i / 4) >> 24, eight[i % 8]) << i;
    }
    for (uint32_t y = 0; y < 3; ++y) {
        EXPECT_EQ(decoded.Pixel(4, y) >> 24, six[(4 * y) % 8]) << y;
    }
}

TEST(DdsDecoderTest, MalformedFilesFail) {
    const TestImage image = PatternImage(4, 4);
    const uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0};
    const Bytes good = WriteDdsUncompressed(image, kRgb, 32, masks);
    DecodedImage decoded;
    EXPECT_EQ(DecodeBytes(Bytes(good.begin(), good.end() - 1), &decoded), E_FAIL);
    EXPECT_EQ(DecodeBytes(Bytes(good.begin(), good.begin() + 100), &decoded), E_FAIL);
    Bytes changed = good;
    changed[4] = 100;  // header size
    EXPECT_EQ(DecodeBytes(changed, &decoded), E_FAIL);
    const uint32_t scattered[4] = {0xF0F0, 0x0F00, 0x000F, 0};
    EXPECT_EQ(DecodeBytes(WriteDdsUncompressed(image, kRgb, 16, scattered), &decoded), E_FAIL);
    const uint32_t wide[4] = {0xFF0000, 0xFF00, 0xFF, 0};
    EXPECT_EQ(DecodeBytes(WriteDdsUncompressed(image, kRgb, 16, wide), &decoded), E_FAIL);
    EXPECT_EQ(DecodeBytes(WriteDdsBlocks(4, 4, "DXT1", Bytes(7)), &decoded), E_FAIL);
    EXPECT_EQ(DecodeBytes(WriteDdsBlocks(4, 4, "ATI2", Bytes(16)), &decoded), E_FAIL);
    EXPECT_EQ(DecodeBytes(WriteDdsBlocks(8, 8, "DXT5", Bytes(64)), &decoded, ImageLimits{4, 8}),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeBytes(WriteDdsBlocks(0xFFFFFFFF, 0xFFFFFFFF, "DXT5", Bytes(64)), &decoded,
                          ImageLimits{0xFFFFFFFF, 0xFFFFFFFF}),
              E_FAIL);
}

}  // namespace
