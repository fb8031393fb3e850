#include "d3dx/image/bit_field_layout.h"

namespace {

struct MaskFormat {
    UINT bitCount;
    ChannelMasks masks;
    D3DFORMAT format;
};

const MaskFormat kMaskFormats[] = {
    {16, {0xF800, 0x07E0, 0x001F, 0}, D3DFMT_R5G6B5},
    {16, {0x7C00, 0x03E0, 0x001F, 0}, D3DFMT_X1R5G5B5},
    {16, {0x7C00, 0x03E0, 0x001F, 0x8000}, D3DFMT_A1R5G5B5},
    {16, {0x0F00, 0x00F0, 0x000F, 0}, D3DFMT_X4R4G4B4},
    {16, {0x0F00, 0x00F0, 0x000F, 0xF000}, D3DFMT_A4R4G4B4},
    {16, {0x00E0, 0x001C, 0x0003, 0xFF00}, D3DFMT_A8R3G3B2},
    {16, {0x00FF, 0x00FF, 0x00FF, 0xFF00}, D3DFMT_A8L8},
    {24, {0xFF0000, 0x00FF00, 0x0000FF, 0}, D3DFMT_R8G8B8},
    {32, {0xFF0000, 0x00FF00, 0x0000FF, 0}, D3DFMT_X8R8G8B8},
    {32, {0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000}, D3DFMT_A8R8G8B8},
    {32, {0x000003FF, 0x000FFC00, 0x3FF00000, 0xC0000000}, D3DFMT_A2B10G10R10},
    {32, {0x0000FFFF, 0xFFFF0000, 0, 0}, D3DFMT_G16R16},
};

}  // namespace

D3DFORMAT FormatOfMasks(UINT bitCount, const ChannelMasks& masks) {
    for (const MaskFormat& entry : kMaskFormats) {
        if (entry.bitCount == bitCount && entry.masks.red == masks.red &&
            entry.masks.green == masks.green && entry.masks.blue == masks.blue &&
            entry.masks.alpha == masks.alpha) {
            return entry.format;
        }
    }
    return D3DFMT_UNKNOWN;
}

bool BitFieldLayout::MakeField(uint32_t mask, Field* field) {
    *field = Field{mask, 0, 0};
    if (mask == 0) {
        return true;
    }
    while (((mask >> field->shift) & 1u) == 0) {
        ++field->shift;
    }
    const uint64_t run = static_cast<uint64_t>(mask) >> field->shift;
    // One contiguous run of ones: run + 1 is a power of two.
    if ((run & (run + 1)) != 0) {
        return false;
    }
    field->maximum = static_cast<uint32_t>(run);
    return true;
}

bool BitFieldLayout::Init(const ChannelMasks& masks) {
    return MakeField(masks.red, &red) && MakeField(masks.green, &green) &&
           MakeField(masks.blue, &blue) && MakeField(masks.alpha, &alpha);
}
