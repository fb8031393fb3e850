// IDirect3D8 over OpenGL: one adapter (the desktop), one device type, and the factory of devices.
#pragma once

#include <atomic>

#include "platform/direct3d8.h"

class GlDirect3D final : public IDirect3D8 {
public:
    GlDirect3D();

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
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                           DWORD behaviorFlags,
                                           D3DPRESENT_PARAMETERS* presentParameters,
                                           IDirect3DDevice8** device) override;

private:
    ~GlDirect3D();
    std::atomic<ULONG> referenceCount;
};

// The layer's Direct3D 8 object, as Direct3DCreate8 hands it out: null for another SDK version.
// A tool that wraps the layer defines its own Direct3DCreate8 around this one.
IDirect3D8* GlDirect3DCreate8(UINT sdkVersion);
