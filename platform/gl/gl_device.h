// IDirect3DDevice8 over OpenGL 3.3 core or OpenGL ES 3.0 (gl_dialect.h). Owns the GL context
// (through its GlSurface), the back buffer, the stored Direct3D state and the generated
// fixed-function programs. Set* calls only store and mark what changed; DrawPrimitive works out the
// OpenGL state that stored state stands for and pushes only what differs from what it last applied.
// It never loses its device: Reset only re-applies the presentation parameters and returns every
// state to its default.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/direct3d8.h"
#include "platform/gl/device_state.h"
#include "platform/gl/fixed_function_key.h"
#include "platform/gl/fvf_layout.h"
#include "platform/gl/gl_back_buffer.h"
#include "platform/gl/gl_program_cache.h"
#include "platform/gl/gl_raster_state.h"
#include "platform/gl/gl_sampler_state.h"
#include "platform/gl/gl_surface.h"
#include "platform/gl/present_pacer.h"

class GlDirect3D;
class GlTexture;
class GlVertexBuffer;

class GlDevice final : public IDirect3DDevice8 {
public:
    // Textures are created and filled on a unit no stage samples from.
    static constexpr GLuint kUploadTextureUnit = kTextureStageCount;
    // OpenGL 3.3 promises at least this texture side.
    static constexpr UINT kMinimumMaxTextureSize = 1024;

    static HRESULT Create(GlDirect3D* parent, HWND focusWindow, DWORD behaviorFlags,
                          D3DPRESENT_PARAMETERS& presentParameters, IDirect3DDevice8** out);
    // The capabilities of a device whose context allows textures up to maxTextureSize a side.
    static void FillCaps(D3DCAPS8* caps, UINT maxTextureSize);
    static HRESULT CheckFormat(DWORD usage, D3DRESOURCETYPE resourceType, D3DFORMAT format);
    // The largest texture side of the most recent device's context; before any device exists,
    // the least OpenGL 3.3 guarantees.
    static UINT KnownMaxTextureSize();

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
    // How many distinct fixed-function programs have been built.
    size_t ProgramCount() const { return programs.Size(); }

    // Called by resources as they delete their OpenGL objects, so the record of what is bound
    // never names a deleted (and perhaps reused) object.
    void ForgetTexture(GLuint name);
    void ForgetBuffer(GLuint name);

    // False once the context was torn down at process exit; resources released after that
    // (by static destructors) skip their OpenGL calls.
    bool HasContext() const { return surface != nullptr; }
    // What the context's dialect needs said its own way.
    const GlDialect& Dialect() const { return *dialect; }

private:
    GlDevice(GlDirect3D* parent, HWND focusWindow, DWORD behaviorFlags,
             const D3DPRESENT_PARAMETERS& presentParameters, std::unique_ptr<GlSurface> surface);
    ~GlDevice();
    bool ApplyPresentParameters(D3DPRESENT_PARAMETERS& presentParameters);
    bool PacedPresents() const;
    // Reads the display's rate and sets the swap interval and the pacer's grid for it.
    void ApplyPace();
    void InitContextState();
    void QueryMaxTextureSize();
    void ReleaseBindings();
    void ForgetAppliedState();
    // At process exit, before the window system's own exit handlers: the context goes with
    // every object in it, and later releases make no OpenGL call.
    void AbandonContext();
    static void AbandonContextsAtExit();

    // The draw's steps: each compares with what was applied and calls OpenGL only on change.
    GlProgram* PrepareProgram();
    void ApplyRasterState();
    void ApplyStageBindings(const FixedFunctionKey& key);
    void ApplyVertexLayout();
    void ApplyUniforms(GlProgram* program);
    void ApplyRasterStateForced(const GlRasterState& raster);
    void RestoreWriteMasks();

    std::atomic<ULONG> referenceCount;
    GlDirect3D* parent;
    D3DDEVICE_CREATION_PARAMETERS creationParameters;
    D3DPRESENT_PARAMETERS presentParameters;
    std::unique_ptr<GlSurface> surface;
    const GlDialect* dialect;
    GlBackBuffer backBuffer;
    PresentPacer pacer;
    int swapInterval;  // as last set on the surface; -1 before
    bool gridPaced;    // whether the pacer's clock holds presents back
    DeviceState state;
    bool inScene;
    UINT maxTextureSize;

    // Bindings, held as the device's own references on the resources.
    GlTexture* textures[kTextureStageCount];
    GlVertexBuffer* streamSource;
    UINT streamStride;
    DWORD vertexShader;
    FvfLayout vertexLayout;
    bool vertexLayoutValid;
    uint64_t bindingVersion;  // bumped by SetTexture, SetStreamSource and SetVertexShader
    uint64_t viewportVersion;

    // OpenGL objects the device owns for its whole life.
    GLuint vertexArray;
    GLuint samplers[kTextureStageCount];
    GlProgramCache programs;

    // What was last applied to OpenGL, and the state versions it was derived from.
    static constexpr uint64_t kNever = ~uint64_t{0};
    GlRasterState appliedRaster;
    uint64_t rasterFromVersion;
    GlSamplerState appliedSamplers[kTextureStageCount];
    uint64_t samplersFromVersion;
    FixedFunctionKey currentKey;
    GlProgram* currentProgram;
    uint64_t keyFromRenderVersion;
    uint64_t keyFromStageVersion;
    uint64_t keyFromBindingVersion;
    GLuint appliedProgram;
    GLuint appliedTextures[kTextureStageCount];
    GLuint appliedVertexBuffer;
    DWORD appliedFvf;
    UINT appliedStride;
    // World x view and the projection in OpenGL's clip space, and what they were made from.
    D3DMATRIX modelView;
    D3DMATRIX glProjection;
    uint64_t vertexMatricesVersion;
    uint64_t vertexMatricesViewport;
};
