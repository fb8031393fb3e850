#include "tests/display/full_screen_device.h"

IDirect3DDevice8* CreateFullScreenDevice(HWND window, int width, int height, bool withDepth,
                                         IDirect3D8** d3d) {
    *d3d = Direct3DCreate8(D3D_SDK_VERSION);
    if (*d3d == nullptr) {
        return nullptr;
    }
    D3DDISPLAYMODE mode{};
    (*d3d)->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = static_cast<UINT>(width);
    parameters.BackBufferHeight = static_cast<UINT>(height);
    parameters.BackBufferFormat = mode.Format;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = window;
    parameters.EnableAutoDepthStencil = withDepth ? TRUE : FALSE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    IDirect3DDevice8* device = nullptr;
    if (FAILED((*d3d)->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device))) {
        (*d3d)->Release();
        *d3d = nullptr;
        return nullptr;
    }
    return device;
}
