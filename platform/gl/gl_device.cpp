#include "platform/gl/gl_device.h"

#include <cstring>
#include <new>

#include "platform/gl/gl_api.h"
#include "platform/gl/gl_direct3d.h"

namespace {

float ChannelOf(D3DCOLOR color, int shift) {
    return static_cast<float>((color >> shift) & 0xFF) / 255.0f;
}

}  // namespace

HRESULT GlDevice::Create(GlDirect3D* parent, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS& presentParameters, IDirect3DDevice8** out) {
    HWND window =
        presentParameters.hDeviceWindow != nullptr ? presentParameters.hDeviceWindow : focusWindow;
    std::unique_ptr<GlSurface> surface = GlCreateSurface(window, !presentParameters.Windowed);
    if (!surface) {
        return D3DERR_NOTAVAILABLE;
    }
    GlDevice* device = new (std::nothrow)
        GlDevice(parent, focusWindow, behaviorFlags, presentParameters, std::move(surface));
    if (device == nullptr) {
        return E_OUTOFMEMORY;
    }
    if (!device->ApplyPresentParameters(presentParameters)) {
        device->Release();
        return D3DERR_NOTAVAILABLE;
    }
    *out = device;
    return D3D_OK;
}

void GlDevice::FillCaps(D3DCAPS8* caps) {
    std::memset(caps, 0, sizeof(*caps));
    caps->DeviceType = D3DDEVTYPE_HAL;
    caps->AdapterOrdinal = D3DADAPTER_DEFAULT;
    caps->Caps2 = D3DCAPS2_CANRENDERWINDOWED | D3DCAPS2_DYNAMICTEXTURES;
    caps->PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    caps->TextureCaps =
        D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    caps->TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                              D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR |
                              D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MIPFLINEAR;
    caps->TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR |
                               D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_INDEPENDENTUV;
    // OpenGL 3.3 guarantees at least 1024; the texture code may raise this from the context.
    caps->MaxTextureWidth = 4096;
    caps->MaxTextureHeight = 4096;
    caps->MaxTextureAspectRatio = 4096;
    caps->MaxTextureBlendStages = kTextureStageCount;
    caps->MaxSimultaneousTextures = 1;
    caps->MaxPrimitiveCount = 0xFFFFF;
    caps->MaxVertexIndex = 0xFFFFF;
    caps->MaxStreams = 1;
    caps->MaxStreamStride = 255;
}

HRESULT GlDevice::CheckFormat(DWORD usage, D3DRESOURCETYPE resourceType, D3DFORMAT format) {
    if (resourceType != D3DRTYPE_TEXTURE || usage != 0) {
        return D3DERR_NOTAVAILABLE;
    }
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
            return D3D_OK;
        default:
            return D3DERR_NOTAVAILABLE;
    }
}

GlDevice::GlDevice(GlDirect3D* owner, HWND focusWindow, DWORD behaviorFlags,
                   const D3DPRESENT_PARAMETERS& parameters, std::unique_ptr<GlSurface> glSurface)
    : referenceCount(1),
      parent(owner),
      creationParameters{D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, focusWindow, behaviorFlags},
      presentParameters(parameters),
      surface(std::move(glSurface)),
      pacer(MakeSystemPresentPacer()),
      state(parameters.EnableAutoDepthStencil != FALSE),
      inScene(false),
      textures{},
      streamSource(nullptr),
      streamStride(0),
      vertexShader(0) {
    parent->AddRef();
    pacer.SetRefreshRate(surface->RefreshRateHz());
}

GlDevice::~GlDevice() {
    ReleaseBindings();
    backBuffer.Destroy();
    surface.reset();
    parent->Release();
}

void GlDevice::ReleaseBindings() {
    for (auto& texture : textures) {
        if (texture != nullptr) {
            texture->Release();
            texture = nullptr;
        }
    }
    if (streamSource != nullptr) {
        streamSource->Release();
        streamSource = nullptr;
    }
}

bool GlDevice::ApplyPresentParameters(D3DPRESENT_PARAMETERS& parameters) {
    surface->SetFullScreen(!parameters.Windowed);
    int width = static_cast<int>(parameters.BackBufferWidth);
    int height = static_cast<int>(parameters.BackBufferHeight);
    if (parameters.Windowed && (width == 0 || height == 0)) {
        // A windowed device with no size takes the window's client size.
        int drawableWidth = 0;
        int drawableHeight = 0;
        surface->GetDrawableSize(&drawableWidth, &drawableHeight);
        width = width == 0 ? drawableWidth : width;
        height = height == 0 ? drawableHeight : height;
    }
    if (width <= 0 || height <= 0) {
        return false;
    }
    if (!backBuffer.Create(width, height, parameters.EnableAutoDepthStencil != FALSE)) {
        return false;
    }
    backBuffer.Bind();
    glViewport(0, 0, width, height);
    surface->SetSwapInterval(PacedPresents() ? 1 : 0);
    return true;
}

bool GlDevice::PacedPresents() const {
    if (!surface->HasDisplay()) {
        return false;
    }
    if (presentParameters.Windowed) {
        return presentParameters.SwapEffect == D3DSWAPEFFECT_COPY_VSYNC;
    }
    return presentParameters.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
}

HRESULT STDMETHODCALLTYPE GlDevice::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE GlDevice::AddRef() {
    return ++referenceCount;
}

ULONG STDMETHODCALLTYPE GlDevice::Release() {
    const ULONG remaining = --referenceCount;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE GlDevice::GetDirect3D(IDirect3D8** direct3d) {
    if (direct3d == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    parent->AddRef();
    *direct3d = parent;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::GetDeviceCaps(D3DCAPS8* caps) {
    if (caps == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    FillCaps(caps);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::GetDisplayMode(D3DDISPLAYMODE* mode) {
    if (mode == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    D3DDISPLAYMODE desktop{};
    if (!GlQueryDesktopMode(&desktop)) {
        return D3DERR_NOTAVAILABLE;
    }
    *mode = desktop;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE
GlDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    if (parameters == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *parameters = creationParameters;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::Reset(D3DPRESENT_PARAMETERS* parameters) {
    if (parameters == nullptr || inScene) {
        return D3DERR_INVALIDCALL;
    }
    presentParameters = *parameters;
    if (!ApplyPresentParameters(presentParameters)) {
        return D3DERR_NOTAVAILABLE;
    }
    // As on Direct3D 8, a reset returns every state to its default.
    ReleaseBindings();
    state = DeviceState(presentParameters.EnableAutoDepthStencil != FALSE);
    vertexShader = 0;
    streamStride = 0;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::Present(const RECT*, const RECT*, HWND, const RGNDATA*) {
    if (inScene) {
        return D3DERR_INVALIDCALL;
    }
    if (surface->HasDisplay()) {
        int drawableWidth = 0;
        int drawableHeight = 0;
        surface->GetDrawableSize(&drawableWidth, &drawableHeight);
        backBuffer.BlitToWindow(drawableWidth, drawableHeight);
        surface->SwapBuffers();
        if (PacedPresents()) {
            pacer.AfterSwap();
        }
    } else {
        glFlush();
    }
    backBuffer.Bind();
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                                                  IDirect3DTexture8**) {
    return D3DERR_NOTAVAILABLE;
}

HRESULT STDMETHODCALLTYPE GlDevice::CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL,
                                                       IDirect3DVertexBuffer8**) {
    return D3DERR_NOTAVAILABLE;
}

HRESULT STDMETHODCALLTYPE GlDevice::BeginScene() {
    if (inScene) {
        return D3DERR_INVALIDCALL;
    }
    inScene = true;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::EndScene() {
    if (!inScene) {
        return D3DERR_INVALIDCALL;
    }
    inScene = false;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags,
                                          D3DCOLOR color, float z, DWORD) {
    if ((flags & D3DCLEAR_ZBUFFER) && !backBuffer.HasDepth()) {
        return D3DERR_INVALIDCALL;
    }
    if ((flags & D3DCLEAR_STENCIL) != 0) {
        return D3DERR_INVALIDCALL;  // the back buffer has no stencil
    }
    if (rectCount > 0 && rects == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(ChannelOf(color, 16), ChannelOf(color, 8), ChannelOf(color, 0),
                     ChannelOf(color, 24));
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        // Clearing ignores the depth-write state, as on Direct3D.
        glDepthMask(GL_TRUE);
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    backBuffer.Bind();
    if (rectCount == 0) {
        glDisable(GL_SCISSOR_TEST);
        glClear(mask);
    } else {
        // Rectangles are top-down in Direct3D; the scissor box counts from the bottom.
        glEnable(GL_SCISSOR_TEST);
        for (DWORD i = 0; i < rectCount; ++i) {
            const D3DRECT& r = rects[i];
            if (r.x2 <= r.x1 || r.y2 <= r.y1) {
                continue;
            }
            glScissor(r.x1, backBuffer.Height() - r.y2, r.x2 - r.x1, r.y2 - r.y1);
            glClear(mask);
        }
        glDisable(GL_SCISSOR_TEST);
    }
    // The draw path re-applies its own write masks from the stored state.
    glDepthMask(state.RenderState(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetTransform(D3DTRANSFORMSTATETYPE transform,
                                                 const D3DMATRIX* matrix) {
    if (matrix == nullptr || !DeviceState::IsValidTransform(transform)) {
        return D3DERR_INVALIDCALL;
    }
    state.SetTransform(transform, *matrix);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetMaterial(const D3DMATERIAL8* material) {
    if (material == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    state.SetMaterial(*material);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetRenderState(D3DRENDERSTATETYPE renderState, DWORD value) {
    if (!DeviceState::IsValidRenderState(renderState)) {
        return D3DERR_INVALIDCALL;
    }
    state.SetRenderState(renderState, value);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    if (stage >= kTextureStageCount) {
        return D3DERR_INVALIDCALL;
    }
    if (texture != nullptr) {
        texture->AddRef();
    }
    if (textures[stage] != nullptr) {
        textures[stage]->Release();
    }
    textures[stage] = texture;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                         DWORD value) {
    if (!DeviceState::IsValidTextureStageState(stage, type)) {
        return D3DERR_INVALIDCALL;
    }
    state.SetTextureStageState(stage, type, value);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) {
    return D3DERR_NOTAVAILABLE;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetVertexShader(DWORD handle) {
    vertexShader = handle;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetStreamSource(UINT streamNumber,
                                                    IDirect3DVertexBuffer8* streamData,
                                                    UINT stride) {
    if (streamNumber != 0) {
        return D3DERR_INVALIDCALL;
    }
    if (streamData != nullptr) {
        streamData->AddRef();
    }
    if (streamSource != nullptr) {
        streamSource->Release();
    }
    streamSource = streamData;
    streamStride = stride;
    return D3D_OK;
}

void GlDevice::ReadBackBuffer(std::vector<uint8_t>* rgba, int* width, int* height) const {
    backBuffer.ReadPixels(rgba);
    *width = backBuffer.Width();
    *height = backBuffer.Height();
}
