// The vertex shared by the water, the trees and the particles: position, normal, a packed
// A8R8G8B8 diffuse colour and one texture coordinate pair, 36 bytes without padding.
#pragma once

#include "platform/direct3d8.h"

struct ColorVertex {
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR diffuse;
    float tu, tv;
};

static_assert(sizeof(ColorVertex) == 36, "ColorVertex must match its vertex format exactly");

constexpr DWORD kColorVertexFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Makes a buffer of these vertices the source of the next draws: the stream, then the format.
inline HRESULT BindColorVertices(IDirect3DDevice8* device, IDirect3DVertexBuffer8* buffer) {
    const HRESULT result = device->SetStreamSource(0, buffer, sizeof(ColorVertex));
    return FAILED(result) ? result : device->SetVertexShader(kColorVertexFvf);
}
