// The sky: a cube of six textured faces drawn around the camera each frame, so the player never
// reaches its walls. It is ordinary depth-tested geometry: whatever lies farther from the camera
// than its faces is hidden behind it.
#pragma once

#include "d3dx/d3dx_math.h"
#include "platform/direct3d8.h"

// The sky's vertex: position, a packed diffuse colour and one texture coordinate pair, 24 bytes.
struct SkyVertex {
    float x, y, z;
    D3DCOLOR diffuse;
    float tu, tv;
};
static_assert(sizeof(SkyVertex) == 24, "SkyVertex must match its vertex format exactly");

class Skybox {
public:
    static constexpr int kFaceCount = 6;
    static constexpr int kVertexCount = 24;

    Skybox();
    ~Skybox();
    Skybox(const Skybox&) = delete;
    Skybox& operator=(const Skybox&) = delete;

    // size: the cube's full edge lengths; the six images in this parameter order.
    HRESULT Load(D3DXVECTOR3 size, const char* top, const char* bottom, const char* left,
                 const char* right, const char* front, const char* back, IDirect3DDevice8* device);
    HRESULT Render(D3DXVECTOR3 cameraPosition, IDirect3DDevice8* device);
    HRESULT Release();

    // The 24 vertices of a cube of the given size, four per face in face order (top, bottom,
    // back, front, left, right), each face a two-triangle strip.
    static void BuildVertices(D3DXVECTOR3 size, SkyVertex (&vertices)[kVertexCount]);

private:
    IDirect3DVertexBuffer8* vertexBuffer;
    IDirect3DTexture8* faceTextures[kFaceCount];
    HRESULT lastResult;
};
