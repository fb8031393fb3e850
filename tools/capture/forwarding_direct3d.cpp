#include "tools/capture/forwarding_direct3d.h"

ForwardingDirect3D::ForwardingDirect3D(IDirect3D8* innerObject)
    : inner(innerObject), references(1) {}

ForwardingDirect3D::~ForwardingDirect3D() {
    inner->Release();
}

// The inner object's own interfaces come back as this one, so that nobody gets past the wrapper.
HRESULT STDMETHODCALLTYPE ForwardingDirect3D::QueryInterface(REFIID riid, void** object) {
    const HRESULT result = inner->QueryInterface(riid, object);
    if (SUCCEEDED(result) && *object == inner) {
        inner->Release();
        AddRef();
        *object = static_cast<IDirect3D8*>(this);
    }
    return result;
}

ULONG STDMETHODCALLTYPE ForwardingDirect3D::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE ForwardingDirect3D::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE ForwardingDirect3D::GetAdapterDisplayMode(UINT adapter,
                                                                    D3DDISPLAYMODE* mode) {
    return inner->GetAdapterDisplayMode(adapter, mode);
}

HRESULT STDMETHODCALLTYPE ForwardingDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType,
                                                                D3DFORMAT adapterFormat,
                                                                DWORD usage,
                                                                D3DRESOURCETYPE resourceType,
                                                                D3DFORMAT checkFormat) {
    return inner->CheckDeviceFormat(adapter, deviceType, adapterFormat, usage, resourceType,
                                    checkFormat);
}

HRESULT STDMETHODCALLTYPE ForwardingDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                                            D3DCAPS8* caps) {
    return inner->GetDeviceCaps(adapter, deviceType, caps);
}

HRESULT STDMETHODCALLTYPE ForwardingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType,
                                                           HWND focusWindow, DWORD behaviorFlags,
                                                           D3DPRESENT_PARAMETERS* presentParameters,
                                                           IDirect3DDevice8** created) {
    if (created == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DDevice8* device = nullptr;
    const HRESULT result = inner->CreateDevice(adapter, deviceType, focusWindow, behaviorFlags,
                                               presentParameters, &device);
    if (FAILED(result)) {
        *created = nullptr;
        return result;
    }
    IDirect3DDevice8* wrapped = WrapDevice(device);
    if (wrapped == nullptr) {
        device->Release();
        *created = nullptr;
        return E_OUTOFMEMORY;
    }
    *created = wrapped;
    return result;
}
