// The Direct3D 8 device of the OpenGL capture tools: forwards every call to the layer's device
// unchanged and in order, and tells a StageTimer, while one is set, of each draw and present, so
// that the tools can say where a frame's time goes without the layer knowing of them. A reset
// keeps the tool's choice of presentation interval.
#pragma once

#include "platform/direct3d8.h"

class StageTimer;

class StageTimingDevice final : public IDirect3DDevice8 {
public:
    // Takes over the caller's reference on `layer`; holds one on `parent`.
    StageTimingDevice(IDirect3DDevice8* layer, IDirect3D8* parent);
    StageTimingDevice(const StageTimingDevice&) = delete;
    StageTimingDevice& operator=(const StageTimingDevice&) = delete;

    // The layer's device, for what the tools read from it directly (the back buffer).
    IDirect3DDevice8* Layer() const { return device; }
    // Null: nobody is told.
    void SetStageTimer(StageTimer* timer) { stageTimer = timer; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D8** direct3d) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS8* caps) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE
    GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* presentParameters) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* sourceRect, const RECT* destRect,
                                      HWND destWindowOverride, const RGNDATA* dirtyRegion) override;
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DTexture8** texture) override;
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                                 IDirect3DVertexBuffer8** buffer) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags,
                                    D3DCOLOR color, float z, DWORD stencil) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state,
                                           const D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL8* material) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD value) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE primitiveType, UINT startVertex,
                                            UINT primitiveCount) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(DWORD handle) override;
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT streamNumber, IDirect3DVertexBuffer8* streamData,
                                              UINT stride) override;

private:
    ~StageTimingDevice();

    IDirect3DDevice8* device;
    IDirect3D8* parent;
    ULONG references;
    StageTimer* stageTimer;
    DWORD vertexFormat;  // the last SetVertexShader's, which names the stage a draw belongs to
};
