// The image tests on the real Direct3D 8: the system's d3d8.dll drawing into a small window of the
// tests' own, its lockable back buffer read back through LockRect.
#include "tests/pixel/pixel_device.h"

namespace {

HWND TestWindow(UINT size) {
    static HWND window = [size] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "SkimlarkPixelTests";
        RegisterClassA(&windowClass);
        RECT frame = {0, 0, static_cast<LONG>(size), static_cast<LONG>(size)};
        AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        return CreateWindowA("SkimlarkPixelTests", "Skimlark pixel tests",
                             WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, frame.right - frame.left,
                             frame.bottom - frame.top, nullptr, nullptr, windowClass.hInstance,
                             nullptr);
    }();
    return window;
}

}  // namespace

bool PixelDeviceWindow(UINT size, HWND* window) {
    *window = TestWindow(size);
    return *window != nullptr;
}

bool ReadPixelRows(IDirect3DDevice8* device, std::vector<uint8_t>* rgba, int* width, int* height) {
    IDirect3DSurface8* backBuffer = nullptr;
    if (FAILED(device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
        return false;
    }
    D3DSURFACE_DESC desc{};
    D3DLOCKED_RECT locked{};
    bool read = SUCCEEDED(backBuffer->GetDesc(&desc)) && desc.Format == D3DFMT_X8R8G8B8 &&
                SUCCEEDED(backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY));
    if (read) {
        rgba->resize(static_cast<size_t>(desc.Width) * desc.Height * 4);
        for (UINT y = 0; y < desc.Height; ++y) {
            const auto* row = reinterpret_cast<const DWORD*>(
                static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
            for (UINT x = 0; x < desc.Width; ++x) {
                uint8_t* out = rgba->data() + (static_cast<size_t>(y) * desc.Width + x) * 4;
                out[0] = static_cast<uint8_t>(row[x] >> 16);
                out[1] = static_cast<uint8_t>(row[x] >> 8);
                out[2] = static_cast<uint8_t>(row[x]);
                out[3] = 0xFF;
            }
        }
        *width = static_cast<int>(desc.Width);
        *height = static_cast<int>(desc.Height);
        backBuffer->UnlockRect();
    }
    backBuffer->Release();
    return read;
}

std::optional<int> LiveLayerObjects() {
    return std::nullopt;
}
