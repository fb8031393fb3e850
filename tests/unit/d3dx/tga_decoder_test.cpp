#include "d3dx/image/tga_decoder.h"

#include <gtest/gtest.h>

#include "tests/support/image_decoding.h"

namespace {

// A few colours repeated in runs, so that colour maps stay small and RLE has runs to find.
TestImage FewColours(uint32_t width, uint32_t height, bool withAlpha) {
    const uint32_t colours[5] = {0xFF102030, 0xFFF0E0D0, 0x80FF0000, 0x00000000, 0xFF00FF7F};
    TestImage image{width, height, {}};
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t c = colours[(x / 4 + y) % 5];
            image.argb.push_back(withAlpha ? c : (c | 0xFF000000u));
        }
    }
    return image;
}

std::vector<uint32_t> Greys(const TestImage& image, bool withAlpha) {
    std::vector<uint32_t> out;
    for (uint32_t p : image.argb) {
        const uint32_t l = p & 0xFF;
        out.push_back((withAlpha ? (p & 0xFF000000u) : 0xFF000000u) | (l << 16) | (l << 8) | l);
    }
    return out;
}

TEST(TgaDecoderTest, TrueColourInEveryRowAndColumnOrder) {
    const TestImage image = PatternImage(7, 5, true);
    for (uint8_t type : {2, 10}) {
        for (uint8_t order : {0x00, 0x10, 0x20, 0x30}) {
            TgaLayout layout;
            layout.imageType = type;
            layout.depth = 24;
            layout.descriptor = order;
            layout.id = "id field";
            DecodedImage decoded;
            ASSERT_EQ(DecodeBytes(WriteTga(image, layout), &decoded), S_OK);
            EXPECT_EQ(decoded.format, D3DFMT_R8G8B8);
            EXPECT_EQ(decoded.fileFormat, D3DXIFF_TGA);
            EXPECT_EQ(DecodedPixels(decoded), Opaque(image))
                << int(type) << " order " << int(order);
        }
    }
}

TEST(TgaDecoderTest, ThirtyTwoBitKeepsAlphaOnlyWhenTheDescriptorSaysSo) {
    const TestImage image = FewColours(9, 4, true);
    for (uint8_t type : {2, 10}) {
        TgaLayout layout;
        layout.imageType = type;
        layout.depth = 32;
        layout.descriptor = 8;
        DecodedImage decoded;
        ASSERT_EQ(DecodeBytes(WriteTga(image, layout), &decoded), S_OK);
        EXPECT_EQ(decoded.format, D3DFMT_A8R8G8B8);
        EXPECT_EQ(DecodedPixels(decoded), image.argb);
        layout.descriptor = 0;
        ASSERT_EQ(DecodeBytes(WriteTga(image, layout), &decoded), S_OK);
        EXPECT_EQ(decoded.format, D3DFMT_X8R8G8B8);
        EXPECT_EQ(DecodedPixels(decoded), Opaque(image));
    }
}

TEST(TgaDecoderTest, SixteenBitWithAndWithoutTheAttributeBit) {
    const TestImage image = FewColours(6, 3, true);
    TgaLayout layout;
    layout.depth = 16;
    layout.descriptor = 1;
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(WriteTga(image, layout), &decoded), S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_A1R5G5B5);
    std::vector<uint32_t> expected = ThroughFormat(image, 5, 5, 5, 0);
    for (size_t i = 0; i < expected.size(); ++i) {
        if ((image.argb[i] >> 31) == 0) {
            expected[i] &= 0x00FFFFFF;
        }
    }
    EXPECT_EQ(DecodedPixels(decoded), expected);
    layout.depth = 15;
    layout.descriptor = 0;
    ASSERT_EQ(DecodeBytes(WriteTga(image, layout), &decoded), S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_X1R5G5B5);
    EXPECT_EQ(DecodedPixels(decoded), ThroughFormat(image, 5, 5, 5, 0));
}

TEST(TgaDecoderTest, ColourMappedRawAndRunLength) {
    const TestImage image = FewColours(11, 6, true);
    std::vector<uint32_t> map = {0xFF102030, 0xFFF0E0D0, 0x80FF0000, 0x00000000, 0xFF00FF7F};
    for (uint8_t type : {1, 9}) {
        for (uint8_t mapDepth : {24, 32}) {
            TgaLayout layout;
            layout.imageType = type;
            layout.depth = 8;
            layout.colorMap = map;
            layout.colorMapDepth = mapDepth;
            layout.colorMapFirst = 3;
            TestImage stored = image;
            if (mapDepth == 24) {
                stored.argb = Opaque(image);
                layout.colorMap.clear();
                for (uint32_t c : map) {
                    layout.colorMap.push_back(c | 0xFF000000u);
                }
            }
            DecodedImage decoded;
            ASSERT_EQ(DecodeBytes(WriteTga(stored, layout), &decoded), S_OK);
            EXPECT_EQ(decoded.format, D3DFMT_P8);
            EXPECT_EQ(decoded.palette.size(), 8u);
            EXPECT_EQ(DecodedPixels(decoded), stored.argb)
                << int(type) << " map depth " << int(mapDepth);
        }
    }
}

TEST(TgaDecoderTest, GreyscaleWithAndWithoutAlpha) {
    const TestImage image = PatternImage(8, 3, true);
    for (uint8_t type : {3, 11}) {
        TgaLayout layout;
        layout.imageType = type;
        layout.depth = 8;
        DecodedImage decoded;
        ASSERT_EQ(DecodeBytes(WriteTga(image, layout), &decoded), S_OK);
        EXPECT_EQ(decoded.format, D3DFMT_L8);
        EXPECT_EQ(DecodedPixels(decoded), Greys(image, false));
        layout.depth = 16;
        ASSERT_EQ(DecodeBytes(WriteTga(image, layout), &decoded), S_OK);
        EXPECT_EQ(decoded.format, D3DFMT_A8L8);
        EXPECT_EQ(DecodedPixels(decoded), Greys(image, true));
    }
}

TEST(TgaDecoderTest, MalformedFilesFail) {
    const TestImage image = FewColours(8, 4, false);
    TgaLayout raw;
    const Bytes good = WriteTga(image, raw);
    DecodedImage decoded;
    EXPECT_EQ(DecodeBytes(Bytes(good.begin(), good.end() - 1), &decoded), E_FAIL);

    TgaLayout rle;
    rle.imageType = 10;
    Bytes runs = WriteTga(image, rle);
    EXPECT_EQ(DecodeBytes(Bytes(runs.begin(), runs.end() - 2), &decoded), E_FAIL);
    runs.resize(18);
    runs.push_back(0xFF);  // one run of 128 pixels into an image of 32
    runs.insert(runs.end(), {1, 2, 3});
    EXPECT_EQ(DecodeBytes(runs, &decoded), E_FAIL);

    TgaLayout mapped;
    mapped.imageType = 1;
    mapped.depth = 8;
    mapped.colorMap = {0xFF102030, 0xFFF0E0D0, 0xFFFF0000, 0xFF000000, 0xFF00FF7F};
    mapped.colorMapFirst = 2;
    Bytes indexed = WriteTga(image, mapped);
    ASSERT_EQ(DecodeBytes(indexed, &decoded), S_OK);
    indexed[indexed.size() - 1] = 1;  // below the first entry
    EXPECT_EQ(DecodeBytes(indexed, &decoded), E_FAIL);
    indexed[indexed.size() - 1] = 7;  // past the last entry
    EXPECT_EQ(DecodeBytes(indexed, &decoded), E_FAIL);
    indexed.resize(18 + 5 * 3 - 1);  // colour map cut short
    EXPECT_EQ(DecodeBytes(indexed, &decoded), E_FAIL);

    Bytes oversized = WriteTga(PatternImage(5, 2), raw);
    EXPECT_EQ(DecodeBytes(oversized, &decoded, ImageLimits{4, 4}), D3DXERR_INVALIDDATA);
}

TEST(TgaDecoderTest, HeadersTgaDoesNotAllowAreNotTga) {
    Bytes header = WriteTga(PatternImage(2, 2), TgaLayout{});
    EXPECT_TRUE(IsTgaData(header.data(), header.size()));
    const std::pair<size_t, uint8_t> changes[] = {
        {1, 2},    // colour-map type
        {2, 4},    // image type
        {16, 12},  // depth
        {12, 0},   // width (with byte 13 already 0)
    };
    for (const auto& [at, value] : changes) {
        Bytes changed = header;
        changed[at] = value;
        EXPECT_FALSE(IsTgaData(changed.data(), changed.size())) << at;
        DecodedImage decoded;
        EXPECT_EQ(DecodeBytes(changed, &decoded), D3DXERR_INVALIDDATA) << at;
    }
}

}  // namespace
