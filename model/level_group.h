// One drawable group of the level: its material, optional texture, the vertex buffer holding its
// triangles as an unindexed list, and the bounding volumes that culling tests.
#pragma once

#include "d3dx/d3dx_math.h"
#include "platform/direct3d8.h"

struct BoundingBox {
    D3DXVECTOR3 center;
    D3DXVECTOR3 extent;  // the full max - min size; culling treats it as a half size
};

struct BoundingSphere {
    D3DXVECTOR3 center;
    float radius;
};

// The level's vertex: position, normal and one texture coordinate pair, 32 bytes.
struct LevelVertex {
    float x, y, z;
    float nx, ny, nz;
    float tu, tv;
};
static_assert(sizeof(LevelVertex) == 32, "LevelVertex must match its vertex format exactly");

constexpr DWORD kLevelVertexFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

struct LevelGroup {
    int32_t triangleCount = 0;
    D3DMATERIAL8 material{};
    IDirect3DTexture8* texture = nullptr;
    IDirect3DVertexBuffer8* vertexBuffer = nullptr;
    BoundingBox box{};
    BoundingSphere sphere{};
};
