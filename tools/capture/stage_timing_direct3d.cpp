#include "tools/capture/stage_timing_direct3d.h"

#include <new>

#include "tools/capture/stage_timing_device.h"

namespace {

bool gamePacingKept = false;

}  // namespace

void StageTimingDirect3D::KeepGamePacing(bool kept) {
    gamePacingKept = kept;
}

D3DPRESENT_PARAMETERS StageTimingDirect3D::AsAsked(const D3DPRESENT_PARAMETERS& game) {
    D3DPRESENT_PARAMETERS asked = game;
    if (!gamePacingKept) {
        if (asked.Windowed) {
            if (asked.SwapEffect == D3DSWAPEFFECT_COPY_VSYNC) {
                asked.SwapEffect = D3DSWAPEFFECT_COPY;
            }
        } else {
            asked.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        }
    }
    return asked;
}

void StageTimingDirect3D::ReturnFilledIn(const D3DPRESENT_PARAMETERS& asked,
                                         D3DPRESENT_PARAMETERS* game) {
    const D3DPRESENT_PARAMETERS own = *game;
    *game = asked;
    game->SwapEffect = own.SwapEffect;
    game->FullScreen_PresentationInterval = own.FullScreen_PresentationInterval;
}

StageTimingDirect3D::StageTimingDirect3D(IDirect3D8* layer) : ForwardingDirect3D(layer) {}

HRESULT STDMETHODCALLTYPE StageTimingDirect3D::CreateDevice(
    UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
    D3DPRESENT_PARAMETERS* presentParameters, IDirect3DDevice8** created) {
    if (created == nullptr || presentParameters == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    D3DPRESENT_PARAMETERS asked = AsAsked(*presentParameters);
    const HRESULT result = ForwardingDirect3D::CreateDevice(adapter, deviceType, focusWindow,
                                                            behaviorFlags, &asked, created);
    if (SUCCEEDED(result)) {
        ReturnFilledIn(asked, presentParameters);
    }
    return result;
}

IDirect3DDevice8* StageTimingDirect3D::WrapDevice(IDirect3DDevice8* device) {
    return new (std::nothrow) StageTimingDevice(device, this);
}
