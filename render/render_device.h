// Creates and owns the Direct3D 8 object and the one device, keeps the presentation parameters
// for a reset, and wraps begin, end and present. Every other part borrows the device without
// adding a reference. A reset goes through the DeviceResetHandler, when one is set, so that the
// default-pool resources are out of the way while it happens.
#pragma once

#include "platform/direct3d8.h"
#include "render/device_reset_handler.h"

class RenderDevice {
public:
    RenderDevice();
    ~RenderDevice();
    RenderDevice(const RenderDevice&) = delete;
    RenderDevice& operator=(const RenderDevice&) = delete;

    HRESULT Init(HWND hwnd, int width, int height, bool windowed);
    IDirect3DDevice8* GetDevice() const { return device; }
    HRESULT Begin();
    HRESULT End();
    HRESULT Present();
    HRESULT Reset();
    HRESULT Release();

    // Not owned; null (the default) resets the device alone.
    void SetResetHandler(DeviceResetHandler* handler) { resetHandler = handler; }

private:
    IDirect3DDevice8* device;
    IDirect3D8* d3d;
    D3DPRESENT_PARAMETERS presentParameters;
    D3DDISPLAYMODE displayMode;
    HRESULT lastResult;
    DeviceResetHandler* resetHandler;
};
