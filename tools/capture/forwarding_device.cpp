#include "tools/capture/forwarding_device.h"

ForwardingDevice::ForwardingDevice(IDirect3DDevice8* inner, IDirect3D8* parentObject)
    : ForwardingUnknown(inner, parentObject), parent(parentObject) {}

HRESULT STDMETHODCALLTYPE ForwardingDevice::GetDirect3D(IDirect3D8** direct3d) {
    if (direct3d == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    parent->AddRef();
    *direct3d = parent;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::GetDeviceCaps(D3DCAPS8* caps) {
    return Inner()->GetDeviceCaps(caps);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::GetDisplayMode(D3DDISPLAYMODE* mode) {
    return Inner()->GetDisplayMode(mode);
}

HRESULT STDMETHODCALLTYPE
ForwardingDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    return Inner()->GetCreationParameters(parameters);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::Reset(D3DPRESENT_PARAMETERS* presentParameters) {
    return Inner()->Reset(presentParameters);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::Present(const RECT* sourceRect, const RECT* destRect,
                                                    HWND destWindowOverride,
                                                    const RGNDATA* dirtyRegion) {
    return Inner()->Present(sourceRect, destRect, destWindowOverride, dirtyRegion);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::CreateTexture(UINT width, UINT height, UINT levels,
                                                          DWORD usage, D3DFORMAT format,
                                                          D3DPOOL pool,
                                                          IDirect3DTexture8** texture) {
    return Inner()->CreateTexture(width, height, levels, usage, format, pool, texture);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf,
                                                               D3DPOOL pool,
                                                               IDirect3DVertexBuffer8** buffer) {
    return Inner()->CreateVertexBuffer(length, usage, fvf, pool, buffer);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::BeginScene() {
    return Inner()->BeginScene();
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::EndScene() {
    return Inner()->EndScene();
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::Clear(DWORD rectCount, const D3DRECT* rects,
                                                  DWORD flags, D3DCOLOR color, float z,
                                                  DWORD stencil) {
    return Inner()->Clear(rectCount, rects, flags, color, z, stencil);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetTransform(D3DTRANSFORMSTATETYPE state,
                                                         const D3DMATRIX* matrix) {
    return Inner()->SetTransform(state, matrix);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetMaterial(const D3DMATERIAL8* material) {
    return Inner()->SetMaterial(material);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    return Inner()->SetRenderState(state, value);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetTexture(DWORD stage,
                                                       IDirect3DBaseTexture8* texture) {
    return Inner()->SetTexture(stage, texture);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetTextureStageState(DWORD stage,
                                                                 D3DTEXTURESTAGESTATETYPE type,
                                                                 DWORD value) {
    return Inner()->SetTextureStageState(stage, type, value);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::DrawPrimitive(D3DPRIMITIVETYPE primitiveType,
                                                          UINT startVertex, UINT primitiveCount) {
    return Inner()->DrawPrimitive(primitiveType, startVertex, primitiveCount);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetVertexShader(DWORD handle) {
    return Inner()->SetVertexShader(handle);
}

HRESULT STDMETHODCALLTYPE ForwardingDevice::SetStreamSource(UINT streamNumber,
                                                            IDirect3DVertexBuffer8* streamData,
                                                            UINT stride) {
    return Inner()->SetStreamSource(streamNumber, streamData, stride);
}
