// Checks on a real display (Xvfb in CI) that what the window shows is the device's picture: a
// full-screen device draws four coloured quarters and presents, and the window's pixels are read
// back from the X server. Where the display has the picture's size, every pixel must be the back
// buffer's; where the picture is scaled, the middle of each quarter must keep its colour and the
// bars must be black. Run once as the game presents and once with SKIMLARK_PRESENT=opengl.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <vector>

#include "platform/direct3d8.h"
#include "platform/gl/gl_device.h"
#include "platform/gl/gl_window_blit.h"
#include "platform/sdl/sdl_window.h"
#include "tests/display/full_screen_device.h"

namespace {

const int kWidth = 1024;
const int kHeight = 768;
const D3DCOLOR kQuarters[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
};

void DrawQuarters(IDirect3DDevice8* device, IDirect3DVertexBuffer8* buffer) {
    ScreenVertex* v = nullptr;
    buffer->Lock(0, 0, reinterpret_cast<BYTE**>(&v), 0);
    for (int q = 0; q < 4; ++q) {
        const float x0 = (q % 2) * kWidth / 2.0f;
        const float y0 = (q / 2) * kHeight / 2.0f;
        const float x1 = x0 + kWidth / 2.0f;
        const float y1 = y0 + kHeight / 2.0f;
        const ScreenVertex corners[6] = {
            {x0, y0, 0.5f, 1, kQuarters[q]}, {x1, y0, 0.5f, 1, kQuarters[q]},
            {x0, y1, 0.5f, 1, kQuarters[q]}, {x1, y0, 0.5f, 1, kQuarters[q]},
            {x1, y1, 0.5f, 1, kQuarters[q]}, {x0, y1, 0.5f, 1, kQuarters[q]}};
        for (const ScreenVertex& corner : corners) {
            *v++ = corner;
        }
    }
    buffer->Unlock();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF808080, 1.0f, 0);
    device->BeginScene();
    device->SetStreamSource(0, buffer, sizeof(ScreenVertex));
    device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 8);
    device->EndScene();
}

// 0xRRGGBB of a pixel of an X image of 24-bit colour.
unsigned Rgb(XImage* image, int x, int y) {
    return static_cast<unsigned>(XGetPixel(image, x, y)) & 0xFFFFFF;
}

}  // namespace

int main() {
    const char* error = "";
    HWND window = SdlCreateGameWindow("Skimlark present check", kWidth, kHeight, &error);
    if (window == nullptr) {
        std::fprintf(stderr, "no window: %s\n", error);
        return 1;
    }
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = CreateFullScreenDevice(window, kWidth, kHeight, false, &d3d);
    IDirect3DVertexBuffer8* buffer = nullptr;
    if (device == nullptr || FAILED(device->CreateVertexBuffer(
                                 24 * sizeof(ScreenVertex), D3DUSAGE_WRITEONLY,
                                 D3DFVF_XYZRHW | D3DFVF_DIFFUSE, D3DPOOL_MANAGED, &buffer))) {
        std::fprintf(stderr, "no device\n");
        return 1;
    }
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);

    // A few frames, so that the window manager (if any) has placed the full-screen window.
    for (int i = 0; i < 30; ++i) {
        DrawQuarters(device, buffer);
        device->Present(nullptr, nullptr, nullptr, nullptr);
        SDL_PumpEvents();
        SDL_Delay(10);
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_GetWindowWMInfo(reinterpret_cast<SDL_Window*>(window), &info);
    Display* display = info.info.x11.display;
    XWindowAttributes attributes;
    XGetWindowAttributes(display, info.info.x11.window, &attributes);
    XImage* shown =
        XGetImage(display, info.info.x11.window, 0, 0, static_cast<unsigned>(attributes.width),
                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    std::vector<uint8_t> rgba;
    int width = 0;
    int height = 0;
    dynamic_cast<GlDevice*>(device)->ReadBackBuffer(&rgba, &width, &height);

    int faults = 0;
    const auto fault = [&](const char* what, int x, int y, unsigned got, unsigned wanted) {
        if (++faults <= 5) {
            std::fprintf(stderr, "%s: window pixel %d,%d is %06X, not %06X\n", what, x, y, got,
                         wanted);
        }
    };
    const WindowPlacement to = PlacePicture(width, height, attributes.width, attributes.height);
    const int top = attributes.height - to.bottom - to.height;
    if (to.width == width && to.height == height) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
                const unsigned wanted = (unsigned{p[0]} << 16) | (unsigned{p[1]} << 8) | p[2];
                const unsigned got = Rgb(shown, to.left + x, top + y);
                if (got != wanted) {
                    fault("unscaled", to.left + x, top + y, got, wanted);
                }
            }
        }
    } else {
        for (int q = 0; q < 4; ++q) {
            const int x = to.left + to.width / 4 + (q % 2) * to.width / 2;
            const int y = top + to.height / 4 + (q / 2) * to.height / 2;
            const unsigned wanted = kQuarters[q] & 0xFFFFFF;
            if (Rgb(shown, x, y) != wanted) {
                fault("scaled, a quarter's middle", x, y, Rgb(shown, x, y), wanted);
            }
        }
        for (int y = 0; y < attributes.height; y += 7) {
            for (int x = 0; x < attributes.width; x += 7) {
                const bool inside =
                    x >= to.left && x < to.left + to.width && y >= top && y < top + to.height;
                if (!inside && Rgb(shown, x, y) != 0) {
                    fault("a bar", x, y, Rgb(shown, x, y), 0);
                }
            }
        }
    }
    std::printf("window %dx%d, picture at %d,%d %dx%d: %d faults\n", attributes.width,
                attributes.height, to.left, top, to.width, to.height, faults);
    XDestroyImage(shown);
    buffer->Release();
    device->Release();
    d3d->Release();
    SdlDestroyGameWindow(window);
    return faults == 0 ? 0 : 1;
}
