// The image tests on the real Direct3D 8: the system's d3d8.dll drawing into a small window of the
// tests' own. The copy swap effect keeps the presented picture in the lockable back buffer, which
// is read back through LockRect.
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

HRESULT CreatePixelDevice(UINT size, IDirect3D8** d3d, IDirect3DDevice8** device) {
    *d3d = nullptr;
    *device = nullptr;
    const HWND window = TestWindow(size);
    if (window == nullptr) {
        return E_FAIL;
    }
    IDirect3D8* created = Direct3DCreate8(D3D_SDK_VERSION);
    if (created == nullptr) {
        return E_FAIL;
    }
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = size;
    parameters.BackBufferHeight = size;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = window;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    const HRESULT result =
        created->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                              D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, device);
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *d3d = created;
    return D3D_OK;
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
