// The Direct3D 8 object of the OpenGL capture tools: forwards every call to the layer's own
// (ForwardingDirect3D), except that the devices it creates come wrapped in a StageTimingDevice
// and, unless the run asks for the game's pacing, ask for unpaced presents
// (D3DPRESENT_INTERVAL_IMMEDIATE), as a Direct3D 8 program that measures what a frame costs does.
// The tools' own Direct3DCreate8 (stage_timing_create.cpp) hands it out, so the game runs
// unchanged, as on the Windows tool.
#pragma once

#include "tools/capture/forwarding_direct3d.h"

class StageTimingDirect3D final : public ForwardingDirect3D {
public:
    // Takes over the caller's reference on `layer`.
    explicit StageTimingDirect3D(IDirect3D8* layer);

    // Whether devices created from now on keep the game's own presentation interval (held to
    // the display) rather than presenting at once. Off until asked.
    static void KeepGamePacing(bool kept);

    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                           DWORD behaviorFlags,
                                           D3DPRESENT_PARAMETERS* presentParameters,
                                           IDirect3DDevice8** created) override;

    // The game's parameters as the tool's devices are made and reset with.
    static D3DPRESENT_PARAMETERS AsAsked(const D3DPRESENT_PARAMETERS& game);
    // What the layer filled in of `asked` reaches the game's `game`; the interval stays the
    // game's own.
    static void ReturnFilledIn(const D3DPRESENT_PARAMETERS& asked, D3DPRESENT_PARAMETERS* game);

private:
    IDirect3DDevice8* WrapDevice(IDirect3DDevice8* device) override;
};
