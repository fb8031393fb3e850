#include "tools/capture/stage_timing_device.h"

#include "tools/capture/stage_timer.h"
#include "tools/capture/stage_timing_direct3d.h"

StageTimingDevice::StageTimingDevice(IDirect3DDevice8* layer, IDirect3D8* parent)
    : ForwardingDevice(layer, parent), stageTimer(nullptr), vertexFormat(0) {}

HRESULT STDMETHODCALLTYPE StageTimingDevice::Reset(D3DPRESENT_PARAMETERS* presentParameters) {
    if (presentParameters == nullptr) {
        return ForwardingDevice::Reset(nullptr);
    }
    D3DPRESENT_PARAMETERS asked = StageTimingDirect3D::AsAsked(*presentParameters);
    const HRESULT result = ForwardingDevice::Reset(&asked);
    if (SUCCEEDED(result)) {
        StageTimingDirect3D::ReturnFilledIn(asked, presentParameters);
    }
    return result;
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::Present(const RECT* sourceRect, const RECT* destRect,
                                                     HWND destWindowOverride,
                                                     const RGNDATA* dirtyRegion) {
    if (stageTimer != nullptr) {
        stageTimer->BeforePresent();
    }
    const HRESULT result =
        ForwardingDevice::Present(sourceRect, destRect, destWindowOverride, dirtyRegion);
    if (stageTimer != nullptr) {
        stageTimer->AfterPresent();
    }
    return result;
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::DrawPrimitive(D3DPRIMITIVETYPE primitiveType,
                                                           UINT startVertex, UINT primitiveCount) {
    if (stageTimer != nullptr) {
        stageTimer->BeforeDraw(vertexFormat, primitiveType);
    }
    return ForwardingDevice::DrawPrimitive(primitiveType, startVertex, primitiveCount);
}

HRESULT STDMETHODCALLTYPE StageTimingDevice::SetVertexShader(DWORD handle) {
    vertexFormat = handle;
    return ForwardingDevice::SetVertexShader(handle);
}
