// The image tests on our OpenGL layer: the headless EGL context, read back straight from the
// layer's back buffer.
#include "platform/gl/gl_device.h"
#include "platform/gl/live_objects.h"
#include "tests/pixel/pixel_device.h"

bool PixelDeviceWindow(UINT, HWND* window) {
    *window = nullptr;  // the headless context draws into no window
    return true;
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
