// The Direct3D 8 object of the Windows capture tool: forwards every call to the system's object,
// except that the devices it creates come wrapped in a ShotTakingDevice. The tool's own
// Direct3DCreate8 (in place of the game's) hands it out, so the game runs unchanged on the real
// Direct3D 8.
#pragma once

#include "platform/direct3d8.h"

class ShotTakingDirect3D final : public IDirect3D8 {
public:
    // Takes over the caller's reference on `system`.
    explicit ShotTakingDirect3D(IDirect3D8* system);
    ShotTakingDirect3D(const ShotTakingDirect3D&) = delete;
    ShotTakingDirect3D& operator=(const ShotTakingDirect3D&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void* initializeFunction) override;
    UINT STDMETHODCALLTYPE GetAdapterCount() override;
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD flags,
                                                   D3DADAPTER_IDENTIFIER8* identifier) override;
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter) override;
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, UINT modeIndex,
                                               D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE checkType,
                                              D3DFORMAT displayFormat, D3DFORMAT backBufferFormat,
                                              WINBOOL windowed) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType,
                                                D3DFORMAT adapterFormat, DWORD usage,
                                                D3DRESOURCETYPE resourceType,
                                                D3DFORMAT checkFormat) override;
    HRESULT STDMETHODCALLTYPE
    CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT surfaceFormat,
                               WINBOOL windowed, D3DMULTISAMPLE_TYPE multiSampleType) override;
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE deviceType,
                                                     D3DFORMAT adapterFormat,
                                                     D3DFORMAT renderTargetFormat,
                                                     D3DFORMAT depthStencilFormat) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                            D3DCAPS8* caps) override;
    HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT adapter) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                           DWORD behaviorFlags,
                                           D3DPRESENT_PARAMETERS* presentationParameters,
                                           struct IDirect3DDevice8** created) override;

private:
    ~ShotTakingDirect3D();

    IDirect3D8* direct3d;
    ULONG references;
};
