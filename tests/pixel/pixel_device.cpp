// The image tests' device, made alike on every build: only the window it draws into differs.
#include "tests/pixel/pixel_device.h"

HRESULT CreatePixelDevice(UINT size, IDirect3D8** d3d, IDirect3DDevice8** device) {
    *d3d = nullptr;
    *device = nullptr;
    HWND window = nullptr;
    if (!PixelDeviceWindow(size, &window)) {
        return E_FAIL;
    }
    IDirect3D8* created = Direct3DCreate8(D3D_SDK_VERSION);
    if (created == nullptr) {
        return E_FAIL;
    }
    // The copy swap effect keeps the presented picture in the lockable back buffer.
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
