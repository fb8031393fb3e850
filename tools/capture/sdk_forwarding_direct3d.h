// The rest of the SDK's Direct3D 8 object interface, forwarded unchanged and in order: what the
// Windows capture tool's object needs beyond the calls our own declarations have. Built only with
// the SDK's headers.
#pragma once

#include "tools/capture/forwarding_direct3d.h"

class SdkForwardingDirect3D : public ForwardingDirect3D {
public:
    using ForwardingDirect3D::ForwardingDirect3D;

    HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void* initializeFunction) override;
    UINT STDMETHODCALLTYPE GetAdapterCount() override;
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD flags,
                                                   D3DADAPTER_IDENTIFIER8* identifier) override;
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter) override;
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, UINT modeIndex,
                                               D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE checkType,
                                              D3DFORMAT displayFormat, D3DFORMAT backBufferFormat,
                                              WINBOOL windowed) override;
    HRESULT STDMETHODCALLTYPE
    CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT surfaceFormat,
                               WINBOOL windowed, D3DMULTISAMPLE_TYPE multiSampleType) override;
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE deviceType,
                                                     D3DFORMAT adapterFormat,
                                                     D3DFORMAT renderTargetFormat,
                                                     D3DFORMAT depthStencilFormat) override;
    HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT adapter) override;
};
