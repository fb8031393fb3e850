// A Direct3D 8 object that forwards every call to another, unchanged and in order, except that
// the devices it creates come wrapped (WrapDevice): the base of the capture tools' objects. It
// keeps its own reference count and COM identity (QueryInterface hands back the wrapper). This
// part covers the calls our own declarations have; SdkForwardingDirect3D adds the rest of the
// SDK's interface for the Windows tool.
#pragma once

#include "platform/direct3d8.h"

class ForwardingDirect3D : public IDirect3D8 {
public:
    // Takes over the caller's reference on `inner`.
    explicit ForwardingDirect3D(IDirect3D8* inner);
    ForwardingDirect3D(const ForwardingDirect3D&) = delete;
    ForwardingDirect3D& operator=(const ForwardingDirect3D&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
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
    // Released through Release only.
    virtual ~ForwardingDirect3D();

    IDirect3D8* Inner() const { return inner; }
    // The wrapper of a device the inner object made, taking over the reference on `device` and
    // holding one on this object; null when it cannot be made.
    virtual IDirect3DDevice8* WrapDevice(IDirect3DDevice8* device) = 0;

private:
    IDirect3D8* inner;
    ULONG references;
};
