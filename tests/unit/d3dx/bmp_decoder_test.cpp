#include "d3dx/image/bmp_decoder.h"

#include <gtest/gtest.h>

#include "tests/support/image_decoding.h"

namespace {

const uint32_t kRle8 = 1;
const uint32_t kRle4 = 2;
const uint32_t kBitFields = 3;

// A palettised image: indices in a pattern over `colors` entries, and the palette.
struct IndexedImage {
    uint32_t width;
    uint32_t height;
    std::vector<uint8_t> indices;
    std::vector<uint32_t> palette;  // 0x00RRGGBB

    std::vector<uint32_t> Expected() const {
        std::vector<uint32_t> out;
        for (uint8_t i : indices) {
            out.push_back(0xFF000000u | palette[i]);
        }
        return out;
    }
};

IndexedImage MakeIndexed(uint32_t width, uint32_t height, uint32_t colors) {
    IndexedImage image{width, height, {}, {}};
    for (uint32_t i = 0; i < colors; ++i) {
        image.palette.push_back((i * 0x3B1D07u + 0x102030u) & 0xFFFFFF);
    }
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            // Runs of equal indices so that RLE has something to compress.
            image.indices.push_back(static_cast<uint8_t>(((x / 3) * 7 + y * 3) % colors));
        }
    }
    return image;
}

BmpLayout IndexedLayout(const IndexedImage& image, uint16_t bitCount, bool topDown = false) {
    BmpLayout layout;
    layout.width = static_cast<int32_t>(image.width);
    layout.height =
        static_cast<int32_t>(topDown ? -static_cast<int32_t>(image.height) : image.height);
    layout.bitCount = bitCount;
    layout.palette = image.palette;
    layout.colorsUsed = static_cast<uint32_t>(image.palette.size());
    layout.pixels = PackIndexRows(image.indices, image.width, image.height, bitCount, topDown);
    return layout;
}

BmpLayout TrueColorLayout(const TestImage& image, uint16_t bitCount, bool topDown = false) {
    BmpLayout layout;
    layout.width = static_cast<int32_t>(image.width);
    layout.height =
        topDown ? -static_cast<int32_t>(image.height) : static_cast<int32_t>(image.height);
    layout.bitCount = bitCount;
    layout.pixels = PackBmpRows(image, bitCount, topDown);
    return layout;
}

TEST(BmpDecoderTest, TrueColourRowsBottomUpAndTopDown) {
    const TestImage image = PatternImage(7, 5);
    for (bool topDown : {false, true}) {
        DecodedImage decoded;
        ASSERT_EQ(DecodeBytes(AssembleBmp(TrueColorLayout(image, 24, topDown)), &decoded), S_OK);
        EXPECT_EQ(decoded.width, 7u);
        EXPECT_EQ(decoded.height, 5u);
        EXPECT_EQ(decoded.format, D3DFMT_R8G8B8);
        EXPECT_EQ(decoded.fileFormat, D3DXIFF_BMP);
        EXPECT_EQ(DecodedPixels(decoded), image.argb) << "topDown " << topDown;
    }
}

TEST(BmpDecoderTest, ThirtyTwoBitIgnoresTheFourthByte) {
    const TestImage image = PatternImage(6, 4, true);
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(AssembleBmp(TrueColorLayout(image, 32)), &decoded), S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(DecodedPixels(decoded), Opaque(image));
}

TEST(BmpDecoderTest, SixteenBitReadsAsX1R5G5B5) {
    const TestImage image = PatternImage(5, 3, true);
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(AssembleBmp(TrueColorLayout(image, 16)), &decoded), S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_X1R5G5B5);
    EXPECT_EQ(DecodedPixels(decoded), ThroughFormat(image, 5, 5, 5, 0));
}

TEST(BmpDecoderTest, PalettesOfOneFourAndEightBits) {
    for (uint16_t bits : {1, 4, 8}) {
        const IndexedImage image = MakeIndexed(13, 6, bits == 8 ? 200u : (1u << bits));
        for (bool topDown : {false, true}) {
            DecodedImage decoded;
            ASSERT_EQ(DecodeBytes(AssembleBmp(IndexedLayout(image, bits, topDown)), &decoded),
                      S_OK);
            EXPECT_EQ(decoded.format, D3DFMT_P8);
            EXPECT_EQ(decoded.palette.size(), image.palette.size());
            EXPECT_EQ(DecodedPixels(decoded), image.Expected()) << bits << " bits";
        }
    }
}

TEST(BmpDecoderTest, ZeroColoursUsedMeansAFullPalette) {
    IndexedImage image = MakeIndexed(4, 2, 16);
    BmpLayout layout = IndexedLayout(image, 4);
    layout.colorsUsed = 0;
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), S_OK);
    EXPECT_EQ(decoded.palette.size(), 16u);
    EXPECT_EQ(DecodedPixels(decoded), image.Expected());
}

TEST(BmpDecoderTest, RunLengthEncodedEightAndFourBit) {
    for (bool fourBit : {false, true}) {
        const IndexedImage image = MakeIndexed(21, 7, fourBit ? 16 : 40);
        BmpLayout layout = IndexedLayout(image, fourBit ? 4 : 8);
        layout.compression = fourBit ? kRle4 : kRle8;
        layout.pixels = EncodeRle(image.indices, image.width, image.height, fourBit);
        DecodedImage decoded;
        ASSERT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), S_OK);
        EXPECT_EQ(DecodedPixels(decoded), image.Expected()) << "RLE4 " << fourBit;
    }
}

TEST(BmpDecoderTest, RunLengthAbsoluteStretchesDeltasAndAlternatingNibbles) {
    IndexedImage image = MakeIndexed(6, 3, 16);
    BmpLayout layout = IndexedLayout(image, 4);
    layout.compression = kRle4;
    // Bottom row: a run of 5 alternating 1,2 then one 3; then a delta 2 right, 1 up into the
    // middle row, an absolute stretch of 3 nibbles (4, 5, 6) padded to a word; then end.
    layout.pixels = {5, 0x12, 1, 0x33, 0, 0, 0, 2, 2, 0, 0, 3, 0x45, 0x60, 0, 1};
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), S_OK);
    const std::vector<uint8_t> expectedRows[3] = {
        {0, 0, 0, 0, 0, 0},  // top row: untouched, index 0
        {0, 0, 4, 5, 6, 0},
        {1, 2, 1, 2, 1, 3},
    };
    for (UINT y = 0; y < 3; ++y) {
        for (UINT x = 0; x < 6; ++x) {
            EXPECT_EQ(decoded.Pixel(x, y), 0xFF000000u | image.palette[expectedRows[y][x]])
                << x << "," << y;
        }
    }

    BmpLayout eight = IndexedLayout(MakeIndexed(5, 1, 9), 8);
    eight.compression = kRle8;
    eight.pixels = {0, 3, 7, 8, 1, 0, 2, 5, 0, 1};  // absolute 7 8 1, pad, run of two 5s
    ASSERT_EQ(DecodeBytes(AssembleBmp(eight), &decoded), S_OK);
    EXPECT_EQ(decoded.indices, (std::vector<uint8_t>{7, 8, 1, 5, 5}));
}

struct MaskCase {
    uint16_t bitCount;
    uint32_t masks[4];
    D3DFORMAT format;
    int bits[4];  // R, G, B, A precision
};

TEST(BmpDecoderTest, EveryKnownBitFieldMaskSet) {
    const MaskCase cases[] = {
        {16, {0xF800, 0x07E0, 0x001F, 0}, D3DFMT_R5G6B5, {5, 6, 5, 0}},
        {16, {0x7C00, 0x03E0, 0x001F, 0}, D3DFMT_X1R5G5B5, {5, 5, 5, 0}},
        {16, {0x7C00, 0x03E0, 0x001F, 0x8000}, D3DFMT_A1R5G5B5, {5, 5, 5, 1}},
        {16, {0x0F00, 0x00F0, 0x000F, 0}, D3DFMT_X4R4G4B4, {4, 4, 4, 0}},
        {16, {0x0F00, 0x00F0, 0x000F, 0xF000}, D3DFMT_A4R4G4B4, {4, 4, 4, 4}},
        {16, {0x00E0, 0x001C, 0x0003, 0xFF00}, D3DFMT_A8R3G3B2, {3, 3, 2, 8}},
        {24, {0xFF0000, 0x00FF00, 0x0000FF, 0}, D3DFMT_R8G8B8, {8, 8, 8, 0}},
        {32, {0xFF0000, 0x00FF00, 0x0000FF, 0}, D3DFMT_X8R8G8B8, {8, 8, 8, 0}},
        {32, {0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000}, D3DFMT_A8R8G8B8, {8, 8, 8, 8}},
        {32, {0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000}, D3DFMT_A2B10G10R10, {10, 10, 10, 2}},
    };
    const TestImage image = PatternImage(9, 4, true);
    for (const MaskCase& c : cases) {
        // Alpha masks live in headers of 56 bytes or more; the colour masks alone may follow a
        // 40-byte header.
        for (uint32_t headerSize : {40u, 56u, 108u, 124u}) {
            if (c.masks[3] != 0 && headerSize < 56) {
                continue;
            }
            BmpLayout layout = TrueColorLayout(image, c.bitCount);
            layout.compression = kBitFields;
            layout.headerSize = headerSize;
            layout.masks.assign(c.masks, c.masks + 4);
            if (headerSize == 40) {
                layout.masks.resize(3);
            }
            layout.pixels = PackMaskedRows(image, c.bitCount, c.masks);
            DecodedImage decoded;
            ASSERT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), S_OK)
                << c.format << " header " << headerSize;
            EXPECT_EQ(decoded.format, c.format);
            EXPECT_EQ(DecodedPixels(decoded),
                      ThroughFormat(image, c.bits[0], c.bits[1], c.bits[2], c.bits[3]))
                << c.format;
        }
    }
}

TEST(BmpDecoderTest, BitFieldsForLuminanceAndTwoChannels) {
    TestImage grey = PatternImage(4, 4, true);
    for (uint32_t& p : grey.argb) {
        const uint32_t l = p & 0xFF;
        p = (p & 0xFF000000u) | (l << 16) | (l << 8) | l;
    }
    BmpLayout layout = TrueColorLayout(grey, 16);
    layout.compression = kBitFields;
    layout.headerSize = 56;
    const uint32_t luminance[4] = {0xFF, 0xFF, 0xFF, 0xFF00};
    layout.masks.assign(luminance, luminance + 4);
    layout.pixels = PackMaskedRows(grey, 16, luminance);
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_A8L8);
    EXPECT_EQ(DecodedPixels(decoded), grey.argb);

    const TestImage image = PatternImage(3, 2);
    const uint32_t g16r16[4] = {0x0000FFFF, 0xFFFF0000, 0, 0};
    layout = TrueColorLayout(image, 32);
    layout.compression = kBitFields;
    layout.masks.assign(g16r16, g16r16 + 3);
    layout.pixels = PackMaskedRows(image, 32, g16r16);
    ASSERT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), S_OK);
    EXPECT_EQ(decoded.format, D3DFMT_G16R16);
    // No blue channel: it reads as full.
    EXPECT_EQ(decoded.Pixel(1, 1), image.At(1, 1) | 0xFF0000FFu);
}

TEST(BmpDecoderTest, BitFieldsOutsideTheKnownSetAreRefused) {
    const TestImage image = PatternImage(4, 2);
    BmpLayout layout = TrueColorLayout(image, 16);
    layout.compression = kBitFields;
    layout.masks = {0xF800, 0x07C0, 0x003F};  // 5:5:6 is not one of them
    DecodedImage decoded;
    EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), E_FAIL);
    layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};  // 32-bit masks on 16 bits
    EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), E_FAIL);
    layout.bitCount = 8;  // bit fields need 16, 24 or 32 bits
    EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), E_FAIL);
}

TEST(BmpDecoderTest, OtherCompressionsAreNotImplemented) {
    BmpLayout layout = TrueColorLayout(PatternImage(4, 4), 24);
    for (uint32_t compression : {4u, 5u, 6u, 11u, 0x7FFFFFFFu}) {
        layout.compression = compression;
        DecodedImage decoded;
        EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), E_NOTIMPL) << compression;
    }
}

TEST(BmpDecoderTest, MalformedHeadersAreRefused) {
    const BmpLayout good = TrueColorLayout(PatternImage(4, 4), 24);
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(AssembleBmp(good), &decoded), S_OK);

    std::vector<std::pair<std::string, BmpLayout>> cases;
    BmpLayout c = good;
    c.planes = 2;
    cases.push_back({"two planes", c});
    c = good;
    c.headerSize = 12;
    cases.push_back({"core header", c});
    c = good;
    c.width = 0;
    cases.push_back({"zero width", c});
    c = good;
    c.width = -4;
    cases.push_back({"negative width", c});
    c = good;
    c.height = 0;
    cases.push_back({"zero height", c});
    c = good;
    c.height = INT32_MIN;
    cases.push_back({"most negative height", c});
    c = good;
    c.bitCount = 7;
    cases.push_back({"seven bits", c});
    c = good;
    c.compression = kRle8;
    cases.push_back({"RLE8 at 24 bits", c});
    c = good;
    c.fileSizeOverride = 1000;
    cases.push_back({"shorter than its file header says", c});
    c = good;
    c.pixels.resize(c.pixels.size() - 1);
    cases.push_back({"truncated rows", c});
    for (const auto& [name, layout] : cases) {
        EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), E_FAIL) << name;
    }

    // Top-down rows are for uncompressed data only.
    const IndexedImage indexed = MakeIndexed(4, 2, 4);
    BmpLayout rle = IndexedLayout(indexed, 8);
    rle.compression = kRle8;
    rle.pixels = EncodeRle(indexed.indices, 4, 2, false);
    ASSERT_EQ(DecodeBytes(AssembleBmp(rle), &decoded), S_OK);
    rle.height = -2;
    EXPECT_EQ(DecodeBytes(AssembleBmp(rle), &decoded), E_FAIL);

    // More colours than the bit count can index.
    BmpLayout palette = IndexedLayout(MakeIndexed(4, 2, 16), 4);
    palette.colorsUsed = 17;
    EXPECT_EQ(DecodeBytes(AssembleBmp(palette), &decoded), E_FAIL);

    Bytes bytes = AssembleBmp(good);
    for (size_t cut : {size_t{0}, size_t{2}, size_t{13}, size_t{20}, size_t{53}}) {
        Bytes truncated(bytes.begin(), bytes.begin() + cut);
        if (cut >= 6) {
            truncated[2] = static_cast<uint8_t>(cut);  // keep the file size consistent
            truncated[3] = truncated[4] = truncated[5] = 0;
        }
        const HRESULT result = DecodeBytes(truncated, &decoded);
        EXPECT_TRUE(result == E_FAIL || result == D3DXERR_INVALIDDATA) << cut;
    }
}

TEST(BmpDecoderTest, PaletteIndicesPastThePaletteAreRefused) {
    IndexedImage image = MakeIndexed(4, 2, 6);
    image.indices[5] = 6;
    DecodedImage decoded;
    EXPECT_EQ(DecodeBytes(AssembleBmp(IndexedLayout(image, 8)), &decoded), E_FAIL);
    EXPECT_EQ(DecodeBytes(AssembleBmp(IndexedLayout(image, 4)), &decoded), E_FAIL);

    BmpLayout rle = IndexedLayout(image, 8);
    rle.compression = kRle8;
    rle.pixels = EncodeRle(image.indices, 4, 2, false);
    EXPECT_EQ(DecodeBytes(AssembleBmp(rle), &decoded), E_FAIL);
}

TEST(BmpDecoderTest, RunLengthStreamsThatLeaveTheImageAreRefused) {
    const IndexedImage image = MakeIndexed(4, 2, 4);
    const std::pair<const char*, Bytes> cases[] = {
        {"run past the row", {5, 1, 0, 1}},
        {"run past the last row", {4, 1, 0, 0, 4, 1, 0, 0, 1, 1, 0, 1}},
        {"absolute past the row", {2, 1, 0, 3, 1, 2, 3, 0, 0, 1}},
        {"delta past the right edge", {0, 2, 5, 0, 0, 1}},
        {"delta past the top", {0, 2, 0, 2, 0, 1}},
        {"no end of bitmap", {4, 1, 0, 0}},
        {"truncated absolute stretch", {0, 4, 1, 2}},
        {"truncated delta", {0, 2, 1}},
        {"empty", {}},
    };
    for (const auto& [name, codes] : cases) {
        BmpLayout layout = IndexedLayout(image, 8);
        layout.compression = kRle8;
        layout.pixels = codes;
        DecodedImage decoded;
        EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), E_FAIL) << name;
    }
    BmpLayout four = IndexedLayout(image, 4);
    four.compression = kRle4;
    four.pixels = {0, 5, 0x12, 0x30, 0, 1};  // five nibbles into a row of four
    DecodedImage decoded;
    EXPECT_EQ(DecodeBytes(AssembleBmp(four), &decoded), E_FAIL);
}

TEST(BmpDecoderTest, ImagesBeyondTheLimitsAreRefusedBeforeAllocating) {
    BmpLayout layout = TrueColorLayout(PatternImage(4, 4), 24);
    DecodedImage decoded;
    EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded, ImageLimits{3, 4}), D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded, ImageLimits{4, 3}), D3DXERR_INVALIDDATA);
    // Sizes whose products overflow: refused by the limit, never allocated.
    layout.width = 0x7FFFFFFF;
    layout.height = -0x7FFFFFFF;
    EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded), D3DXERR_INVALIDDATA);
    EXPECT_EQ(DecodeBytes(AssembleBmp(layout), &decoded, ImageLimits{0xFFFFFFFF, 0xFFFFFFFF}),
              E_FAIL);
}

TEST(BmpDecoderTest, BareDibsDecodeLikeBitmaps) {
    const TestImage image = PatternImage(5, 3);
    DecodedImage decoded;
    ASSERT_EQ(DecodeBytes(AssembleDib(TrueColorLayout(image, 24)), &decoded), S_OK);
    EXPECT_EQ(decoded.fileFormat, D3DXIFF_DIB);
    EXPECT_EQ(DecodedPixels(decoded), image.argb);

    const IndexedImage indexed = MakeIndexed(9, 3, 5);
    ASSERT_EQ(DecodeBytes(AssembleDib(IndexedLayout(indexed, 8)), &decoded), S_OK);
    EXPECT_EQ(DecodedPixels(decoded), indexed.Expected());

    BmpLayout fields = TrueColorLayout(image, 16);
    fields.compression = kBitFields;
    const uint32_t masks[4] = {0xF800, 0x07E0, 0x001F, 0};
    fields.masks.assign(masks, masks + 3);
    fields.pixels = PackMaskedRows(image, 16, masks);
    ASSERT_EQ(DecodeBytes(AssembleDib(fields), &decoded), S_OK);
    EXPECT_EQ(DecodedPixels(decoded), ThroughFormat(image, 5, 6, 5, 0));

    BmpLayout twoPlanes = TrueColorLayout(image, 24);
    twoPlanes.planes = 2;
    EXPECT_EQ(DecodeBytes(AssembleDib(twoPlanes), &decoded), D3DXERR_INVALIDDATA);
}

}  // namespace
