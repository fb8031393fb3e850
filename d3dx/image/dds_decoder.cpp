#include "d3dx/image/dds_decoder.h"

#include <utility>

#include "d3dx/image/bit_field_layout.h"
#include "d3dx/image/byte_cursor.h"
#include "platform/safe_size.h"

namespace {

const size_t kHeaderSize = 128;  // the magic and the 124-byte header
const uint32_t kPixelFormatAlphaPixels = 0x1;
const uint32_t kPixelFormatAlpha = 0x2;
const uint32_t kPixelFormatFourCc = 0x4;
const uint32_t kPixelFormatRgb = 0x40;
const uint32_t kPixelFormatLuminance = 0x20000;

// A 5:6:5 colour widened to 8 bits per channel by repeating its high bits.
void ExpandColor(uint16_t packed, int rgb[3]) {
    const int r = (packed >> 11) & 31;
    const int g = (packed >> 5) & 63;
    const int b = packed & 31;
    rgb[0] = (r << 3) | (r >> 2);
    rgb[1] = (g << 2) | (g >> 4);
    rgb[2] = (b << 3) | (b >> 2);
}

uint32_t Argb(int a, const int rgb[3]) {
    return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(rgb[0]) << 16) |
           (static_cast<uint32_t>(rgb[1]) << 8) | static_cast<uint32_t>(rgb[2]);
}

// The 16 colours of a block's colour half. DXT1 blocks with color0 <= color1 use three colours
// and transparent black; the other formats always interpolate four.
void DecodeColorBlock(const uint8_t* block, bool allowTransparent, uint32_t out[16]) {
    const uint16_t c0 = ReadLe16(block);
    const uint16_t c1 = ReadLe16(block + 2);
    int colors[4][3];
    ExpandColor(c0, colors[0]);
    ExpandColor(c1, colors[1]);
    uint32_t palette[4];
    const bool fourColors = !allowTransparent || c0 > c1;
    for (int i = 0; i < 3; ++i) {
        if (fourColors) {
            colors[2][i] = (2 * colors[0][i] + colors[1][i]) / 3;
            colors[3][i] = (colors[0][i] + 2 * colors[1][i]) / 3;
        } else {
            colors[2][i] = (colors[0][i] + colors[1][i]) / 2;
            colors[3][i] = 0;
        }
    }
    for (int i = 0; i < 4; ++i) {
        palette[i] = Argb(255, colors[i]);
    }
    if (!fourColors) {
        palette[3] = 0;
    }
    const uint32_t bits = ReadLe32(block + 4);
    for (int i = 0; i < 16; ++i) {
        out[i] = palette[(bits >> (2 * i)) & 3];
    }
}

// Explicit 4-bit alpha (DXT2, DXT3).
void DecodeExplicitAlpha(const uint8_t* block, uint32_t texels[16]) {
    for (int i = 0; i < 16; ++i) {
        const uint32_t a = (block[i / 2] >> (4 * (i % 2))) & 0x0F;
        texels[i] = (texels[i] & 0x00FFFFFF) | ((a * 17) << 24);
    }
}

// Interpolated alpha (DXT4, DXT5): two endpoints and 3-bit indices.
void DecodeInterpolatedAlpha(const uint8_t* block, uint32_t texels[16]) {
    const uint32_t a0 = block[0];
    const uint32_t a1 = block[1];
    uint32_t alphas[8] = {a0, a1};
    if (a0 > a1) {
        for (uint32_t i = 1; i < 7; ++i) {
            alphas[i + 1] = ((7 - i) * a0 + i * a1) / 7;
        }
    } else {
        for (uint32_t i = 1; i < 5; ++i) {
            alphas[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        }
        alphas[6] = 0;
        alphas[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i) {
        bits |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
    }
    for (int i = 0; i < 16; ++i) {
        texels[i] = (texels[i] & 0x00FFFFFF) | (alphas[(bits >> (3 * i)) & 7] << 24);
    }
}

HRESULT DecodeBlocks(const uint8_t* bytes, size_t available, uint32_t fourCc, DecodedImage* image) {
    const bool dxt1 = fourCc == MAKEFOURCC('D', 'X', 'T', '1');
    const bool explicitAlpha =
        fourCc == MAKEFOURCC('D', 'X', 'T', '2') || fourCc == MAKEFOURCC('D', 'X', 'T', '3');
    const size_t blockBytes = dxt1 ? 8 : 16;
    const size_t blocksWide = (static_cast<size_t>(image->width) + 3) / 4;
    const size_t blocksHigh = (static_cast<size_t>(image->height) + 3) / 4;
    size_t needed = 0;
    if (!MultiplySizes(blocksWide, blocksHigh, blockBytes, &needed) || needed > available) {
        return E_FAIL;
    }
    uint32_t texels[16];
    for (size_t by = 0; by < blocksHigh; ++by) {
        for (size_t bx = 0; bx < blocksWide; ++bx) {
            const uint8_t* block = bytes + (by * blocksWide + bx) * blockBytes;
            if (dxt1) {
                DecodeColorBlock(block, true, texels);
            } else {
                DecodeColorBlock(block + 8, false, texels);
                if (explicitAlpha) {
                    DecodeExplicitAlpha(block, texels);
                } else {
                    DecodeInterpolatedAlpha(block, texels);
                }
            }
            for (size_t ty = 0; ty < 4 && by * 4 + ty < image->height; ++ty) {
                uint32_t* row = image->PixelRow(static_cast<UINT>(by * 4 + ty));
                for (size_t tx = 0; tx < 4 && bx * 4 + tx < image->width; ++tx) {
                    row[bx * 4 + tx] = texels[ty * 4 + tx];
                }
            }
        }
    }
    return S_OK;
}

// The format reported for an uncompressed surface: the exact one its masks name, or the
// nearest 32-bit one.
D3DFORMAT UncompressedFormat(uint32_t flags, UINT bitCount, const ChannelMasks& masks) {
    const bool alpha = (flags & (kPixelFormatAlphaPixels | kPixelFormatAlpha)) != 0;
    if (flags & kPixelFormatLuminance) {
        if (bitCount == 8 && masks.red == 0xFF && !alpha) {
            return D3DFMT_L8;
        }
        if (bitCount == 16 && masks.red == 0xFF && masks.alpha == 0xFF00) {
            return D3DFMT_A8L8;
        }
        if (bitCount == 8 && masks.red == 0x0F && masks.alpha == 0xF0) {
            return D3DFMT_A4L4;
        }
        return alpha ? D3DFMT_A8L8 : D3DFMT_L8;
    }
    if ((flags & kPixelFormatRgb) == 0) {
        return D3DFMT_A8;
    }
    if (bitCount == 8 && masks.red == 0xE0 && masks.green == 0x1C && masks.blue == 0x03 && !alpha) {
        return D3DFMT_R3G3B2;
    }
    const D3DFORMAT exact = FormatOfMasks(bitCount, masks);
    if (exact != D3DFMT_UNKNOWN && exact != D3DFMT_A8L8) {
        return exact;
    }
    return alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
}

HRESULT DecodeUncompressed(const uint8_t* bytes, size_t available, uint32_t flags, UINT bitCount,
                           ChannelMasks masks, DecodedImage* image) {
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
        return E_FAIL;
    }
    if ((flags & (kPixelFormatAlphaPixels | kPixelFormatAlpha)) == 0) {
        masks.alpha = 0;
    }
    const bool luminance = (flags & kPixelFormatLuminance) != 0;
    if (luminance) {
        masks.green = masks.blue = masks.red;
    } else if ((flags & kPixelFormatRgb) == 0) {
        masks.red = masks.green = masks.blue = 0;  // alpha alone: colour reads as white
    }
    if (bitCount < 32) {
        const uint32_t outside = ~((1u << bitCount) - 1);
        if ((masks.red | masks.green | masks.blue | masks.alpha) & outside) {
            return E_FAIL;
        }
    }
    BitFieldLayout layout;
    if (!layout.Init(masks)) {
        return E_FAIL;
    }
    const size_t texelBytes = bitCount / 8;
    size_t rowBytes = 0;
    size_t needed = 0;
    if (!MultiplySizes(image->width, texelBytes, &rowBytes) ||
        !MultiplySizes(rowBytes, image->height, &needed) || needed > available) {
        return E_FAIL;
    }
    for (UINT y = 0; y < image->height; ++y) {
        const uint8_t* src = bytes + y * rowBytes;
        uint32_t* out = image->PixelRow(y);
        for (UINT x = 0; x < image->width; ++x) {
            const uint8_t* texel = src + x * texelBytes;
            uint32_t packed = 0;
            switch (texelBytes) {
                case 1:
                    packed = texel[0];
                    break;
                case 2:
                    packed = ReadLe16(texel);
                    break;
                case 3:
                    packed = ReadLe24(texel);
                    break;
                default:
                    packed = ReadLe32(texel);
                    break;
            }
            out[x] = layout.ToArgb(packed);
        }
    }
    image->format = UncompressedFormat(flags, bitCount, masks);
    return S_OK;
}

}  // namespace

bool IsDdsData(const uint8_t* data, size_t size) {
    return size >= 4 && data[0] == 'D' && data[1] == 'D' && data[2] == 'S' && data[3] == ' ';
}

HRESULT DecodeDds(const uint8_t* data, size_t size, const ImageLimits& limits,
                  DecodedImage* image) {
    if (size < kHeaderSize || ReadLe32(data + 4) != 124 || ReadLe32(data + 76) != 32) {
        return E_FAIL;
    }
    const uint32_t height = ReadLe32(data + 12);
    const uint32_t width = ReadLe32(data + 16);
    const uint32_t flags = ReadLe32(data + 80);
    const uint32_t fourCc = ReadLe32(data + 84);
    const UINT bitCount = ReadLe32(data + 88);
    const ChannelMasks masks{ReadLe32(data + 92), ReadLe32(data + 96), ReadLe32(data + 100),
                             ReadLe32(data + 104)};
    if (width == 0 || height == 0) {
        return E_FAIL;
    }
    if (width > limits.maxWidth || height > limits.maxHeight) {
        return D3DXERR_INVALIDDATA;
    }
    const bool compressed = (flags & kPixelFormatFourCc) != 0;
    if (compressed) {
        if (fourCc != MAKEFOURCC('D', 'X', 'T', '1') && fourCc != MAKEFOURCC('D', 'X', 'T', '2') &&
            fourCc != MAKEFOURCC('D', 'X', 'T', '3') && fourCc != MAKEFOURCC('D', 'X', 'T', '4') &&
            fourCc != MAKEFOURCC('D', 'X', 'T', '5')) {
            return E_FAIL;
        }
    } else if ((flags & (kPixelFormatRgb | kPixelFormatLuminance | kPixelFormatAlpha)) == 0) {
        return E_FAIL;
    }
    // Refuse a truncated surface before allocating its pixels.
    size_t needed = 0;
    const size_t blockBytes = fourCc == MAKEFOURCC('D', 'X', 'T', '1') ? 8 : 16;
    const bool sized =
        compressed ? MultiplySizes((width + 3ull) / 4, (height + 3ull) / 4, blockBytes, &needed)
                   : MultiplySizes(width, height, bitCount / 8, &needed);
    if (!sized || needed > size - kHeaderSize) {
        return E_FAIL;
    }
    DecodedImage decoded;
    HRESULT result = decoded.AllocatePixels(width, height, D3DFMT_A8R8G8B8);
    if (FAILED(result)) {
        return result;
    }
    const uint8_t* bytes = data + kHeaderSize;
    const size_t available = size - kHeaderSize;
    result = compressed ? DecodeBlocks(bytes, available, fourCc, &decoded)
                        : DecodeUncompressed(bytes, available, flags, bitCount, masks, &decoded);
    if (FAILED(result)) {
        return result;
    }
    decoded.fileFormat = D3DXIFF_DDS;
    *image = std::move(decoded);
    return S_OK;
}
