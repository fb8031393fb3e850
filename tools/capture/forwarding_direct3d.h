// A Direct3D 8 object that forwards every call to another, unchanged and in order, except that
// the devices it creates come wrapped (WrapDevice): the base of the capture tools' objects. Its
// reference count and COM identity are ForwardingUnknown's. This
// part covers the calls our own declarations have; SdkForwardingDirect3D adds the rest of the
// SDK's interface for the Windows tool.
#pragma once

#include <new>

#include "tools/capture/forwarding_unknown.h"

class ForwardingDirect3D : public ForwardingUnknown<IDirect3D8> {
public:
    // Takes over the caller's reference on `inner`.
    explicit ForwardingDirect3D(IDirect3D8* inner) : ForwardingUnknown(inner) {}

    // A tool's Direct3DCreate8: `inner` (null when none could be made) behind a new `Wrapper`;
    // null when either could not be made.
    template <typename Wrapper>
    static IDirect3D8* Wrap(IDirect3D8* inner) {
        if (inner == nullptr) {
            return nullptr;
        }
        Wrapper* wrapped = new (std::nothrow) Wrapper(inner);
        if (wrapped == nullptr) {
            inner->Release();
        }
        return wrapped;
    }

    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType,
                                                D3DFORMAT adapterFormat, DWORD usage,
                                                D3DRESOURCETYPE resourceType,
                                                D3DFORMAT checkFormat) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                            D3DCAPS8* caps) override;
    // The inner object's device, handed out wrapped.
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                           DWORD behaviorFlags,
                                           D3DPRESENT_PARAMETERS* presentParameters,
                                           IDirect3DDevice8** created) override;

protected:
    // The wrapper of a device the inner object made, taking over the reference on `device` and
    // holding one on this object; null when it cannot be made.
    virtual IDirect3DDevice8* WrapDevice(IDirect3DDevice8* device) = 0;
};
