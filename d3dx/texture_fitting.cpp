#include "d3dx/texture_fitting.h"

#include <algorithm>
#include <cstdint>

#include "d3dx/image/texel_layout.h"

namespace {

UINT NextPowerOfTwo(UINT value) {
    UINT power = 1;
    while (power < value && power < 0x80000000u) {
        power *= 2;
    }
    return power;
}

UINT PreviousPowerOfTwo(UINT value) {
    UINT power = 1;
    while (power * 2 <= value && power < 0x80000000u) {
        power *= 2;
    }
    return power;
}

UINT FullChainLength(UINT width, UINT height) {
    UINT levels = 1;
    for (UINT side = std::max(width, height); side > 1; side /= 2) {
        ++levels;
    }
    return levels;
}

bool Unspecified(UINT value) {
    return value == 0 || value == D3DX_DEFAULT;
}

}  // namespace

TextureShape FitTextureShape(const D3DCAPS8& caps, UINT imageWidth, UINT imageHeight, UINT width,
                             UINT height, UINT mipLevels) {
    UINT w = Unspecified(width) ? imageWidth : width;
    UINT h = Unspecified(height) ? imageHeight : height;
    w = std::max(w, 1u);
    h = std::max(h, 1u);
    if (caps.MaxTextureWidth != 0) {
        w = std::min<UINT>(w, caps.MaxTextureWidth);
    }
    if (caps.MaxTextureHeight != 0) {
        h = std::min<UINT>(h, caps.MaxTextureHeight);
    }
    // Too elongated: widen the short side, which keeps every texel of the long one.
    const UINT ratio = caps.MaxTextureAspectRatio;
    if (ratio != 0) {
        if (static_cast<uint64_t>(w) > static_cast<uint64_t>(h) * ratio) {
            h = static_cast<UINT>((static_cast<uint64_t>(w) + ratio - 1) / ratio);
        } else if (static_cast<uint64_t>(h) > static_cast<uint64_t>(w) * ratio) {
            w = static_cast<UINT>((static_cast<uint64_t>(h) + ratio - 1) / ratio);
        }
    }
    if (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) {
        w = h = std::min(w, h);
    }
    const bool powersOfTwo = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0 &&
                             (caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL) == 0;
    if (powersOfTwo) {
        w = NextPowerOfTwo(w);
        h = NextPowerOfTwo(h);
        // Rounding up may pass the maximum; step back to the power below it.
        if (caps.MaxTextureWidth != 0 && w > caps.MaxTextureWidth) {
            w = PreviousPowerOfTwo(caps.MaxTextureWidth);
        }
        if (caps.MaxTextureHeight != 0 && h > caps.MaxTextureHeight) {
            h = PreviousPowerOfTwo(caps.MaxTextureHeight);
        }
        if (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) {
            w = h = std::min(w, h);
        }
    }

    const UINT full = FullChainLength(w, h);
    UINT levels = Unspecified(mipLevels) ? full : std::min(mipLevels, full);
    const bool canMip = (caps.TextureCaps & D3DPTEXTURECAPS_MIPMAP) != 0;
    const bool conditionalOnly = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0 &&
                                 (caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL) != 0;
    if (!canMip || (conditionalOnly && !(IsPowerOfTwo(w) && IsPowerOfTwo(h)))) {
        levels = 1;
    }
    return TextureShape{w, h, levels};
}

D3DFORMAT PreferredTextureFormat(const DecodedImage& image, D3DCOLOR colorKey) {
    if (image.IsPalettised()) {
        return image.HasTranslucentPaletteEntry() ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    }
    const bool keyed = colorKey != 0;
    switch (image.format) {
        case D3DFMT_R8G8B8:
        case D3DFMT_X8R8G8B8:
            return keyed ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
            return keyed ? D3DFMT_A1R5G5B5 : image.format;
        case D3DFMT_X4R4G4B4:
            return keyed ? D3DFMT_A4R4G4B4 : image.format;
        case D3DFMT_R3G3B2:
            return keyed ? D3DFMT_A8R3G3B2 : image.format;
        case D3DFMT_L8:
            return keyed ? D3DFMT_A8L8 : image.format;
        case D3DFMT_G16R16:
            return keyed ? D3DFMT_A8R8G8B8 : image.format;
        default:
            return FindTexelLayout(image.format) != nullptr ? image.format : D3DFMT_A8R8G8B8;
    }
}

int TextureFormatCandidates(D3DFORMAT preferred, D3DFORMAT candidates[8]) {
    static const D3DFORMAT kWithAlpha[] = {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5,
                                           D3DFMT_X8R8G8B8, D3DFMT_R5G6B5,   D3DFMT_X1R5G5B5};
    static const D3DFORMAT kOpaque[] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5,
                                        D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4};
    const TexelLayout* layout = FindTexelLayout(preferred);
    const bool alpha = layout == nullptr || layout->HasAlpha();
    int count = 0;
    if (layout != nullptr) {
        candidates[count++] = preferred;
    }
    for (D3DFORMAT fallback : alpha ? kWithAlpha : kOpaque) {
        if (fallback != preferred) {
            candidates[count++] = fallback;
        }
    }
    return count;
}

HRESULT ChooseTextureFormat(IDirect3DDevice8* device, DWORD usage, D3DFORMAT preferred,
                            D3DFORMAT* chosen) {
    D3DDEVICE_CREATION_PARAMETERS creation;
    D3DDISPLAYMODE mode;
    IDirect3D8* direct3d = nullptr;
    HRESULT result = device->GetCreationParameters(&creation);
    if (SUCCEEDED(result)) {
        result = device->GetDisplayMode(&mode);
    }
    if (SUCCEEDED(result)) {
        result = device->GetDirect3D(&direct3d);
    }
    if (FAILED(result)) {
        return result;
    }
    D3DFORMAT candidates[8];
    const int count = TextureFormatCandidates(preferred, candidates);
    const TexelLayout* layout = FindTexelLayout(preferred);
    *chosen = (layout == nullptr || layout->HasAlpha()) ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    for (int i = 0; i < count; ++i) {
        if (SUCCEEDED(direct3d->CheckDeviceFormat(creation.AdapterOrdinal, creation.DeviceType,
                                                  mode.Format, usage, D3DRTYPE_TEXTURE,
                                                  candidates[i]))) {
            *chosen = candidates[i];
            break;
        }
    }
    direct3d->Release();
    return S_OK;
}
