#include "environment/skybox.h"

#include <cstring>

#include "d3dx/d3dx_texture.h"
#include "render/release_and_clear.h"

namespace {

constexpr DWORD kSkyVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr D3DCOLOR kWhite = 0xFFFFFFFF;

}  // namespace

Skybox::Skybox() : vertexBuffer(nullptr), faceTextures{}, lastResult(S_OK) {}

Skybox::~Skybox() {
    Release();
}

void Skybox::BuildVertices(D3DXVECTOR3 size, SkyVertex (&v)[kVertexCount]) {
    // Negative halves are the negated size halved, as the cube was always built.
    const float px = size.x / 2.0f;
    const float py = size.y / 2.0f;
    const float pz = size.z / 2.0f;
    const float nx = (-size.x) / 2.0f;
    const float ny = (-size.y) / 2.0f;
    const float nz = (-size.z) / 2.0f;
    const SkyVertex table[kVertexCount] = {
        // top, y = +hy
        {nx, py, nz, kWhite, 0, 1},
        {px, py, nz, kWhite, 1, 1},
        {nx, py, pz, kWhite, 0, 0},
        {px, py, pz, kWhite, 1, 0},
        // bottom, y = -hy
        {nx, ny, nz, kWhite, 0, 0},
        {px, ny, nz, kWhite, 1, 0},
        {nx, ny, pz, kWhite, 0, 1},
        {px, ny, pz, kWhite, 1, 1},
        // back, x = -hx
        {nx, py, nz, kWhite, 1, 0},
        {nx, py, pz, kWhite, 0, 0},
        {nx, ny, nz, kWhite, 1, 1},
        {nx, ny, pz, kWhite, 0, 1},
        // front, x = +hx
        {px, py, nz, kWhite, 0, 0},
        {px, py, pz, kWhite, 1, 0},
        {px, ny, nz, kWhite, 0, 1},
        {px, ny, pz, kWhite, 1, 1},
        // left, z = +hz
        {nx, py, pz, kWhite, 1, 0},
        {px, py, pz, kWhite, 0, 0},
        {nx, ny, pz, kWhite, 1, 1},
        {px, ny, pz, kWhite, 0, 1},
        // right, z = -hz
        {nx, py, nz, kWhite, 0, 0},
        {px, py, nz, kWhite, 1, 0},
        {nx, ny, nz, kWhite, 0, 1},
        {px, ny, nz, kWhite, 1, 1},
    };
    std::memcpy(v, table, sizeof(table));
}

HRESULT Skybox::Load(D3DXVECTOR3 size, const char* top, const char* bottom, const char* left,
                     const char* right, const char* front, const char* back,
                     IDirect3DDevice8* device) {
    Release();

    lastResult = device->CreateVertexBuffer(sizeof(SkyVertex) * kVertexCount, D3DUSAGE_WRITEONLY,
                                            kSkyVertexFvf, D3DPOOL_MANAGED, &vertexBuffer);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    SkyVertex vertices[kVertexCount];
    BuildVertices(size, vertices);
    BYTE* data = nullptr;
    lastResult = vertexBuffer->Lock(0, 0, &data, 0);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    std::memcpy(data, vertices, sizeof(vertices));
    lastResult = vertexBuffer->Unlock();
    if (FAILED(lastResult)) {
        return lastResult;
    }

    // Index order is face order: the left image goes on z = +hz, the front image on x = +hx.
    const char* names[kFaceCount] = {top, bottom, back, front, left, right};
    for (int i = 0; i < kFaceCount; ++i) {
        lastResult = D3DXCreateTextureFromFileA(device, names[i], &faceTextures[i]);
        if (FAILED(lastResult)) {
            return lastResult;
        }
    }
    return S_OK;
}

HRESULT Skybox::Render(D3DXVECTOR3 cameraPosition, IDirect3DDevice8* device) {
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    D3DXMatrixTranslation(&world, cameraPosition.x, cameraPosition.y, cameraPosition.z);
    lastResult = device->SetTransform(D3DTS_WORLD, &world);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetStreamSource(0, vertexBuffer, sizeof(SkyVertex));
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetVertexShader(kSkyVertexFvf);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    for (int i = 0; i < kFaceCount; ++i) {
        lastResult = device->SetTexture(0, faceTextures[i]);
        if (FAILED(lastResult)) {
            return lastResult;
        }
        lastResult = device->DrawPrimitive(D3DPT_TRIANGLESTRIP, static_cast<UINT>(4 * i), 2);
        if (FAILED(lastResult)) {
            return lastResult;
        }
    }
    return S_OK;
}

HRESULT Skybox::Release() {
    ReleaseAndClear(vertexBuffer);
    for (IDirect3DTexture8*& texture : faceTextures) {
        ReleaseAndClear(texture);
    }
    return S_OK;
}
