#include "render/render_device.h"

#include <cstring>

#include "render/release_and_clear.h"

RenderDevice::RenderDevice()
    : device(nullptr), d3d(nullptr), lastResult(S_OK), resetHandler(nullptr) {
    std::memset(&presentParameters, 0, sizeof(presentParameters));
    std::memset(&displayMode, 0, sizeof(displayMode));
}

RenderDevice::~RenderDevice() {
    Release();
}

HRESULT RenderDevice::Init(HWND hwnd, int width, int height, bool windowed) {
    Release();

    d3d = Direct3DCreate8(D3D_SDK_VERSION);
    if (d3d == nullptr) {
        lastResult = E_FAIL;
        return lastResult;
    }

    lastResult = d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &displayMode);
    if (FAILED(lastResult)) {
        return lastResult;
    }

    if (windowed) {
        // A zero back-buffer size takes the window's client size.
        presentParameters.Windowed = TRUE;
        presentParameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        presentParameters.BackBufferFormat = displayMode.Format;
        presentParameters.EnableAutoDepthStencil = TRUE;
        presentParameters.AutoDepthStencilFormat = D3DFMT_D16;
    } else {
        presentParameters.BackBufferWidth = static_cast<UINT>(width);
        presentParameters.BackBufferHeight = static_cast<UINT>(height);
        presentParameters.BackBufferFormat = displayMode.Format;
        presentParameters.BackBufferCount = 1;
        presentParameters.MultiSampleType = D3DMULTISAMPLE_NONE;
        presentParameters.SwapEffect = D3DSWAPEFFECT_COPY;
        presentParameters.hDeviceWindow = hwnd;
        presentParameters.Windowed = FALSE;
        presentParameters.EnableAutoDepthStencil = TRUE;
        presentParameters.AutoDepthStencilFormat = D3DFMT_D16;
        presentParameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        presentParameters.FullScreen_RefreshRateInHz = 0;
        // One vertical retrace per present: this is what paces the game loop.
        presentParameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    }

    lastResult =
        d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hwnd,
                          D3DCREATE_SOFTWARE_VERTEXPROCESSING, &presentParameters, &device);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return S_OK;
}

HRESULT RenderDevice::Begin() {
    lastResult = device->BeginScene();
    return FAILED(lastResult) ? lastResult : S_OK;
}

HRESULT RenderDevice::End() {
    lastResult = device->EndScene();
    return FAILED(lastResult) ? lastResult : S_OK;
}

HRESULT RenderDevice::Present() {
    lastResult = device->Present(nullptr, nullptr, nullptr, nullptr);
    if (SUCCEEDED(lastResult)) {
        return S_OK;
    }
    if (lastResult == D3DERR_DEVICELOST) {
        Reset();
    }
    return FAILED(lastResult) ? lastResult : S_OK;
}

HRESULT RenderDevice::Reset() {
    if (resetHandler != nullptr) {
        resetHandler->BeforeReset(device);
    }
    lastResult = device->Reset(&presentParameters);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    if (resetHandler != nullptr) {
        lastResult = resetHandler->AfterReset(device);
        if (FAILED(lastResult)) {
            return lastResult;
        }
    }
    return S_OK;
}

HRESULT RenderDevice::Release() {
    ReleaseAndClear(device);
    ReleaseAndClear(d3d);
    lastResult = S_OK;
    std::memset(&presentParameters, 0, sizeof(presentParameters));
    std::memset(&displayMode, 0, sizeof(displayMode));
    return S_OK;
}
