// The Direct3D 8 object of the OpenGL capture tools: forwards every call to the layer's own,
// except that the devices it creates come wrapped in a StageTimingDevice and, unless the run asks
// for the game's pacing, ask for unpaced presents (D3DPRESENT_INTERVAL_IMMEDIATE), as a Direct3D
// 8 program that measures what a frame costs does. The tools' own Direct3DCreate8 (in place of
// the layer's) hands it out, so the game runs unchanged, as on the Windows tool.
#pragma once

#include "platform/direct3d8.h"

class StageTimingDirect3D final : public IDirect3D8 {
public:
    // Takes over the caller's reference on `layer`.
    explicit StageTimingDirect3D(IDirect3D8* layer);
    StageTimingDirect3D(const StageTimingDirect3D&) = delete;
    StageTimingDirect3D& operator=(const StageTimingDirect3D&) = delete;

    // Whether devices created from now on keep the game's own presentation interval (held to
    // the display) rather than presenting at once. Off until asked.
    static void KeepGamePacing(bool kept);

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
                                           IDirect3DDevice8** created) override;

    // The game's parameters as the tool's devices are made and reset with.
    static D3DPRESENT_PARAMETERS AsAsked(const D3DPRESENT_PARAMETERS& game);

private:
    ~StageTimingDirect3D();

    IDirect3D8* direct3d;
    ULONG references;
};
