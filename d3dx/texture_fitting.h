// Fits a texture request to what the device can make: the size (maximum size, aspect ratio,
// square-only and power-of-two rules), the number of mip levels, and the texel format, picked
// from the image's own format and then moved to the closest one the device supports.
#pragma once

#include "d3dx/image/decoded_image.h"
#include "platform/direct3d8.h"

// 1, 2, 4, 8 and so on; not 0.
inline bool IsPowerOfTwo(UINT value) {
    return value != 0 && (value & (value - 1)) == 0;
}

struct TextureShape {
    UINT width;
    UINT height;
    UINT levels;
};

// `width`, `height` and `mipLevels` as the caller passed them (0 or D3DX_DEFAULT: the image's
// size, the full chain).
TextureShape FitTextureShape(const D3DCAPS8& caps, UINT imageWidth, UINT imageHeight, UINT width,
                             UINT height, UINT mipLevels);

// The format the image asks for before the device has a say: its own, with alpha when a colour
// key is given, 24-bit colour widened to X8R8G8B8, a palette expanded to X8R8G8B8 or (with a
// translucent entry) A8R8G8B8.
D3DFORMAT PreferredTextureFormat(const DecodedImage& image, D3DCOLOR colorKey);

// The formats to try in order for `preferred`: itself if the loader can write it, then the
// nearest 32-bit format, then smaller ones, keeping alpha first when the preferred one has it.
// Returns how many were written to `candidates` (at most 8).
int TextureFormatCandidates(D3DFORMAT preferred, D3DFORMAT candidates[8]);

// Asks the device (CheckDeviceFormat against the current display format) for each candidate in
// turn and returns the first supported; when none is, the first fallback (A8R8G8B8 or X8R8G8B8),
// leaving the final word to CreateTexture. Fails only when the device cannot be queried.
HRESULT ChooseTextureFormat(IDirect3DDevice8* device, DWORD usage, D3DFORMAT preferred,
                            D3DFORMAT* chosen);
