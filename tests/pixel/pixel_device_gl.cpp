// The image tests on our OpenGL layer: the headless EGL context, read back straight from the
// layer's back buffer.
#include "platform/gl/gl_device.h"
#include "platform/gl/live_objects.h"
#include "tests/pixel/pixel_device.h"

HRESULT CreatePixelDevice(UINT size, IDirect3D8** d3d, IDirect3DDevice8** device) {
    *d3d = nullptr;
    *device = nullptr;
    IDirect3D8* created = Direct3DCreate8(D3D_SDK_VERSION);
    if (created == nullptr) {
        return E_FAIL;
    }
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = size;
    parameters.BackBufferHeight = size;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    const HRESULT result =
        created->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                              D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, device);
    if (FAILED(result)) {
        created->Release();
        return result;
    }
    *d3d = created;
    return D3D_OK;
}

bool ReadPixelRows(IDirect3DDevice8* device, std::vector<uint8_t>* rgba, int* width, int* height) {
    auto* glDevice = dynamic_cast<GlDevice*>(device);
    if (glDevice == nullptr) {
        return false;
    }
    glDevice->ReadBackBuffer(rgba, width, height);
    return true;
}

std::optional<int> LiveLayerObjects() {
    return LiveGlObjects();
}
