#include "d3dx/image/image_decoder.h"

#include <gtest/gtest.h>

#include "tests/support/image_decoding.h"

namespace {

TEST(ImageDecoderTest, FormatsAreRecognisedByContent) {
    const TestImage image = PatternImage(8, 8);
    const uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0};
    BmpLayout dib;
    dib.width = 8;
    dib.height = 8;
    dib.pixels = PackBmpRows(image, 24);
    const std::pair<Bytes, D3DXIMAGE_FILEFORMAT> files[] = {
        {WriteBmp24(image), D3DXIFF_BMP},
        {WritePpm(image, true, false), D3DXIFF_PPM},
        {WriteDdsUncompressed(image, 0x40, 32, masks), D3DXIFF_DDS},
        {WriteJpeg(image), D3DXIFF_JPG},
        {WritePng(image, PngKind::kRgb), D3DXIFF_PNG},
        {WriteTga(image, TgaLayout{}), D3DXIFF_TGA},
        {AssembleDib(dib), D3DXIFF_DIB},
    };
    for (const auto& [bytes, format] : files) {
        DecodedImage decoded;
        ASSERT_EQ(DecodeBytes(bytes, &decoded), S_OK) << format;
        EXPECT_EQ(decoded.fileFormat, format);
        EXPECT_EQ(decoded.width, 8u);
    }
}

TEST(ImageDecoderTest, UnrecognisedDataIsInvalid) {
    DecodedImage decoded;
    const std::string text = "not an image at all, just some text";
    EXPECT_EQ(DecodeBytes(Bytes(text.begin(), text.end()), &decoded), D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeBytes(Bytes(), &decoded), D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeImage(nullptr, 0, kTestImageLimits, &decoded), D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeBytes(Bytes{0x89, 'P', 'N'}, &decoded), D3DXERR_INVALIDDATA);
}

TEST(ImageDecoderTest, TheFirstDecoderToRecogniseTheDataDecides) {
    // "BM" claims the data for the bitmap decoder, even when the rest is a PNG.
    Bytes png = WritePng(PatternImage(2, 2), PngKind::kRgb);
    Bytes claimed{'B', 'M'};
    claimed.insert(claimed.end(), png.begin(), png.end());
    DecodedImage decoded;
    EXPECT_EQ(DecodeBytes(claimed, &decoded), E_FAIL);
    EXPECT_EQ(decoded.width, 0u);
}

}  // namespace
