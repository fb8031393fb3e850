#include "d3dx/image/tga_decoder.h"

#include <utility>

#include "d3dx/image/byte_cursor.h"
#include "platform/safe_size.h"

namespace {

const size_t kHeaderSize = 18;

enum TgaImageType : uint8_t {
    kColorMapped = 1,
    kTrueColor = 2,
    kGreyscale = 3,
    kColorMappedRle = 9,
    kTrueColorRle = 10,
    kGreyscaleRle = 11,
};

struct TgaHeader {
    uint8_t idLength;
    uint8_t colorMapType;
    uint8_t imageType;
    uint16_t colorMapFirst;
    uint16_t colorMapLength;
    uint8_t colorMapDepth;
    uint16_t width;
    uint16_t height;
    uint8_t depth;
    uint8_t descriptor;

    uint8_t BaseType() const { return imageType & 3; }
    bool RunLength() const { return imageType >= kColorMappedRle; }
    unsigned AlphaBits() const { return descriptor & 0x0F; }
    bool RightToLeft() const { return (descriptor & 0x10) != 0; }
    bool TopDown() const { return (descriptor & 0x20) != 0; }
};

TgaHeader ReadHeader(const uint8_t* p) {
    return TgaHeader{p[0],
                     p[1],
                     p[2],
                     ReadLe16(p + 3),
                     ReadLe16(p + 5),
                     p[7],
                     ReadLe16(p + 12),
                     ReadLe16(p + 14),
                     p[16],
                     p[17]};
}

bool IsColorDepth(uint8_t depth) {
    return depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

bool HeaderIsPlausible(const TgaHeader& header) {
    if (header.colorMapType > 1 || header.width == 0 || header.height == 0) {
        return false;
    }
    if (header.colorMapType == 1 && !IsColorDepth(header.colorMapDepth)) {
        return false;
    }
    switch (header.imageType) {
        case kColorMapped:
        case kColorMappedRle:
            return header.colorMapType == 1 && header.depth == 8;
        case kTrueColor:
        case kTrueColorRle:
            return IsColorDepth(header.depth);
        case kGreyscale:
        case kGreyscaleRle:
            return header.depth == 8 || header.depth == 16;
        default:
            return false;
    }
}

// One stored value (a colour-map entry or a true-colour pixel) as A8R8G8B8.
uint32_t ColorToArgb(const uint8_t* p, unsigned depth, bool useAlpha) {
    switch (depth) {
        case 15:
        case 16: {
            const uint32_t v = ReadLe16(p);
            const uint32_t r = (v >> 10) & 31;
            const uint32_t g = (v >> 5) & 31;
            const uint32_t b = v & 31;
            const uint32_t a = (useAlpha && depth == 16 && (v & 0x8000) == 0) ? 0 : 255;
            return (a << 24) | (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) |
                   ((b << 3) | (b >> 2));
        }
        case 24:
            return 0xFF000000u | ReadLe24(p);
        default:
            return useAlpha ? ReadLe32(p) : (0xFF000000u | ReadLe24(p));
    }
}

}  // namespace

bool IsTgaData(const uint8_t* data, size_t size) {
    return size >= kHeaderSize && HeaderIsPlausible(ReadHeader(data));
}

HRESULT DecodeTga(const uint8_t* data, size_t size, const ImageLimits& limits,
                  DecodedImage* image) {
    const TgaHeader header = ReadHeader(data);
    if (header.width > limits.maxWidth || header.height > limits.maxHeight) {
        return D3DXERR_INVALIDDATA;
    }
    ByteCursor cursor(data + kHeaderSize, size - kHeaderSize);
    if (!cursor.Skip(header.idLength)) {
        return E_FAIL;
    }

    const uint8_t type = header.BaseType();
    const bool colorMapped = type == kColorMapped;
    const bool useAlpha = header.AlphaBits() > 0;
    std::vector<uint32_t> map;
    if (header.colorMapType == 1) {
        const size_t entryBytes = (header.colorMapDepth + 7) / 8;
        const uint8_t* entries = nullptr;
        if (!cursor.Take(entryBytes * header.colorMapLength, &entries)) {
            return E_FAIL;
        }
        if (colorMapped) {
            // Entries keep their own alpha when they carry one (16 bits with the attribute bit,
            // or 32 bits).
            const bool entryAlpha = header.colorMapDepth == 32 || useAlpha;
            if (!TryResize(&map, header.colorMapLength)) {
                return E_OUTOFMEMORY;
            }
            for (size_t i = 0; i < header.colorMapLength; ++i) {
                map[i] = ColorToArgb(entries + i * entryBytes, header.colorMapDepth, entryAlpha);
            }
        }
    }

    const size_t pixelBytes = (header.depth + 7) / 8;
    const size_t pixelCount = static_cast<size_t>(header.width) * header.height;
    // A run packet holds at most 128 pixels in 1 + pixelBytes bytes; a raw image holds them
    // all. Anything shorter is truncated, which is caught here before allocating.
    const size_t leastBytes =
        header.RunLength() ? (pixelCount + 127) / 128 * (1 + pixelBytes) : pixelCount * pixelBytes;
    if (cursor.Remaining() < leastBytes) {
        return E_FAIL;
    }

    DecodedImage decoded;
    HRESULT result = S_OK;
    if (colorMapped) {
        const size_t reachable = static_cast<size_t>(header.colorMapFirst) + header.colorMapLength;
        const UINT paletteSize = static_cast<UINT>(reachable < 256 ? reachable : 256);
        if (paletteSize == 0 || header.colorMapFirst >= paletteSize) {
            return E_FAIL;
        }
        result = decoded.AllocateIndices(header.width, header.height, paletteSize);
        if (SUCCEEDED(result)) {
            for (UINT i = header.colorMapFirst; i < paletteSize; ++i) {
                decoded.palette[i] = map[i - header.colorMapFirst];
            }
        }
    } else {
        D3DFORMAT format = D3DFMT_UNKNOWN;
        if (type == kGreyscale) {
            format = header.depth == 16 ? D3DFMT_A8L8 : D3DFMT_L8;
        } else if (header.depth == 24) {
            format = D3DFMT_R8G8B8;
        } else if (header.depth == 32) {
            format = useAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
        } else {
            format = (header.depth == 16 && useAlpha) ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
        }
        result = decoded.AllocatePixels(header.width, header.height, format);
    }
    if (FAILED(result)) {
        return result;
    }

    const UINT width = header.width;
    const UINT height = header.height;
    const UINT firstIndex = header.colorMapFirst;
    const UINT paletteSize = static_cast<UINT>(decoded.palette.size());
    // Stores the nth pixel in file order; false for an index outside the colour map.
    auto store = [&](size_t n, const uint8_t* value) {
        const UINT fileRow = static_cast<UINT>(n / width);
        const UINT fileColumn = static_cast<UINT>(n % width);
        const UINT y = header.TopDown() ? fileRow : height - 1 - fileRow;
        const UINT x = header.RightToLeft() ? width - 1 - fileColumn : fileColumn;
        const size_t at = static_cast<size_t>(y) * width + x;
        if (colorMapped) {
            if (value[0] < firstIndex || value[0] >= paletteSize) {
                return false;
            }
            decoded.indices[at] = value[0];
        } else if (type == kGreyscale) {
            const uint32_t l = value[0];
            const uint32_t a = (header.depth == 16) ? value[1] : 255;
            decoded.pixels[at] = (a << 24) | (l << 16) | (l << 8) | l;
        } else {
            decoded.pixels[at] = ColorToArgb(value, header.depth, useAlpha);
        }
        return true;
    };

    size_t n = 0;
    while (n < pixelCount) {
        size_t count = pixelCount;
        bool repeat = false;
        if (header.RunLength()) {
            uint8_t packet = 0;
            if (!cursor.ReadByte(&packet)) {
                return E_FAIL;
            }
            count = (packet & 0x7F) + 1u;
            repeat = (packet & 0x80) != 0;
            if (count > pixelCount - n) {
                return E_FAIL;
            }
        }
        const uint8_t* values = nullptr;
        if (!cursor.Take(repeat ? pixelBytes : count * pixelBytes, &values)) {
            return E_FAIL;
        }
        for (size_t i = 0; i < count; ++i, ++n) {
            if (!store(n, repeat ? values : values + i * pixelBytes)) {
                return E_FAIL;
            }
        }
    }
    decoded.fileFormat = D3DXIFF_TGA;
    *image = std::move(decoded);
    return S_OK;
}
