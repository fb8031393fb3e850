// Checks on a real display (Xvfb in CI) the device that presents from a thread of its own: the
// back buffer still holds the presented picture afterwards, as a copy-swap device keeps it, so
// that drawing without a clear adds to it, while a clear of the whole picture starts afresh.
// Exits 1, saying what differed, when it does not.
#include <cstdio>
#include <vector>

#include "platform/direct3d8.h"
#include "platform/gl/gl_device.h"
#include "platform/sdl/sdl_window.h"

namespace {

const int kWidth = 1024;
const int kHeight = 768;

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
};

// 0xRRGGBB of the back buffer's pixel.
unsigned PixelAt(GlDevice* device, int x, int y) {
    std::vector<uint8_t> rgba;
    int width = 0;
    int height = 0;
    device->ReadBackBuffer(&rgba, &width, &height);
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return (unsigned{p[0]} << 16) | (unsigned{p[1]} << 8) | p[2];
}

bool Expect(GlDevice* device, int x, int y, unsigned wanted, const char* what) {
    const unsigned got = PixelAt(device, x, y);
    if (got != wanted) {
        std::fprintf(stderr, "%s: pixel %d,%d is %06X, not %06X\n", what, x, y, got, wanted);
        return false;
    }
    return true;
}

void DrawSquare(IDirect3DDevice8* device, IDirect3DVertexBuffer8* buffer, D3DCOLOR color) {
    ScreenVertex* v = nullptr;
    buffer->Lock(0, 0, reinterpret_cast<BYTE**>(&v), 0);
    const float e = 100.0f;
    v[0] = {0, 0, 0.5f, 1, color};
    v[1] = {e, 0, 0.5f, 1, color};
    v[2] = {0, e, 0.5f, 1, color};
    v[3] = {e, e, 0.5f, 1, color};
    buffer->Unlock();
    device->BeginScene();
    device->SetStreamSource(0, buffer, sizeof(ScreenVertex));
    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    device->EndScene();
}

}  // namespace

int main() {
    const char* error = "";
    HWND window = SdlCreateGameWindow("Skimlark present check", kWidth, kHeight, &error);
    if (window == nullptr) {
        std::fprintf(stderr, "no window: %s\n", error);
        return 1;
    }
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    D3DDISPLAYMODE mode{};
    d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = kWidth;
    parameters.BackBufferHeight = kHeight;
    parameters.BackBufferFormat = mode.Format;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = window;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    IDirect3DDevice8* device = nullptr;
    IDirect3DVertexBuffer8* square = nullptr;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                 D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device)) ||
        FAILED(device->CreateVertexBuffer(4 * sizeof(ScreenVertex), D3DUSAGE_WRITEONLY,
                                          D3DFVF_XYZRHW | D3DFVF_DIFFUSE, D3DPOOL_MANAGED,
                                          &square))) {
        std::fprintf(stderr, "no device\n");
        return 1;
    }
    auto* gl = dynamic_cast<GlDevice*>(device);
    gl->SetPresentPacing(false);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);

    bool ok = true;
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
    device->Present(nullptr, nullptr, nullptr, nullptr);
    ok = Expect(gl, 500, 400, 0xFF0000, "after the first present") && ok;

    // Drawing after a present, with no clear, adds to the picture presented.
    DrawSquare(device, square, 0xFF0000FF);
    ok = Expect(gl, 50, 50, 0x0000FF, "the square drawn after a present") && ok;
    ok = Expect(gl, 500, 400, 0xFF0000, "beside the square drawn after a present") && ok;
    device->Present(nullptr, nullptr, nullptr, nullptr);
    ok = Expect(gl, 500, 400, 0xFF0000, "two presents on") && ok;

    // A partial clear keeps the rest; a few presents with nothing drawn keep it all.
    D3DRECT corner = {kWidth - 10, kHeight - 10, kWidth, kHeight};
    device->Clear(1, &corner, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
    for (int i = 0; i < 3; ++i) {
        device->Present(nullptr, nullptr, nullptr, nullptr);
    }
    ok = Expect(gl, kWidth - 1, kHeight - 1, 0x00FF00, "the cleared corner") && ok;
    ok = Expect(gl, 50, 50, 0x0000FF, "the square, presents later") && ok;
    ok = Expect(gl, 500, 400, 0xFF0000, "the first clear, presents later") && ok;

    // Alternating whole clears: each present shows the last one.
    for (int i = 0; i < 20; ++i) {
        const D3DCOLOR color = (i % 2 == 0) ? 0xFF202020 : 0xFF404040;
        device->Clear(0, nullptr, D3DCLEAR_TARGET, color, 1.0f, 0);
        device->Present(nullptr, nullptr, nullptr, nullptr);
        ok = Expect(gl, 50, 50, color & 0xFFFFFF, "alternating clears") && ok;
    }

    square->Release();
    device->Release();
    d3d->Release();
    SdlDestroyGameWindow(window);
    if (ok) {
        std::printf("the back buffer kept every presented picture\n");
    }
    return ok ? 0 : 1;
}
