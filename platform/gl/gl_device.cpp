// IDirect3DDevice8 over OpenGL: creation, lifetime, reset and presentation. The stored state and
// the draw live in gl_device_state.cpp, capabilities and resource creation in
// gl_device_resources.cpp.
#include "platform/gl/gl_device.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "platform/gl/gl_api.h"
#include "platform/gl/gl_direct3d.h"
#include "platform/gl/live_objects.h"

namespace {

// Devices alive, for the exit handler.
std::vector<GlDevice*>& LiveDevices() {
    static std::vector<GlDevice*>* devices = new std::vector<GlDevice*>();
    return *devices;
}
bool exitHandlerRegistered = false;

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
    // Registered after the window system registered its own (while the surface was made), so
    // it runs first. Objects that static destructors release later (a game object's member
    // releasing its buffer) then find no context and make no OpenGL call.
    if (!exitHandlerRegistered) {
        exitHandlerRegistered = std::atexit(AbandonContextsAtExit) == 0;
    }
    *out = device;
    return D3D_OK;
}

void GlDevice::AbandonContextsAtExit() {
    for (GlDevice* device : LiveDevices()) {
        device->AbandonContext();
    }
}

void GlDevice::AbandonContext() {
    if (!HasContext()) {
        return;
    }
    // Destroying the context frees everything in it.
    programs.Abandon();
    backBuffer.Abandon();
    surface.reset();
}

GlDevice::GlDevice(GlDirect3D* owner, HWND focusWindow, DWORD behaviorFlags,
                   const D3DPRESENT_PARAMETERS& parameters, std::unique_ptr<GlSurface> glSurface)
    : referenceCount(1),
      parent(owner),
      creationParameters{D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, focusWindow, behaviorFlags},
      presentParameters(parameters),
      surface(std::move(glSurface)),
      dialect(&surface->Dialect()),
      pacer(MakeSystemPresentPacer()),
      swapInterval(-1),
      gridPaced(false),
      state(parameters.EnableAutoDepthStencil != FALSE),
      inScene(false),
      maxTextureSize(kMinimumMaxTextureSize),
      textures{},
      streamSource(nullptr),
      streamStride(0),
      vertexShader(0),
      vertexLayout{},
      vertexLayoutValid(false),
      bindingVersion(0),
      viewportVersion(0),
      vertexArray(0),
      samplers{},
      programs(dialect->Glsl()),
      appliedRaster{},
      rasterFromVersion(kNever),
      appliedSamplers{},
      samplersFromVersion(kNever),
      currentKey{},
      currentProgram(nullptr),
      keyFromRenderVersion(kNever),
      keyFromStageVersion(kNever),
      keyFromBindingVersion(kNever),
      appliedProgram(0),
      appliedTextures{},
      appliedVertexBuffer(0),
      appliedFvf(0),
      appliedStride(0),
      modelView{},
      glProjection{},
      vertexMatricesVersion(kNever),
      vertexMatricesViewport(kNever) {
    parent->AddRef();
    CountGlObjectCreated();
    LiveDevices().push_back(this);
    InitContextState();
}

GlDevice::~GlDevice() {
    // Bound resources with no outside user go here, while the context is still current.
    ReleaseBindings();
    if (HasContext()) {
        programs.Clear();
        glDeleteSamplers(static_cast<GLsizei>(kTextureStageCount), samplers);
        glDeleteVertexArrays(1, &vertexArray);
        backBuffer.Destroy();
        surface.reset();
    }
    auto& devices = LiveDevices();
    devices.erase(std::remove(devices.begin(), devices.end(), this), devices.end());
    CountGlObjectDestroyed();
    parent->Release();
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
    if (!backBuffer.Create(width, height, parameters.EnableAutoDepthStencil != FALSE,
                           parameters.AutoDepthStencilFormat)) {
        return false;
    }
    backBuffer.Bind();
    glViewport(0, 0, width, height);
    ++viewportVersion;
    // A reset may follow a change of display or mode: the rate is read again.
    surface->ForgetRefreshRate();
    ApplyPace();
    return true;
}

void GlDevice::ApplyPace() {
    const double hertz = PacedPresents() ? surface->RefreshRateHz() : 0.0;
    const PresentPace pace = ChoosePresentPace(hertz);
    const int wanted = PacedPresents() ? pace.swapInterval : 0;
    if (wanted != swapInterval) {
        // A platform that refuses N retraces a present may still sync to every one; the grid
        // then keeps the pace. One that refuses both leaves the pace to the grid alone.
        if (surface->SetSwapInterval(wanted)) {
            swapInterval = wanted;
        } else if (wanted > 1 && surface->SetSwapInterval(1)) {
            swapInterval = 1;
        } else {
            swapInterval = 0;
            surface->SetSwapInterval(0);
        }
    }
    // Where every present surely waits for its retraces and they come at the pace's own rate,
    // the display keeps the pace; a clock beside it would only wait at another phase.
    const bool displayKeepsPace =
        surface->PresentWaitsForRetrace() && swapInterval == pace.swapInterval &&
        std::fabs(pace.presentsPerSecond * pace.swapInterval - hertz) <= 1e-6 * hertz;
    gridPaced = PacedPresents() && !displayKeepsPace;
    // Whether a swap truly waits is seen from when swaps return; where it does, the retraces
    // lead and the grid stands aside.
    pacer.SetRate(pace.presentsPerSecond, hertz, swapInterval);
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
    vertexLayoutValid = false;
    streamStride = 0;
    ++bindingVersion;
    ForgetAppliedState();
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
        backBuffer.Bind();
        const bool shownBySurface = surface->PreparePicture(backBuffer.Width(), backBuffer.Height(),
                                                            drawableWidth, drawableHeight);
        if (!shownBySurface) {
            backBuffer.BlitToWindow(drawableWidth, drawableHeight);
        }
        if (PacedPresents()) {
            // The frame is finished while the pacer waits, not after it.
            glFlush();
            // Retraces that led and stopped (a server that no longer answers) leave the loop
            // unpaced: the grid takes over at this present, not at the next rate check.
            const bool retracesStopped = !gridPaced && !surface->PresentWaitsForRetrace();
            if (pacer.RateCheckDue() || retracesStopped) {
                ApplyPace();
            }
            if (gridPaced) {
                pacer.BeforePresent();
            }
        }
        if (shownBySurface) {
            surface->ShowPicture();
        } else {
            surface->SwapBuffers();
        }
        if (PacedPresents() && gridPaced) {
            pacer.AfterPresent();
        }
        RestoreWriteMasks();
    } else {
        // Nothing to show: the frame is complete when Present returns, as a blocking present
        // would leave it, so the capture tool's timing covers the drawing.
        glFinish();
    }
    backBuffer.Bind();
    return D3D_OK;
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

void GlDevice::ReadBackBuffer(std::vector<uint8_t>* rgba, int* width, int* height) const {
    backBuffer.ReadPixels(rgba);
    *width = backBuffer.Width();
    *height = backBuffer.Height();
}
