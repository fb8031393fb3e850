#include "tools/capture/stage_timing_device.h"

#include "tools/capture/stage_timer.h"
#include "tools/capture/stage_timing_direct3d.h"

StageTimingDevice::StageTimingDevice(IDirect3DDevice8* layer, IDirect3D8* owner)
    : device(layer), parent(owner), references(1), stageTimer(nullptr), vertexFormat(0) {
    parent->AddRef();
}

StageTimingDevice::~StageTimingDevice() {
    device->Release();
    parent->Release();
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::QueryInterface(REFIID riid, void** object) {
    return device->QueryInterface(riid, object);
}

ULONG STDMETHODCALLTYPE StageTimingDevice::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE StageTimingDevice::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::GetDirect3D(IDirect3D8** direct3d) {
    if (direct3d == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    parent->AddRef();
    *direct3d = parent;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::GetDeviceCaps(D3DCAPS8* caps) {
    return device->GetDeviceCaps(caps);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::GetDisplayMode(D3DDISPLAYMODE* mode) {
    return device->GetDisplayMode(mode);
}

HRESULT STDMETHODCALLTYPE
StageTimingDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    return device->GetCreationParameters(parameters);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::Reset(D3DPRESENT_PARAMETERS* presentParameters) {
    if (presentParameters == nullptr) {
        return device->Reset(nullptr);
    }
    D3DPRESENT_PARAMETERS asked = StageTimingDirect3D::AsAsked(*presentParameters);
    return device->Reset(&asked);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::Present(const RECT* sourceRect, const RECT* destRect,
                                                     HWND destWindowOverride,
                                                     const RGNDATA* dirtyRegion) {
    if (stageTimer != nullptr) {
        stageTimer->BeforePresent();
    }
    const HRESULT result = device->Present(sourceRect, destRect, destWindowOverride, dirtyRegion);
    if (stageTimer != nullptr) {
        stageTimer->AfterPresent();
    }
    return result;
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::CreateTexture(UINT width, UINT height, UINT levels,
                                                           DWORD usage, D3DFORMAT format,
                                                           D3DPOOL pool,
                                                           IDirect3DTexture8** texture) {
    return device->CreateTexture(width, height, levels, usage, format, pool, texture);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf,
                                                                D3DPOOL pool,
                                                                IDirect3DVertexBuffer8** buffer) {
    return device->CreateVertexBuffer(length, usage, fvf, pool, buffer);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::BeginScene() {
    return device->BeginScene();
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::EndScene() {
    return device->EndScene();
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::Clear(DWORD rectCount, const D3DRECT* rects,
                                                   DWORD flags, D3DCOLOR color, float z,
                                                   DWORD stencil) {
    return device->Clear(rectCount, rects, flags, color, z, stencil);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::SetTransform(D3DTRANSFORMSTATETYPE state,
                                                          const D3DMATRIX* matrix) {
    return device->SetTransform(state, matrix);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::SetMaterial(const D3DMATERIAL8* material) {
    return device->SetMaterial(material);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    return device->SetRenderState(state, value);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::SetTexture(DWORD stage,
                                                        IDirect3DBaseTexture8* texture) {
    return device->SetTexture(stage, texture);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::SetTextureStageState(DWORD stage,
                                                                  D3DTEXTURESTAGESTATETYPE type,
                                                                  DWORD value) {
    return device->SetTextureStageState(stage, type, value);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::DrawPrimitive(D3DPRIMITIVETYPE primitiveType,
                                                           UINT startVertex, UINT primitiveCount) {
    if (stageTimer != nullptr) {
        stageTimer->BeforeDraw(vertexFormat, primitiveType);
    }
    return device->DrawPrimitive(primitiveType, startVertex, primitiveCount);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::SetVertexShader(DWORD handle) {
    vertexFormat = handle;
    return device->SetVertexShader(handle);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::SetStreamSource(UINT streamNumber,
                                                             IDirect3DVertexBuffer8* streamData,
                                                             UINT stride) {
    return device->SetStreamSource(streamNumber, streamData, stride);
}
