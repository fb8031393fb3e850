#include "tools/capture/shot_taking_device.h"

#include <chrono>
#include <utility>

ShotTakingDevice::ShotTakingDevice(IDirect3DDevice8* system, IDirect3D8* parent)
    : SdkForwardingDevice(system, parent),
      shotRequested(false),
      shotReady(false),
      shotWidth(0),
      shotHeight(0),
      shotMilliseconds(0.0) {}

bool ShotTakingDevice::TakeShot(std::vector<uint8_t>* rgba, int* width, int* height) {
    if (!shotReady) {
        return false;
    }
    shotReady = false;
    *rgba = std::move(shot);
    shot.clear();
    *width = shotWidth;
    *height = shotHeight;
    return true;
}

bool ShotTakingDevice::ReadBackBuffer() {
    IDirect3DSurface8* surface = nullptr;
    if (FAILED(Inner()->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface))) {
        return false;
    }
    D3DSURFACE_DESC description = {};
    D3DLOCKED_RECT locked = {};
    bool read = false;
    if (SUCCEEDED(surface->GetDesc(&description)) &&
        (description.Format == D3DFMT_X8R8G8B8 || description.Format == D3DFMT_A8R8G8B8) &&
        SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        shotWidth = static_cast<int>(description.Width);
        shotHeight = static_cast<int>(description.Height);
        shot.resize(static_cast<size_t>(description.Width) * description.Height * 4);
        uint8_t* out = shot.data();
        for (UINT y = 0; y < description.Height; ++y) {
            // Each texel is B, G, R, X in memory; the presented picture is opaque.
            const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) +
                                 static_cast<ptrdiff_t>(y) * locked.Pitch;
            for (UINT x = 0; x < description.Width; ++x, out += 4) {
                out[0] = row[x * 4 + 2];
                out[1] = row[x * 4 + 1];
                out[2] = row[x * 4];
                out[3] = 0xFF;
            }
        }
        surface->UnlockRect();
        read = true;
    }
    surface->Release();
    return read;
}

HRESULT STDMETHODCALLTYPE ShotTakingDevice::Present(const RECT* srcRect, const RECT* dstRect,
                                                    HWND dstWindowOverride,
                                                    const RGNDATA* dirtyRegion) {
    shotMilliseconds = 0.0;
    if (shotRequested) {
        shotRequested = false;
        const auto began = std::chrono::steady_clock::now();
        shotReady = ReadBackBuffer();
        shotMilliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began)
                .count();
    }
    return SdkForwardingDevice::Present(srcRect, dstRect, dstWindowOverride, dirtyRegion);
}
