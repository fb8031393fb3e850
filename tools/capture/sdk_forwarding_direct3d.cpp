#include "tools/capture/sdk_forwarding_direct3d.h"

HRESULT STDMETHODCALLTYPE SdkForwardingDirect3D::RegisterSoftwareDevice(void* initializeFunction) {
    return Inner()->RegisterSoftwareDevice(initializeFunction);
}

UINT STDMETHODCALLTYPE SdkForwardingDirect3D::GetAdapterCount() {
    return Inner()->GetAdapterCount();
}

HRESULT STDMETHODCALLTYPE SdkForwardingDirect3D::GetAdapterIdentifier(
    UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER8* identifier) {
    return Inner()->GetAdapterIdentifier(adapter, flags, identifier);
}

UINT STDMETHODCALLTYPE SdkForwardingDirect3D::GetAdapterModeCount(UINT adapter) {
    return Inner()->GetAdapterModeCount(adapter);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDirect3D::EnumAdapterModes(UINT adapter, UINT modeIndex,
                                                                  D3DDISPLAYMODE* mode) {
    return Inner()->EnumAdapterModes(adapter, modeIndex, mode);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDirect3D::CheckDeviceType(UINT adapter, D3DDEVTYPE checkType,
                                                                 D3DFORMAT displayFormat,
                                                                 D3DFORMAT backBufferFormat,
                                                                 WINBOOL windowed) {
    return Inner()->CheckDeviceType(adapter, checkType, displayFormat, backBufferFormat, windowed);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDirect3D::CheckDeviceMultiSampleType(
    UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT surfaceFormat, WINBOOL windowed,
    D3DMULTISAMPLE_TYPE multiSampleType) {
    return Inner()->CheckDeviceMultiSampleType(adapter, deviceType, surfaceFormat, windowed,
                                               multiSampleType);
}

HRESULT STDMETHODCALLTYPE SdkForwardingDirect3D::CheckDepthStencilMatch(
    UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat, D3DFORMAT renderTargetFormat,
    D3DFORMAT depthStencilFormat) {
    return Inner()->CheckDepthStencilMatch(adapter, deviceType, adapterFormat, renderTargetFormat,
                                           depthStencilFormat);
}

HMONITOR STDMETHODCALLTYPE SdkForwardingDirect3D::GetAdapterMonitor(UINT adapter) {
    return Inner()->GetAdapterMonitor(adapter);
}
