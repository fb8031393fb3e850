#include "platform/system_image_codecs.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/image_decoding.h"

namespace {

std::vector<uint32_t> GreysOf(const TestImage& image, bool withAlpha, int bits = 8) {
    std::vector<uint32_t> out;
    for (uint32_t p : image.argb) {
        uint32_t l = p & 0xFF;
        if (bits < 8) {
            l >>= 8 - bits;
            l = l * 255 / ((1u << bits) - 1);
        }
        out.push_back((withAlpha ? (p & 0xFF000000u) : 0xFF000000u) | l << 16 | l << 8 | l);
    }
    return out;
}

TEST(PngCodecTest, EveryColourType) {
    const TestImage image = PatternImage(13, 7, true);
    struct Case {
        PngKind kind;
        int bitDepth;
        D3DFORMAT format;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {PngKind::kRgb, 8, D3DFMT_X8R8G8B8, Opaque(image)},
        {PngKind::kRgba, 8, D3DFMT_A8R8G8B8, image.argb},
        {PngKind::kRgb, 16, D3DFMT_X8R8G8B8, Opaque(image)},
        {PngKind::kRgba, 16, D3DFMT_A8R8G8B8, image.argb},
        {PngKind::kGrey, 8, D3DFMT_X8R8G8B8, GreysOf(image, false)},
        {PngKind::kGrey, 2, D3DFMT_X8R8G8B8, GreysOf(image, false, 2)},
        {PngKind::kGreyAlpha, 8, D3DFMT_A8R8G8B8, GreysOf(image, true)},
    };
    for (const Case& c : cases) {
        for (bool interlaced : {false, true}) {
            const Bytes file = WritePng(image, c.kind, c.bitDepth, interlaced);
            ASSERT_FALSE(file.empty());
            DecodedImage decoded;
            ASSERT_EQ(DecodeBytes(file, &decoded), S_OK);
            EXPECT_EQ(decoded.fileFormat, D3DXIFF_PNG);
            EXPECT_EQ(decoded.format, c.format);
            EXPECT_EQ(DecodedPixels(decoded), c.expected)
                << static_cast<int>(c.kind) << " depth " << c.bitDepth << " interlaced "
                << interlaced;
        }
    }
}

TEST(PngCodecTest, PaletteWithAndWithoutTransparency) {
    TestImage image{4,
                    2,
                    {0xFF102030, 0x80405060, 0xFF102030, 0x00000000, 0xFFFFFFFF, 0xFF102030,
                     0x80405060, 0xFF000001}};
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(WritePng(image, PngKind::kPalette), &decoded), S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(DecodedPixels(decoded), image.argb);
    image.argb = Opaque(image);
    ASSERT_EQ(DecodeBytes(WritePng(image, PngKind::kPalette), &decoded), S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(DecodedPixels(decoded), image.argb);
}

TEST(PngCodecTest, DamagedFilesFail) {
    const Bytes good = WritePng(PatternImage(40, 30), PngKind::kRgb);
    DecodedImage decoded;
    for (size_t keep : {size_t{8}, size_t{20}, size_t{40}, good.size() / 2, good.size() - 13}) {
        EXPECT_EQ(DecodeBytes(Bytes(good.begin(), good.begin() + keep), &decoded), E_FAIL) << keep;
    }
    Bytes corrupt = good;
    corrupt[good.size() / 2] ^= 0x55;  // inside the image data: a CRC or inflate error
    EXPECT_EQ(DecodeBytes(corrupt, &decoded), E_FAIL);
    Bytes badHeader = good;
    badHeader[24] = 7;  // bit depth 7 (the IHDR's CRC no longer matches either)
    EXPECT_EQ(DecodeBytes(badHeader, &decoded), E_FAIL);
}

TEST(PngCodecTest, OversizedImagesAreRefusedBeforeDecoding) {
    const Bytes file = WritePng(PatternImage(40, 30), PngKind::kRgba);
    DecodedImage decoded;
    EXPECT_EQ(DecodeBytes(file, &decoded, ImageLimits{39, 30}), D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeBytes(file, &decoded, ImageLimits{40, 29}), D3DXERR_INVALIDDATA);
    EXPECT_EQ(decoded.width, 0u);
}

TEST(JpegCodecTest, ColourGreyAndProgressive) {
    // Smooth content keeps JPEG's error small.
    TestImage image{32, 24, {}};
    for (uint32_t y = 0; y < 24; ++y) {
        for (uint32_t x = 0; x < 32; ++x) {
            image.argb.push_back(0xFF000000u | (x * 8) << 16 | (y * 10) << 8 | (128 + x * 2));
        }
    }
    for (bool grey : {false, true}) {
        for (bool progressive : {false, true}) {
            DecodedImage decoded;
            ASSERT_EQ(DecodeBytes(WriteJpeg(image, 98, grey, progressive), &decoded), S_OK);
            EXPECT_EQ(decoded.fileFormat, D3DXIFF_JPG);
            EXPECT_EQ(decoded.format, D3DFMT_X8R8G8B8);
            ASSERT_EQ(decoded.width, 32u);
            ASSERT_EQ(decoded.height, 24u);
            int worst = 0;
            for (uint32_t i = 0; i < image.argb.size(); ++i) {
                const uint32_t got = decoded.Pixel(i % 32, i / 32);
                EXPECT_EQ(got >> 24, 0xFFu);
                for (int shift : {16, 8, 0}) {
                    const int want = grey ? static_cast<int>(image.argb[i] & 0xFF)
                                          : static_cast<int>((image.argb[i] >> shift) & 0xFF);
                    worst =
                        std::max(worst, std::abs(static_cast<int>((got >> shift) & 0xFF) - want));
                }
            }
            EXPECT_LE(worst, 8) << "grey " << grey << " progressive " << progressive;
        }
    }
}

TEST(JpegCodecTest, DamagedAndOversizedFilesFail) {
    const Bytes good = WriteJpeg(PatternImage(64, 48), 90);
    DecodedImage decoded;
    for (size_t keep : {size_t{3}, size_t{20}, size_t{200}, good.size() / 2, good.size() - 2}) {
        EXPECT_EQ(DecodeBytes(Bytes(good.begin(), good.begin() + keep), &decoded), E_FAIL) << keep;
    }
    Bytes garbage{0xFF, 0xD8, 0xFF};
    garbage.insert(garbage.end(), 100, 0x17);
    EXPECT_EQ(DecodeBytes(garbage, &decoded), E_FAIL);
    EXPECT_EQ(DecodeBytes(good, &decoded, ImageLimits{63, 48}), D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeBytes(good, &decoded, ImageLimits{64, 47}), D3DXERR_INVALIDDATA);
}

}  // namespace
