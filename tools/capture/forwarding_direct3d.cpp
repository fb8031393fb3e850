#include "tools/capture/forwarding_direct3d.h"

HRESULT STDMETHODCALLTYPE ForwardingDirect3D::GetAdapterDisplayMode(UINT adapter,
                                                                    D3DDISPLAYMODE* mode) {
    return Inner()->GetAdapterDisplayMode(adapter, mode);
}

HRESULT STDMETHODCALLTYPE ForwardingDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType,
                                                                D3DFORMAT adapterFormat,
                                                                DWORD usage,
                                                                D3DRESOURCETYPE resourceType,
                                                                D3DFORMAT checkFormat) {
    return Inner()->CheckDeviceFormat(adapter, deviceType, adapterFormat, usage, resourceType,
                                      checkFormat);
}

HRESULT STDMETHODCALLTYPE ForwardingDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                                            D3DCAPS8* caps) {
    return Inner()->GetDeviceCaps(adapter, deviceType, caps);
}

HRESULT STDMETHODCALLTYPE ForwardingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType,
                                                           HWND focusWindow, DWORD behaviorFlags,
                                                           D3DPRESENT_PARAMETERS* presentParameters,
                                                           IDirect3DDevice8** created) {
    if (created == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DDevice8* device = nullptr;
    const HRESULT result = Inner()->CreateDevice(adapter, deviceType, focusWindow, behaviorFlags,
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
