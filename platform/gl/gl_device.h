// IDirect3DDevice8 over OpenGL 3.3 core. Owns the GL context (through its GlSurface), the back
// buffer and the stored Direct3D state; Set* calls only store, and drawing pushes what changed.
// It never loses its device: Reset only re-applies the presentation parameters.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "platform/direct3d8.h"
#include "platform/gl/device_state.h"
#include "platform/gl/gl_back_buffer.h"
#include "platform/gl/gl_surface.h"
#include "platform/gl/present_pacer.h"

class GlDirect3D;

class GlDevice final : public IDirect3DDevice8 {
public:
    static HRESULT Create(GlDirect3D* parent, HWND focusWindow, DWORD behaviorFlags,
                          D3DPRESENT_PARAMETERS& presentParameters, IDirect3DDevice8** out);
    static void FillCaps(D3DCAPS8* caps);
    static HRESULT CheckFormat(DWORD usage, D3DRESOURCETYPE resourceType, D3DFORMAT format);

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

    const DeviceState& State() const { return state; }
    // The back buffer as last drawn, RGBA, top row first.
    void ReadBackBuffer(std::vector<uint8_t>* rgba, int* width, int* height) const;

private:
    GlDevice(GlDirect3D* parent, HWND focusWindow, DWORD behaviorFlags,
             const D3DPRESENT_PARAMETERS& presentParameters, std::unique_ptr<GlSurface> surface);
    ~GlDevice();
    bool ApplyPresentParameters(D3DPRESENT_PARAMETERS& presentParameters);
    bool PacedPresents() const;
    void ReleaseBindings();

    std::atomic<ULONG> referenceCount;
    GlDirect3D* parent;
    D3DDEVICE_CREATION_PARAMETERS creationParameters;
    D3DPRESENT_PARAMETERS presentParameters;
    std::unique_ptr<GlSurface> surface;
    GlBackBuffer backBuffer;
    PresentPacer pacer;
    DeviceState state;
    bool inScene;

    IDirect3DBaseTexture8* textures[kTextureStageCount];
    IDirect3DVertexBuffer8* streamSource;
    UINT streamStride;
    DWORD vertexShader;
};
