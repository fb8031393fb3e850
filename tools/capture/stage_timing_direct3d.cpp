#include "tools/capture/stage_timing_direct3d.h"

#include <new>

#include "platform/gl/gl_direct3d.h"
#include "tools/capture/stage_timing_device.h"

namespace {

bool gamePacingKept = false;

}  // namespace

IDirect3D8* WINAPI Direct3DCreate8(UINT sdkVersion) {
    IDirect3D8* layer = GlDirect3DCreate8(sdkVersion);
    if (layer == nullptr) {
        return nullptr;
    }
    StageTimingDirect3D* wrapped = new (std::nothrow) StageTimingDirect3D(layer);
    if (wrapped == nullptr) {
        layer->Release();
    }
    return wrapped;
}

void StageTimingDirect3D::KeepGamePacing(bool kept) {
    gamePacingKept = kept;
}

D3DPRESENT_PARAMETERS StageTimingDirect3D::AsAsked(const D3DPRESENT_PARAMETERS& game) {
    D3DPRESENT_PARAMETERS asked = game;
    if (!gamePacingKept) {
        if (asked.Windowed) {
            if (asked.SwapEffect == D3DSWAPEFFECT_COPY_VSYNC) {
                asked.SwapEffect = D3DSWAPEFFECT_COPY;
            }
        } else {
            asked.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        }
    }
    return asked;
}

StageTimingDirect3D::StageTimingDirect3D(IDirect3D8* layer) : direct3d(layer), references(1) {}

StageTimingDirect3D::~StageTimingDirect3D() {
    direct3d->Release();
}

HRESULT STDMETHODCALLTYPE StageTimingDirect3D::QueryInterface(REFIID riid, void** object) {
    return direct3d->QueryInterface(riid, object);
}

ULONG STDMETHODCALLTYPE StageTimingDirect3D::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE StageTimingDirect3D::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE StageTimingDirect3D::GetAdapterDisplayMode(UINT adapter,
                                                                     D3DDISPLAYMODE* mode) {
    return direct3d->GetAdapterDisplayMode(adapter, mode);
}

HRESULT STDMETHODCALLTYPE StageTimingDirect3D::CheckDeviceFormat(
    UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat, DWORD usage,
    D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
    return direct3d->CheckDeviceFormat(adapter, deviceType, adapterFormat, usage, resourceType,
                                       checkFormat);
}

HRESULT STDMETHODCALLTYPE StageTimingDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                                             D3DCAPS8* caps) {
    return direct3d->GetDeviceCaps(adapter, deviceType, caps);
}

HRESULT STDMETHODCALLTYPE StageTimingDirect3D::CreateDevice(
    UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
    D3DPRESENT_PARAMETERS* presentParameters, IDirect3DDevice8** created) {
    if (created == nullptr || presentParameters == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    D3DPRESENT_PARAMETERS asked = AsAsked(*presentParameters);
    IDirect3DDevice8* layer = nullptr;
    const HRESULT result =
        direct3d->CreateDevice(adapter, deviceType, focusWindow, behaviorFlags, &asked, &layer);
    if (FAILED(result)) {
        *created = nullptr;
        return result;
    }
    // What the layer filled in reaches the game; the interval stays the game's own.
    const D3DPRESENT_PARAMETERS game = *presentParameters;
    *presentParameters = asked;
    presentParameters->SwapEffect = game.SwapEffect;
    presentParameters->FullScreen_PresentationInterval = game.FullScreen_PresentationInterval;
    StageTimingDevice* wrapped = new (std::nothrow) StageTimingDevice(layer, this);
    if (wrapped == nullptr) {
        layer->Release();
        *created = nullptr;
        return E_OUTOFMEMORY;
    }
    *created = wrapped;
    return result;
}
