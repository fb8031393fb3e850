#include "platform/system_image_codecs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

typedef std::vector<uint8_t> Bytes;

// A PNG writer for the tests, with the image data in stored (uncompressed) deflate blocks, so
// that any colour type, depth and interlacing can be made without a compression library.
class PngWriter {
public:
    enum ColourType { kGrey = 0, kRgb = 2, kPalette = 3, kGreyAlpha = 4, kRgba = 6 };

    // `argb` holds width x height A8R8G8B8 pixels; greys are taken from the blue channel, palette
    // images index `palette` with the low byte of each pixel.
    static Bytes Write(UINT width, UINT height, const std::vector<uint32_t>& argb, ColourType type,
                       int depth, bool interlaced, const std::vector<uint32_t>& palette = {},
                       bool transparency = false) {
        Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        Bytes header;
        Put32(&header, width);
        Put32(&header, height);
        header.push_back(static_cast<uint8_t>(depth));
        header.push_back(static_cast<uint8_t>(type));
        header.push_back(0);
        header.push_back(0);
        header.push_back(interlaced ? 1 : 0);
        Chunk(&file, "IHDR", header);
        if (type == kPalette) {
            Bytes entries;
            Bytes alphas;
            for (uint32_t p : palette) {
                entries.push_back(static_cast<uint8_t>(p >> 16));
                entries.push_back(static_cast<uint8_t>(p >> 8));
                entries.push_back(static_cast<uint8_t>(p));
                alphas.push_back(static_cast<uint8_t>(p >> 24));
            }
            Chunk(&file, "PLTE", entries);
            if (transparency) {
                Chunk(&file, "tRNS", alphas);
            }
        }
        Bytes raw;
        if (interlaced) {
            static const UINT passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8},
                                              {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2},
                                              {0, 1, 1, 2}};
            for (const auto& pass : passes) {
                if (pass[0] >= width || pass[1] >= height) {
                    continue;  // an empty pass has no rows at all
                }
                for (UINT y = pass[1]; y < height; y += pass[3]) {
                    raw.push_back(0);
                    for (UINT x = pass[0]; x < width; x += pass[2]) {
                        Sample(&raw, argb[y * width + x], type, depth);
                    }
                }
            }
        } else {
            for (UINT y = 0; y < height; ++y) {
                raw.push_back(0);
                for (UINT x = 0; x < width; ++x) {
                    Sample(&raw, argb[y * width + x], type, depth);
                }
            }
        }
        Chunk(&file, "IDAT", StoredZlib(raw));
        Chunk(&file, "IEND", {});
        return file;
    }

private:
    static void Put32(Bytes* out, uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            out->push_back(static_cast<uint8_t>(value >> shift));
        }
    }
    static void Channel(Bytes* out, uint32_t value8, int depth) {
        out->push_back(static_cast<uint8_t>(value8));
        if (depth == 16) {
            out->push_back(static_cast<uint8_t>(value8));  // v * 257: the same byte twice
        }
    }
    static void Sample(Bytes* out, uint32_t p, ColourType type, int depth) {
        const uint32_t a = p >> 24, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        switch (type) {
            case kGrey:
                Channel(out, b, depth);
                break;
            case kGreyAlpha:
                Channel(out, b, depth);
                Channel(out, a, depth);
                break;
            case kRgb:
                Channel(out, r, depth);
                Channel(out, g, depth);
                Channel(out, b, depth);
                break;
            case kRgba:
                Channel(out, r, depth);
                Channel(out, g, depth);
                Channel(out, b, depth);
                Channel(out, a, depth);
                break;
            case kPalette:
                out->push_back(static_cast<uint8_t>(b));
                break;
        }
    }
    static uint32_t Crc(const uint8_t* data, size_t size, uint32_t crc = 0xFFFFFFFFu) {
        for (size_t i = 0; i < size; ++i) {
            crc ^= data[i];
            for (int k = 0; k < 8; ++k) {
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
            }
        }
        return crc;
    }
    static void Chunk(Bytes* file, const char* type, const Bytes& data) {
        Put32(file, static_cast<uint32_t>(data.size()));
        Bytes typed(type, type + 4);
        typed.insert(typed.end(), data.begin(), data.end());
        file->insert(file->end(), typed.begin(), typed.end());
        Put32(file, Crc(typed.data(), typed.size()) ^ 0xFFFFFFFFu);
    }
    static Bytes StoredZlib(const Bytes& raw) {
        Bytes out = {0x78, 0x01};
        size_t at = 0;
        do {
            const size_t length = std::min<size_t>(raw.size() - at, 65535);
            out.push_back(at + length == raw.size() ? 1 : 0);
            out.push_back(static_cast<uint8_t>(length));
            out.push_back(static_cast<uint8_t>(length >> 8));
            out.push_back(static_cast<uint8_t>(~length));
            out.push_back(static_cast<uint8_t>(~length >> 8));
            out.insert(out.end(), raw.begin() + at, raw.begin() + at + length);
            at += length;
        } while (at < raw.size());
        uint32_t a = 1, b = 0;
        for (uint8_t byte : raw) {
            a = (a + byte) % 65521;
            b = (b + a) % 65521;
        }
        Put32(&out, b << 16 | a);
        return out;
    }
};

// 11 x 5 pixels of every kind of value, alpha included (odd sizes leave partial interlace passes).
std::vector<uint32_t> Pattern() {
    std::vector<uint32_t> argb;
    for (uint32_t y = 0; y < 5; ++y) {
        for (uint32_t x = 0; x < 11; ++x) {
            const uint32_t i = y * 11 + x;
            argb.push_back((i * 37 % 256) << 24 | (x * 23) << 16 | (y * 61) << 8 | (i * 97 % 256));
        }
    }
    return argb;
}

std::vector<uint32_t> Opaque(std::vector<uint32_t> argb) {
    for (uint32_t& p : argb) {
        p |= 0xFF000000u;
    }
    return argb;
}

std::vector<uint32_t> Greys(std::vector<uint32_t> argb, bool withAlpha) {
    for (uint32_t& p : argb) {
        const uint32_t l = p & 0xFF;
        p = (withAlpha ? p & 0xFF000000u : 0xFF000000u) | l << 16 | l << 8 | l;
    }
    return argb;
}

const UINT kLimit = 4096;

HRESULT DecodePng(const Bytes& file, SystemImage* image, UINT maxWidth = kLimit,
                  UINT maxHeight = kLimit) {
    return DecodePngImage(file.data(), file.size(), maxWidth, maxHeight, image);
}

HRESULT DecodeJpeg(const uint8_t* data, size_t size, SystemImage* image, UINT maxWidth = kLimit,
                   UINT maxHeight = kLimit) {
    return DecodeJpegImage(data, size, maxWidth, maxHeight, image);
}

TEST(WicPngTest, EveryColourTypeAndDepthInterlacedOrNot) {
    const std::vector<uint32_t> image = Pattern();
    struct Case {
        PngWriter::ColourType type;
        int depth;
        bool alpha;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {PngWriter::kRgb, 8, false, Opaque(image)},
        {PngWriter::kRgba, 8, true, image},
        {PngWriter::kRgb, 16, false, Opaque(image)},
        {PngWriter::kRgba, 16, true, image},
        {PngWriter::kGrey, 8, false, Greys(image, false)},
        {PngWriter::kGreyAlpha, 8, true, Greys(image, true)},
    };
    for (const Case& c : cases) {
        for (bool interlaced : {false, true}) {
            SystemImage decoded;
            ASSERT_EQ(
                DecodePng(PngWriter::Write(11, 5, image, c.type, c.depth, interlaced), &decoded),
                S_OK);
            EXPECT_EQ(decoded.hasAlpha, c.alpha);
            EXPECT_EQ(decoded.width, 11u);
            EXPECT_EQ(decoded.height, 5u);
            EXPECT_EQ(decoded.pixels, c.expected)
                << "colour type " << c.type << " depth " << c.depth << " interlaced " << interlaced;
        }
    }
}

TEST(WicPngTest, APaletteCarriesAlphaOnlyWithATransparencyChunk) {
    const std::vector<uint32_t> palette = {0xFF102030, 0x80405060, 0x00000000, 0xFFFFFFFF};
    const std::vector<uint32_t> indices = {0, 1, 2, 3, 3, 2, 1, 0};
    std::vector<uint32_t> expected;
    for (uint32_t i : indices) {
        expected.push_back(palette[i]);
    }
    SystemImage decoded;
    ASSERT_EQ(
        DecodePng(PngWriter::Write(4, 2, indices, PngWriter::kPalette, 8, false, palette, true),
                  &decoded),
        S_OK);
    EXPECT_TRUE(decoded.hasAlpha);
    EXPECT_EQ(decoded.pixels, expected);

    ASSERT_EQ(
        DecodePng(PngWriter::Write(4, 2, indices, PngWriter::kPalette, 8, false, palette, false),
                  &decoded),
        S_OK);
    EXPECT_FALSE(decoded.hasAlpha);
    EXPECT_EQ(decoded.pixels, Opaque(expected));
}

TEST(WicPngTest, DamagedFilesFail) {
    std::vector<uint32_t> big(40 * 30);
    for (size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<uint32_t>(i * 2654435761u);
    }
    const Bytes good = PngWriter::Write(40, 30, big, PngWriter::kRgb, 8, false);
    SystemImage decoded;
    ASSERT_EQ(DecodePng(good, &decoded), S_OK);
    for (size_t keep : {size_t{8}, size_t{20}, size_t{40}, good.size() / 2, good.size() - 20}) {
        SystemImage cut;
        EXPECT_EQ(DecodePng(Bytes(good.begin(), good.begin() + keep), &cut), E_FAIL) << keep;
    }
    Bytes corrupt = good;
    corrupt[good.size() / 2] ^= 0x55;  // inside the image data: the chunk's CRC no longer matches
    EXPECT_EQ(DecodePng(corrupt, &decoded), E_FAIL);
    // A PNG is not a JPEG.
    EXPECT_EQ(DecodeJpeg(good.data(), good.size(), &decoded), E_FAIL);
}

TEST(WicPngTest, OversizedImagesAreRefusedBeforeAnyPixelIsAllocated) {
    const Bytes file = PngWriter::Write(11, 5, Pattern(), PngWriter::kRgba, 8, false);
    SystemImage decoded;
    EXPECT_EQ(DecodePng(file, &decoded, 10, 5), kSystemImageTooLarge);
    EXPECT_EQ(DecodePng(file, &decoded, 11, 4), kSystemImageTooLarge);
    EXPECT_EQ(decoded.width, 0u);
    EXPECT_TRUE(decoded.pixels.empty());
    EXPECT_EQ(DecodePng(file, &decoded, 11, 5), S_OK);
}

// 16 x 8 pixels, red x * 16, green y * 30, blue 128 + x * 4; quality 95, no chroma subsampling.
const uint8_t kGradientJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0B, 0x08, 0x09, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x06, 0x08,
    0x0B, 0x0C, 0x0B, 0x0A, 0x0C, 0x09, 0x0A, 0x0A, 0x0A, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0A, 0x07, 0x06, 0x07, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0xFF, 0xC0,
    0x00, 0x11, 0x08, 0x00, 0x08, 0x00, 0x10, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0xFF, 0xC4, 0x00, 0x1A, 0x10, 0x00, 0x00, 0x07, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x09, 0x26,
    0x33, 0x43, 0x51, 0xFF, 0xC4, 0x00, 0x16, 0x01, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x05, 0x08, 0xFF, 0xC4, 0x00, 0x1A, 0x11,
    0x00, 0x02, 0x02, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x07, 0x03, 0xA1, 0x23, 0x32, 0x63, 0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11,
    0x03, 0x11, 0x00, 0x3F, 0x00, 0x3C, 0x94, 0x09, 0x7D, 0x13, 0x77, 0x2A, 0x0D, 0x73, 0x36, 0xFA,
    0x58, 0x22, 0xB9, 0x79, 0x69, 0x96, 0xC5, 0x41, 0x40, 0x97, 0xD1, 0x37, 0xB2, 0xA1, 0x26, 0x66,
    0xDF, 0x4B, 0x37, 0xB2, 0xE5, 0xE5, 0xA6, 0x5B, 0x3F, 0xFF, 0xD9,
};

TEST(WicJpegTest, DecodesCloseToTheSourceAndOpaque) {
    SystemImage decoded;
    ASSERT_EQ(DecodeJpeg(kGradientJpeg, sizeof(kGradientJpeg), &decoded), S_OK);
    EXPECT_FALSE(decoded.hasAlpha);
    ASSERT_EQ(decoded.width, 16u);
    ASSERT_EQ(decoded.height, 8u);
    int worst = 0;
    for (UINT y = 0; y < 8; ++y) {
        for (UINT x = 0; x < 16; ++x) {
            const uint32_t got = decoded.pixels[y * 16 + x];
            EXPECT_EQ(got >> 24, 0xFFu);
            const int want[3] = {static_cast<int>(x * 16), static_cast<int>(y * 30),
                                 static_cast<int>(128 + x * 4)};
            for (int c = 0; c < 3; ++c) {
                const int channel = static_cast<int>((got >> (16 - 8 * c)) & 0xFF);
                worst = std::max(worst, std::abs(channel - want[c]));
            }
        }
    }
    EXPECT_LE(worst, 8);
}

TEST(WicJpegTest, DamagedAndOversizedFilesFail) {
    SystemImage decoded;
    for (size_t keep : {size_t{3}, size_t{20}, size_t{100}}) {
        EXPECT_EQ(DecodeJpeg(kGradientJpeg, keep, &decoded), E_FAIL) << keep;
    }
    Bytes garbage = {0xFF, 0xD8, 0xFF};
    garbage.insert(garbage.end(), 100, 0x17);
    EXPECT_EQ(DecodeJpeg(garbage.data(), garbage.size(), &decoded), E_FAIL);
    EXPECT_EQ(DecodeJpeg(kGradientJpeg, sizeof(kGradientJpeg), &decoded, 15, 8),
              kSystemImageTooLarge);
    EXPECT_EQ(DecodeJpeg(kGradientJpeg, sizeof(kGradientJpeg), &decoded, 16, 7),
              kSystemImageTooLarge);
    EXPECT_EQ(decoded.width, 0u);
}

}  // namespace
