// The Direct3D 8 device of the OpenGL capture tools: forwards every call to the layer's device
// unchanged and in order (ForwardingDevice), and tells a StageTimer, while one is set, of each
// draw and present, so that the tools can say where a frame's time goes without the layer
// knowing of them. A reset keeps the tool's choice of presentation interval, as the device's
// creation does.
#pragma once

#include "tools/capture/forwarding_device.h"

class StageTimer;

class StageTimingDevice final : public ForwardingDevice {
public:
    // Takes over the caller's reference on `layer`; holds one on `parent`.
    StageTimingDevice(IDirect3DDevice8* layer, IDirect3D8* parent);

    // The layer's device, for what the tools read from it directly (the back buffer).
    IDirect3DDevice8* Layer() const { return Inner(); }
    // Null: nobody is told.
    void SetStageTimer(StageTimer* timer) { stageTimer = timer; }

    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* presentParameters) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* sourceRect, const RECT* destRect,
                                      HWND destWindowOverride, const RGNDATA* dirtyRegion) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE primitiveType, UINT startVertex,
                                            UINT primitiveCount) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(DWORD handle) override;

private:
    StageTimer* stageTimer;
    DWORD vertexFormat;  // the last SetVertexShader's, which names the stage a draw belongs to
};
