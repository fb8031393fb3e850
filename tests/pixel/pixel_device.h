// What the image tests take from the build they run in: the window the device draws into, how its
// picture is read back, and what the build can count. Each build links one implementation:
// pixel_device_gl.cpp (our OpenGL layer on the headless context) or pixel_device_direct3d8.cpp
// (the system's d3d8.dll on a window of the tests' own); pixel_device.cpp makes the device alike
// on both.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/direct3d8.h"

// A windowed device with a size x size X8R8G8B8 back buffer and a 16-bit depth buffer, whose
// picture can still be read after Present. On failure both out-parameters are left null.
HRESULT CreatePixelDevice(UINT size, IDirect3D8** d3d, IDirect3DDevice8** device);

// The window a size x size device draws into (none on the headless build); false when the build
// needs one and cannot make it.
bool PixelDeviceWindow(UINT size, HWND* window);

// The back buffer as RGBA bytes, top row first; false when it cannot be read.
bool ReadPixelRows(IDirect3DDevice8* device, std::vector<uint8_t>* rgba, int* width, int* height);

// Objects of the Direct3D layer still alive, where the build keeps a count.
std::optional<int> LiveLayerObjects();
