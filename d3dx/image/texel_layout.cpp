#include "d3dx/image/texel_layout.h"

namespace {

using C = TexelChannel;

// clang-format off
const TexelLayout kLayouts[] = {
    {D3DFMT_A8R8G8B8, 4, 4, {{C::kAlpha, 8, 24}, {C::kRed, 8, 16}, {C::kGreen, 8, 8}, {C::kBlue, 8, 0}}, 0},
    {D3DFMT_X8R8G8B8, 4, 3, {{C::kRed, 8, 16}, {C::kGreen, 8, 8}, {C::kBlue, 8, 0}}, 0xFF000000u},
    {D3DFMT_R8G8B8, 3, 3, {{C::kRed, 8, 16}, {C::kGreen, 8, 8}, {C::kBlue, 8, 0}}, 0},
    {D3DFMT_R5G6B5, 2, 3, {{C::kRed, 5, 11}, {C::kGreen, 6, 5}, {C::kBlue, 5, 0}}, 0},
    {D3DFMT_X1R5G5B5, 2, 3, {{C::kRed, 5, 10}, {C::kGreen, 5, 5}, {C::kBlue, 5, 0}}, 0x8000u},
    {D3DFMT_A1R5G5B5, 2, 4, {{C::kAlpha, 1, 15}, {C::kRed, 5, 10}, {C::kGreen, 5, 5}, {C::kBlue, 5, 0}}, 0},
    {D3DFMT_A4R4G4B4, 2, 4, {{C::kAlpha, 4, 12}, {C::kRed, 4, 8}, {C::kGreen, 4, 4}, {C::kBlue, 4, 0}}, 0},
    {D3DFMT_X4R4G4B4, 2, 3, {{C::kRed, 4, 8}, {C::kGreen, 4, 4}, {C::kBlue, 4, 0}}, 0xF000u},
    {D3DFMT_R3G3B2, 1, 3, {{C::kRed, 3, 5}, {C::kGreen, 3, 2}, {C::kBlue, 2, 0}}, 0},
    {D3DFMT_A8R3G3B2, 2, 4, {{C::kAlpha, 8, 8}, {C::kRed, 3, 5}, {C::kGreen, 3, 2}, {C::kBlue, 2, 0}}, 0},
    {D3DFMT_A8, 1, 1, {{C::kAlpha, 8, 0}}, 0},
    {D3DFMT_L8, 1, 1, {{C::kLuminance, 8, 0}}, 0},
    {D3DFMT_A8L8, 2, 2, {{C::kAlpha, 8, 8}, {C::kLuminance, 8, 0}}, 0},
    {D3DFMT_A4L4, 1, 2, {{C::kAlpha, 4, 4}, {C::kLuminance, 4, 0}}, 0},
    {D3DFMT_A2B10G10R10, 4, 4, {{C::kAlpha, 2, 30}, {C::kBlue, 10, 20}, {C::kGreen, 10, 10}, {C::kRed, 10, 0}}, 0},
    {D3DFMT_G16R16, 4, 2, {{C::kGreen, 16, 16}, {C::kRed, 16, 0}}, 0},
};
// clang-format on

}  // namespace

const TexelLayout* FindTexelLayout(D3DFORMAT format) {
    for (const TexelLayout& layout : kLayouts) {
        if (layout.format == format) {
            return &layout;
        }
    }
    return nullptr;
}
