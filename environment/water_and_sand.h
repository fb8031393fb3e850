// The sea: an opaque sand floor at y = -4.9 and a water surface at y = -2 blended over it and over
// the underwater parts of the level, both 1000 x 1000 squares centred on the origin. The water's
// texture coordinates turn slowly with the system clock; the geometry never changes.
#pragma once

#include <cstdint>

#include "d3dx/d3dx_math.h"
#include "platform/direct3d8.h"

class WaterAndSand {
public:
    WaterAndSand();
    ~WaterAndSand();
    WaterAndSand(const WaterAndSand&) = delete;
    WaterAndSand& operator=(const WaterAndSand&) = delete;

    HRESULT Load(IDirect3DDevice8* device);
    HRESULT Render(IDirect3DDevice8* device);
    HRESULT Release();

    // Around a device reset: the vertex buffer lives in the default pool, which a reset needs
    // empty. Restoring makes and fills it again; the textures are managed and stay.
    void ReleaseDefaultPool();
    HRESULT RestoreDefaultPool(IDirect3DDevice8* device);

    // The water's texture matrix at a clock reading: a rotation about texture coordinate (0, 0)
    // by milliseconds / 10000 radians.
    static D3DXMATRIX TextureMatrixAt(DWORD milliseconds);

private:
    HRESULT CreateSeaBuffer(IDirect3DDevice8* device);

    IDirect3DVertexBuffer8* vertexBuffer;
    int32_t vertexCount;
    IDirect3DTexture8* waterTexture;
    IDirect3DTexture8* sandTexture;
    HRESULT lastResult;
};
