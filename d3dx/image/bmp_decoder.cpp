#include "d3dx/image/bmp_decoder.h"

#include <utility>

#include "d3dx/image/bit_field_layout.h"
#include "d3dx/image/byte_cursor.h"
#include "platform/safe_size.h"

namespace {

const size_t kFileHeaderSize = 14;
const uint32_t kSmallestInfoHeader = 40;
// Header sizes a bare DIB may start with: BITMAPINFOHEADER, its V2 and V3 extensions with the
// masks inside, the OS/2 2.x header, BITMAPV4HEADER and BITMAPV5HEADER.
const uint32_t kDibHeaderSizes[] = {40, 52, 56, 64, 108, 124};

const uint32_t kCompressionNone = 0;
const uint32_t kCompressionRle8 = 1;
const uint32_t kCompressionRle4 = 2;
const uint32_t kCompressionBitFields = 3;

struct InfoHeader {
    uint32_t headerSize;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t colorsUsed;
};

InfoHeader ReadInfoHeader(const uint8_t* p) {
    InfoHeader header;
    header.headerSize = ReadLe32(p);
    header.width = static_cast<int32_t>(ReadLe32(p + 4));
    header.height = static_cast<int32_t>(ReadLe32(p + 8));
    header.planes = ReadLe16(p + 12);
    header.bitCount = ReadLe16(p + 14);
    header.compression = ReadLe32(p + 16);
    header.colorsUsed = ReadLe32(p + 32);
    return header;
}

bool BitCountFitsCompression(uint16_t bitCount, uint32_t compression) {
    switch (compression) {
        case kCompressionNone:
            return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                   bitCount == 24 || bitCount == 32;
        case kCompressionRle8:
            return bitCount == 8;
        case kCompressionRle4:
            return bitCount == 4;
        default:
            return bitCount == 16 || bitCount == 24 || bitCount == 32;
    }
}

// Bytes per stored row: whole 32-bit words.
size_t RowStride(UINT width, uint16_t bitCount) {
    return (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
}

// Where the pixel rows sit, and how to read them.
struct PixelSource {
    const uint8_t* bytes;
    size_t size;
};

HRESULT DecodeUncompressed(const InfoHeader& header, const PixelSource& source,
                           const BitFieldLayout& layout, bool topDown, DecodedImage* image) {
    const UINT width = image->width;
    const UINT height = image->height;
    const size_t stride = RowStride(width, header.bitCount);
    const size_t paletteSize = image->palette.size();
    for (UINT row = 0; row < height; ++row) {
        const uint8_t* src = source.bytes + row * stride;
        const UINT y = topDown ? row : height - 1 - row;
        if (header.bitCount <= 8) {
            uint8_t* out = image->IndexRow(y);
            const unsigned bits = header.bitCount;
            const unsigned perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (UINT x = 0; x < width; ++x) {
                const unsigned shift = 8 - bits * (x % perByte + 1);
                const uint8_t index = static_cast<uint8_t>((src[x / perByte] >> shift) & mask);
                if (index >= paletteSize) {
                    return E_FAIL;
                }
                out[x] = index;
            }
            continue;
        }
        uint32_t* out = image->PixelRow(y);
        switch (header.bitCount) {
            case 16:
                for (UINT x = 0; x < width; ++x) {
                    out[x] = layout.ToArgb(ReadLe16(src + 2 * x));
                }
                break;
            case 24:
                if (header.compression == kCompressionNone) {
                    for (UINT x = 0; x < width; ++x) {
                        out[x] = 0xFF000000u | ReadLe24(src + 3 * x);
                    }
                    break;
                }
                for (UINT x = 0; x < width; ++x) {
                    out[x] = layout.ToArgb(ReadLe24(src + 3 * x));
                }
                break;
            default:
                if (header.compression == kCompressionNone) {
                    // Blue, green, red and an unused byte: the common case, read directly.
                    for (UINT x = 0; x < width; ++x) {
                        out[x] = 0xFF000000u | ReadLe24(src + 4 * x);
                    }
                    break;
                }
                for (UINT x = 0; x < width; ++x) {
                    out[x] = layout.ToArgb(ReadLe32(src + 4 * x));
                }
                break;
        }
    }
    return S_OK;
}

// Run-length encoded rows, bottom-up: runs of one index (RLE8) or of two alternating indices
// (RLE4), absolute stretches, end of line, delta and end of bitmap. Pixels the stream skips keep
// index 0. Anything that would leave the image, or a stream without its end, is malformed.
HRESULT DecodeRunLength(const InfoHeader& header, const PixelSource& source, DecodedImage* image) {
    const bool fourBit = header.compression == kCompressionRle4;
    const UINT width = image->width;
    const UINT height = image->height;
    const size_t paletteSize = image->palette.size();
    ByteCursor cursor(source.bytes, source.size);
    UINT x = 0;
    UINT row = 0;

    auto put = [&](uint8_t index) { image->IndexRow(height - 1 - row)[x++] = index; };
    auto validIndex = [&](unsigned index) { return index < paletteSize; };

    for (;;) {
        uint8_t count = 0;
        uint8_t value = 0;
        if (!cursor.ReadByte(&count) || !cursor.ReadByte(&value)) {
            return E_FAIL;
        }
        if (count > 0) {
            if (row >= height || count > width - x) {
                return E_FAIL;
            }
            if (fourBit) {
                const uint8_t high = value >> 4;
                const uint8_t low = value & 0x0F;
                if (!validIndex(high) || (count > 1 && !validIndex(low))) {
                    return E_FAIL;
                }
                for (unsigned i = 0; i < count; ++i) {
                    put(i % 2 == 0 ? high : low);
                }
            } else {
                if (!validIndex(value)) {
                    return E_FAIL;
                }
                for (unsigned i = 0; i < count; ++i) {
                    put(value);
                }
            }
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                ++row;
                break;
            case 1:  // end of bitmap
                return S_OK;
            case 2: {  // delta: move right and up
                uint8_t dx = 0;
                uint8_t dy = 0;
                if (!cursor.ReadByte(&dx) || !cursor.ReadByte(&dy)) {
                    return E_FAIL;
                }
                if (dx > width - x || dy >= height - row) {
                    return E_FAIL;
                }
                x += dx;
                row += dy;
                break;
            }
            default: {  // an absolute stretch of `value` indices, padded to a 16-bit boundary
                const unsigned length = value;
                const size_t bytes = fourBit ? (length + 1) / 2 : length;
                const uint8_t* stretch = nullptr;
                if (row >= height || length > width - x || !cursor.Take(bytes, &stretch) ||
                    !cursor.Skip(bytes % 2)) {
                    return E_FAIL;
                }
                for (unsigned i = 0; i < length; ++i) {
                    const uint8_t index =
                        fourBit ? ((i % 2 == 0) ? stretch[i / 2] >> 4 : stretch[i / 2] & 0x0F)
                                : stretch[i];
                    if (!validIndex(index)) {
                        return E_FAIL;
                    }
                    put(index);
                }
                break;
            }
        }
    }
}

// Decodes from the info header at `infoOffset`. `pixelOffset` is the file header's offset to the
// pixels, or 0 for a bare DIB whose pixels follow its palette.
HRESULT DecodeBitmap(const uint8_t* data, size_t size, size_t infoOffset, size_t pixelOffset,
                     const ImageLimits& limits, DecodedImage* image) {
    if (size < infoOffset || size - infoOffset < kSmallestInfoHeader) {
        return E_FAIL;
    }
    const InfoHeader header = ReadInfoHeader(data + infoOffset);
    if (header.headerSize < kSmallestInfoHeader || header.headerSize > size - infoOffset ||
        header.planes != 1) {
        return E_FAIL;
    }
    if (header.compression != kCompressionNone && header.compression != kCompressionRle8 &&
        header.compression != kCompressionRle4 && header.compression != kCompressionBitFields) {
        return E_NOTIMPL;
    }
    const bool runLength =
        header.compression == kCompressionRle8 || header.compression == kCompressionRle4;
    if (!BitCountFitsCompression(header.bitCount, header.compression) || header.width <= 0 ||
        header.height == 0 || header.height == INT32_MIN) {
        return E_FAIL;
    }
    const bool topDown = header.height < 0;
    if (topDown && runLength) {
        return E_FAIL;
    }
    const UINT width = static_cast<UINT>(header.width);
    const UINT height = static_cast<UINT>(topDown ? -header.height : header.height);
    if (width > limits.maxWidth || height > limits.maxHeight) {
        return D3DXERR_INVALIDDATA;
    }

    size_t tableOffset = infoOffset + header.headerSize;
    ChannelMasks masks{};
    D3DFORMAT format = D3DFMT_UNKNOWN;
    if (header.compression == kCompressionBitFields) {
        // Headers of 52 bytes and more hold the masks; the three colour masks follow a shorter
        // one.
        const uint8_t* maskBytes = data + infoOffset + kSmallestInfoHeader;
        if (header.headerSize < 52) {
            if (size - tableOffset < 12) {
                return E_FAIL;
            }
            maskBytes = data + tableOffset;
            tableOffset += 12;
        }
        masks.red = ReadLe32(maskBytes);
        masks.green = ReadLe32(maskBytes + 4);
        masks.blue = ReadLe32(maskBytes + 8);
        masks.alpha = header.headerSize >= 56 ? ReadLe32(maskBytes + 12) : 0;
        format = FormatOfMasks(header.bitCount, masks);
        if (format == D3DFMT_UNKNOWN) {
            return E_FAIL;
        }
    } else if (header.bitCount == 16) {
        masks = ChannelMasks{0x7C00, 0x03E0, 0x001F, 0};
        format = D3DFMT_X1R5G5B5;
    } else if (header.bitCount == 24) {
        masks = ChannelMasks{0xFF0000, 0x00FF00, 0x0000FF, 0};
        format = D3DFMT_R8G8B8;
    } else if (header.bitCount == 32) {
        masks = ChannelMasks{0xFF0000, 0x00FF00, 0x0000FF, 0};
        format = D3DFMT_X8R8G8B8;
    }
    BitFieldLayout layout;
    if (!layout.Init(masks)) {
        return E_FAIL;
    }

    // Palettised images carry their palette; true-colour ones may carry an optional one that
    // only a bare DIB has to step over.
    const bool palettised = header.bitCount <= 8;
    uint32_t colorCount = header.colorsUsed;
    if (palettised) {
        const uint32_t maxColors = 1u << header.bitCount;
        if (colorCount == 0) {
            colorCount = maxColors;
        }
        if (colorCount > maxColors) {
            return E_FAIL;
        }
    }
    const size_t tableBytes = static_cast<size_t>(colorCount) * 4;
    if ((palettised || pixelOffset == 0) && size - tableOffset < tableBytes) {
        return E_FAIL;
    }
    if (pixelOffset == 0) {
        pixelOffset = tableOffset + tableBytes;
    }
    if (pixelOffset > size) {
        return E_FAIL;
    }

    // Uncompressed rows must all be there before the image is allocated.
    size_t rowBytes = 0;
    if (!runLength && (!MultiplySizes(RowStride(width, header.bitCount), height, &rowBytes) ||
                       rowBytes > size - pixelOffset)) {
        return E_FAIL;
    }

    DecodedImage decoded;
    HRESULT result = palettised ? decoded.AllocateIndices(width, height, colorCount)
                                : decoded.AllocatePixels(width, height, format);
    if (FAILED(result)) {
        return result;
    }
    if (palettised) {
        for (uint32_t i = 0; i < colorCount; ++i) {
            // RGBQUAD: blue, green, red, reserved; palette entries are opaque.
            decoded.palette[i] = 0xFF000000u | (ReadLe32(data + tableOffset + 4 * i) & 0xFFFFFF);
        }
    }
    const PixelSource source{data + pixelOffset, size - pixelOffset};
    result = runLength ? DecodeRunLength(header, source, &decoded)
                       : DecodeUncompressed(header, source, layout, topDown, &decoded);
    if (FAILED(result)) {
        return result;
    }
    *image = std::move(decoded);
    return S_OK;
}

}  // namespace

bool IsBmpData(const uint8_t* data, size_t size) {
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

HRESULT DecodeBmp(const uint8_t* data, size_t size, const ImageLimits& limits,
                  DecodedImage* image) {
    if (size < kFileHeaderSize) {
        return E_FAIL;
    }
    const uint32_t fileSize = ReadLe32(data + 2);
    const uint32_t pixelOffset = ReadLe32(data + 10);
    if (fileSize > size || pixelOffset == 0) {
        return E_FAIL;
    }
    const HRESULT result = DecodeBitmap(data, size, kFileHeaderSize, pixelOffset, limits, image);
    if (SUCCEEDED(result)) {
        image->fileFormat = D3DXIFF_BMP;
    }
    return result;
}

bool IsDibData(const uint8_t* data, size_t size) {
    if (size < kSmallestInfoHeader) {
        return false;
    }
    const InfoHeader header = ReadInfoHeader(data);
    if (header.planes != 1) {
        return false;
    }
    for (uint32_t known : kDibHeaderSizes) {
        if (header.headerSize == known) {
            return true;
        }
    }
    return false;
}

HRESULT DecodeDib(const uint8_t* data, size_t size, const ImageLimits& limits,
                  DecodedImage* image) {
    const HRESULT result = DecodeBitmap(data, size, 0, 0, limits, image);
    if (SUCCEEDED(result)) {
        image->fileFormat = D3DXIFF_DIB;
    }
    return result;
}
