#include "d3dx/image/ppm_decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/image_decoding.h"

namespace {

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::vector<uint32_t> ThroughMaximum(const TestImage& image, uint32_t maxValue, bool grey) {
    auto through = [&](uint32_t v) {
        const uint32_t sample = (v * maxValue + 127) / 255;
        return (sample * 255 + maxValue / 2) / maxValue;
    };
    std::vector<uint32_t> out;
    for (uint32_t p : image.argb) {
        if (grey) {
            const uint32_t l = through(p & 0xFF);
            out.push_back(0xFF000000u | (l << 16) | (l << 8) | l);
        } else {
            out.push_back(0xFF000000u | (through((p >> 16) & 0xFF) << 16) |
                          (through((p >> 8) & 0xFF) << 8) | through(p & 0xFF));
        }
    }
    return out;
}

TEST(PpmDecoderTest, BinaryAndPlainColourAndGrey) {
    const TestImage image = PatternImage(6, 4);
    for (bool binary : {true, false}) {
        for (bool grey : {false, true}) {
            DecodedImage decoded;
            ASSERT_EQ(
                DecodeBytes(WritePpm(image, binary, grey, 255, "made by the tests"), &decoded),
                S_OK);
            EXPECT_EQ(decoded.format, grey ? D3DFMT_L8 : D3DFMT_X8R8G8B8);
            EXPECT_EQ(decoded.fileFormat, D3DXIFF_PPM);
            EXPECT_EQ(DecodedPixels(decoded), ThroughMaximum(image, 255, grey))
                << "binary " << binary << " grey " << grey;
        }
    }
}

TEST(PpmDecoderTest, SixteenBitAndOddMaximumValues) {
    const TestImage image = PatternImage(5, 3);
    for (uint32_t maxValue : {1u, 15u, 1000u, 65535u}) {
        for (bool binary : {true, false}) {
            DecodedImage decoded;
            ASSERT_EQ(DecodeBytes(WritePpm(image, binary, false, maxValue), &decoded), S_OK);
            EXPECT_EQ(DecodedPixels(decoded), ThroughMaximum(image, maxValue, false))
                << maxValue << " binary " << binary;
        }
    }
}

TEST(PpmDecoderTest, CommentsAnywhereInTheHeader) {
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(Text("P3#c\n2#w\n 1 # h\n255\n255 0 0  0 0 255"), &decoded), S_OK);
    EXPECT_EQ(DecodedPixels(decoded), (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));
}

TEST(PpmDecoderTest, MalformedFilesFail) {
    const std::pair<const char*, std::string> cases[] = {
        {"maximum 0", "P3 1 1 0 0 0 0"},
        {"maximum past 16 bits", "P3 1 1 65536 0 0 0"},
        {"zero width", "P3 0 1 255 "},
        {"missing sample", "P3 2 1 255 1 2 3 4 5"},
        {"sample past the maximum", "P3 1 1 100 1 2 101"},
        {"not a number", "P3 1 1 255 1 x 3"},
        {"no height", "P6 4"},
        {"width overflows", "P6 99999999999 1 255 "},
        {"truncated raster", "P6 2 1 255 abcde"},
        {"no separator before the raster", "P6 1 1 255"},
    };
    for (const auto& [name, text] : cases) {
        DecodedImage decoded;
        EXPECT_EQ(DecodeBytes(Text(text), &decoded), E_FAIL) << name;
    }
    const Bytes binary16 = WritePpm(PatternImage(2, 2), true, false, 65535);
    DecodedImage decoded;
    EXPECT_EQ(DecodeBytes(Bytes(binary16.begin(), binary16.end() - 1), &decoded), E_FAIL);
    const Bytes sampleTooBig = Text("P5 1 1 200\n\xC9");
    EXPECT_EQ(DecodeBytes(sampleTooBig, &decoded), E_FAIL);
    EXPECT_EQ(DecodeBytes(Text("P6 5000 1 255\n"), &decoded), D3DXERR_INVALIDDATA);
}

TEST(PpmDecoderTest, BitmapsAndOtherMagicNumbersAreNotPpm) {
    for (const char* text : {"P1 1 1 1", "P4 1 1 x", "P7 1 1", "P6"}) {
        DecodedImage decoded;
        EXPECT_EQ(DecodeBytes(Text(text), &decoded), D3DXERR_INVALIDDATA) << text;
    }
}

}  // namespace
