#include "environment/water_and_sand.h"

#include "d3dx/d3dx_texture.h"
#include "render/color_vertex.h"
#include "render/release_and_clear.h"

namespace {

const float kSandHeight = -4.9f;
const float kWaterHeight = -2.0f;
const float kHalfSide = 500.0f;
const float kSandRepeats = 3.0f;
const float kWaterRepeats = 15.0f;

ColorVertex SeaVertex(float x, float y, float z, float tu, float tv) {
    return ColorVertex{x, y, z, 0, 1, 0, 0xFFFFFFFF, tu, tv};
}

}  // namespace

WaterAndSand::WaterAndSand()
    : vertexBuffer(nullptr),
      vertexCount(0),
      waterTexture(nullptr),
      sandTexture(nullptr),
      lastResult(S_OK) {}

WaterAndSand::~WaterAndSand() {
    Release();
}

HRESULT WaterAndSand::Load(IDirect3DDevice8* device) {
    Release();
    vertexCount = 8;
    if (FAILED(CreateSeaBuffer(device))) {
        return lastResult;
    }
    lastResult = D3DXCreateTextureFromFileA(device, "data/water.bmp", &waterTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = D3DXCreateTextureFromFileA(device, "data/sand.bmp", &sandTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return S_OK;
}

HRESULT WaterAndSand::CreateSeaBuffer(IDirect3DDevice8* device) {
    lastResult = device->CreateVertexBuffer(static_cast<UINT>(vertexCount) * sizeof(ColorVertex),
                                            D3DUSAGE_WRITEONLY, kColorVertexFvf, D3DPOOL_DEFAULT,
                                            &vertexBuffer);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    BYTE* data = nullptr;
    lastResult = vertexBuffer->Lock(0, 0, &data, 0);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    ColorVertex* v = reinterpret_cast<ColorVertex*>(data);
    const float s = kHalfSide;
    v[0] = SeaVertex(-s, kSandHeight, -s, 0, 0);
    v[1] = SeaVertex(s, kSandHeight, -s, kSandRepeats, 0);
    v[2] = SeaVertex(-s, kSandHeight, s, 0, kSandRepeats);
    v[3] = SeaVertex(s, kSandHeight, s, kSandRepeats, kSandRepeats);
    v[4] = SeaVertex(-s, kWaterHeight, -s, 0, 0);
    v[5] = SeaVertex(s, kWaterHeight, -s, kWaterRepeats, 0);
    v[6] = SeaVertex(-s, kWaterHeight, s, 0, kWaterRepeats);
    v[7] = SeaVertex(s, kWaterHeight, s, kWaterRepeats, kWaterRepeats);
    lastResult = vertexBuffer->Unlock();
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return S_OK;
}

void WaterAndSand::ReleaseDefaultPool() {
    ReleaseAndClear(vertexBuffer);
}

HRESULT WaterAndSand::RestoreDefaultPool(IDirect3DDevice8* device) {
    ReleaseDefaultPool();
    if (vertexCount == 0) {
        return S_OK;  // never loaded
    }
    return CreateSeaBuffer(device);
}

D3DXMATRIX WaterAndSand::TextureMatrixAt(DWORD milliseconds) {
    // The whole clock value, converted as unsigned: the angle falls back to 0 when it wraps.
    const float angle = static_cast<float>(static_cast<double>(milliseconds) / 10000.0);
    D3DXMATRIX matrix;
    D3DXMatrixIdentity(&matrix);
    D3DXMatrixRotationYawPitchRoll(&matrix, 0.0f, 0.0f, angle);
    return matrix;
}

HRESULT WaterAndSand::Render(IDirect3DDevice8* device) {
    lastResult = device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_WRAP);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = BindColorVertices(device, vertexBuffer);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetTexture(0, sandTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    if (FAILED(lastResult)) {
        return lastResult;
    }

    // The water: water * (water + background), over the sand and the sunken level, without
    // hiding what is drawn after it.
    lastResult = device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCCOLOR);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);

    const D3DXMATRIX textureMatrix = TextureMatrixAt(timeGetTime());
    lastResult = device->SetTransform(D3DTS_TEXTURE0, &textureMatrix);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetTexture(0, waterTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4, 2);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    lastResult = device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return S_OK;
}

HRESULT WaterAndSand::Release() {
    ReleaseDefaultPool();
    ReleaseAndClear(waterTexture);
    ReleaseAndClear(sandTexture);
    return S_OK;
}
