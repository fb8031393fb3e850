#include "tools/capture/forwarding_device.h"

ForwardingDevice::ForwardingDevice(IDirect3DDevice8* innerDevice, IDirect3D8* parentObject)
    : inner(innerDevice), parent(parentObject), references(1) {
    parent->AddRef();
}

ForwardingDevice::~ForwardingDevice() {
    inner->Release();
    parent->Release();
}

// The inner device's own interfaces come back as this one, so that nobody gets past the wrapper.
HRESULT STDMETHODCALLTYPE ForwardingDevice::QueryInterface(REFIID riid, void** object) {
    const HRESULT result = inner->QueryInterface(riid, object);
    if (SUCCEEDED(result) && *object == inner) {
        inner->Release();
        AddRef();
        *object = static_cast<IDirect3DDevice8*>(this);
    }
    return result;
}

ULONG STDMETHODCALLTYPE ForwardingDevice::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE ForwardingDevice::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::GetDirect3D(IDirect3D8** direct3d) {
    if (direct3d == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    parent->AddRef();
    *direct3d = parent;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::GetDeviceCaps(D3DCAPS8* caps) {
    return inner->GetDeviceCaps(caps);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::GetDisplayMode(D3DDISPLAYMODE* mode) {
    return inner->GetDisplayMode(mode);
}

HRESULT STDMETHODCALLTYPE
ForwardingDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    return inner->GetCreationParameters(parameters);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::Reset(D3DPRESENT_PARAMETERS* presentParameters) {
    return inner->Reset(presentParameters);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::Present(const RECT* sourceRect, const RECT* destRect,
                                                    HWND destWindowOverride,
                                                    const RGNDATA* dirtyRegion) {
    return inner->Present(sourceRect, destRect, destWindowOverride, dirtyRegion);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::CreateTexture(UINT width, UINT height, UINT levels,
                                                          DWORD usage, D3DFORMAT format,
                                                          D3DPOOL pool,
                                                          IDirect3DTexture8** texture) {
    return inner->CreateTexture(width, height, levels, usage, format, pool, texture);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf,
                                                               D3DPOOL pool,
                                                               IDirect3DVertexBuffer8** buffer) {
    return inner->CreateVertexBuffer(length, usage, fvf, pool, buffer);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::BeginScene() {
    return inner->BeginScene();
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::EndScene() {
    return inner->EndScene();
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::Clear(DWORD rectCount, const D3DRECT* rects,
                                                  DWORD flags, D3DCOLOR color, float z,
                                                  DWORD stencil) {
    return inner->Clear(rectCount, rects, flags, color, z, stencil);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetTransform(D3DTRANSFORMSTATETYPE state,
                                                         const D3DMATRIX* matrix) {
    return inner->SetTransform(state, matrix);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetMaterial(const D3DMATERIAL8* material) {
    return inner->SetMaterial(material);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    return inner->SetRenderState(state, value);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetTexture(DWORD stage,
                                                       IDirect3DBaseTexture8* texture) {
    return inner->SetTexture(stage, texture);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetTextureStageState(DWORD stage,
                                                                 D3DTEXTURESTAGESTATETYPE type,
                                                                 DWORD value) {
    return inner->SetTextureStageState(stage, type, value);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::DrawPrimitive(D3DPRIMITIVETYPE primitiveType,
                                                          UINT startVertex, UINT primitiveCount) {
    return inner->DrawPrimitive(primitiveType, startVertex, primitiveCount);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetVertexShader(DWORD handle) {
    return inner->SetVertexShader(handle);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetStreamSource(UINT streamNumber,
                                                            IDirect3DVertexBuffer8* streamData,
                                                            UINT stride) {
    return inner->SetStreamSource(streamNumber, streamData, stride);
}
