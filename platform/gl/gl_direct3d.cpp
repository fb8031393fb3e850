#include "platform/gl/gl_direct3d.h"

#include <new>

#include "platform/gl/gl_device.h"
#include "platform/gl/gl_surface.h"
#include "platform/gl/live_objects.h"

IDirect3D8* GlDirect3DCreate8(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) {
        return nullptr;
    }
    return new (std::nothrow) GlDirect3D();
}

GlDirect3D::GlDirect3D() : referenceCount(1) {
    CountGlObjectCreated();
}

GlDirect3D::~GlDirect3D() {
    CountGlObjectDestroyed();
}

HRESULT STDMETHODCALLTYPE GlDirect3D::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE GlDirect3D::AddRef() {
    return ++referenceCount;
}

ULONG STDMETHODCALLTYPE GlDirect3D::Release() {
    const ULONG remaining = --referenceCount;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE GlDirect3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || mode == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    D3DDISPLAYMODE desktop{};
    if (!GlQueryDesktopMode(&desktop)) {
        return D3DERR_NOTAVAILABLE;
    }
    *mode = desktop;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType,
                                                        D3DFORMAT adapterFormat, DWORD usage,
                                                        D3DRESOURCETYPE resourceType,
                                                        D3DFORMAT checkFormat) {
    if (adapter != D3DADAPTER_DEFAULT || deviceType != D3DDEVTYPE_HAL) {
        return D3DERR_INVALIDCALL;
    }
    (void)adapterFormat;
    return GlDevice::CheckFormat(usage, resourceType, checkFormat);
}

HRESULT STDMETHODCALLTYPE GlDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                                    D3DCAPS8* caps) {
    if (adapter != D3DADAPTER_DEFAULT || deviceType != D3DDEVTYPE_HAL || caps == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    // Without a device there is no context to ask: the most recent device's answer, or the
    // least OpenGL 3.3 promises.
    GlDevice::FillCaps(caps, GlDevice::KnownMaxTextureSize());
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType,
                                                   HWND focusWindow, DWORD behaviorFlags,
                                                   D3DPRESENT_PARAMETERS* presentParameters,
                                                   IDirect3DDevice8** device) {
    if (adapter != D3DADAPTER_DEFAULT || presentParameters == nullptr || device == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (deviceType != D3DDEVTYPE_HAL) {
        return D3DERR_NOTAVAILABLE;
    }
    return GlDevice::Create(this, focusWindow, behaviorFlags, *presentParameters, device);
}
