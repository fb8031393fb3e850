// Small encoders that make image files for the decoder and loader tests, the benchmark and the
// fuzz corpus: BMP and bare DIB with every header field under the caller's control (so that
// tests can also make malformed ones), TGA, PPM, DDS, and PNG and JPEG through libpng and libjpeg.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// An image in memory: A8R8G8B8 values, top row first.
struct TestImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> argb;

    uint32_t At(uint32_t x, uint32_t y) const { return argb[y * width + x]; }
};

// A deterministic pattern of varied colours, opaque unless `withAlpha`.
TestImage PatternImage(uint32_t width, uint32_t height, bool withAlpha = false);

// Every field of a bitmap as written; the defaults make a valid 24-bit bottom-up file.
struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t headerSize = 40;
    uint32_t colorsUsed = 0;
    // Written inside a header of 52 bytes or more, else after the 40-byte header.
    std::vector<uint32_t> masks;
    std::vector<uint32_t> palette;  // 0x00RRGGBB entries
    Bytes pixels;                   // rows or RLE codes exactly as stored
    // When set, replace the computed file size and pixel offset.
    int64_t fileSizeOverride = -1;
};

Bytes AssembleBmp(const BmpLayout& layout);
Bytes AssembleDib(const BmpLayout& layout);

// Rows of a true-colour image for 16 (X1R5G5B5), 24 or 32 bits, padded to 4 bytes, bottom-up
// unless `topDown`.
Bytes PackBmpRows(const TestImage& image, uint16_t bitCount, bool topDown = false);
// Rows of packed masks: each pixel `pack(argb)` stored in bitCount / 8 little-endian bytes.
Bytes PackMaskedRows(const TestImage& image, uint16_t bitCount, const uint32_t masks[4]);
// Rows of 1-, 4- or 8-bit indices, padded to 4 bytes, bottom-up unless `topDown`.
Bytes PackIndexRows(const std::vector<uint8_t>& indices, uint32_t width, uint32_t height,
                    uint16_t bitCount, bool topDown = false);
// RLE8 or RLE4 codes (runs of equal indices), bottom-up, with end-of-line and end-of-bitmap.
Bytes EncodeRle(const std::vector<uint8_t>& indices, uint32_t width, uint32_t height, bool fourBit);
// A plain 24-bit bottom-up BMP of the image.
Bytes WriteBmp24(const TestImage& image);

struct TgaLayout {
    uint8_t imageType = 2;  // 1, 2, 3 raw; 9, 10, 11 run-length
    uint8_t depth = 24;
    uint8_t descriptor = 0;  // alpha bits, right-to-left (0x10), top-down (0x20)
    uint16_t colorMapFirst = 0;
    uint8_t colorMapDepth = 24;
    std::vector<uint32_t> colorMap;  // A8R8G8B8 entries, written at colorMapDepth
    std::string id;
};
// The image stored with `layout`; colour-mapped types store the index of each pixel's exact
// colour in colorMap (plus colorMapFirst); greyscale stores the blue channel (and alpha).
Bytes WriteTga(const TestImage& image, const TgaLayout& layout);

// P6 / P3 colour or P5 / P2 grey (the blue channel), samples scaled to `maxValue`.
Bytes WritePpm(const TestImage& image, bool binary, bool grey, uint32_t maxValue = 255,
               const std::string& comment = "");

// An uncompressed DDS with the given pixel-format flags, bit count and masks (R, G, B, A).
Bytes WriteDdsUncompressed(const TestImage& image, uint32_t flags, uint32_t bitCount,
                           const uint32_t masks[4]);
// A DDS of DXT blocks given as raw bytes.
Bytes WriteDdsBlocks(uint32_t width, uint32_t height, const char fourCc[4], const Bytes& blocks);

enum class PngKind { kRgb, kRgba, kGrey, kGreyAlpha, kPalette };
Bytes WritePng(const TestImage& image, PngKind kind, int bitDepth = 8, bool interlaced = false);
Bytes WriteJpeg(const TestImage& image, int quality = 95, bool grey = false,
                bool progressive = false);

bool WriteBytesToFile(const std::string& path, const Bytes& bytes);
