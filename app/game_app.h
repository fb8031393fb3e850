// The one game object: owns the render device, the camera, the player's input and movement, and
// the scene, and gives the process entry its start-up, frame and shutdown.
#pragma once

#include "input/input_system.h"
#include "platform/win32.h"
#include "render/camera.h"
#include "render/render_device.h"
#include "render/scene.h"

class GameApp {
public:
    bool Init(HWND hwnd);
    HRESULT Frame();
    void Shutdown();

    // Read-only views for the tools that drive the game (the capture tool's trace and shots).
    const Camera& GetCamera() const { return camera; }
    const InputSystem& GetInput() const { return inputSystem; }
    IDirect3DDevice8* GetDevice() const { return renderDevice.GetDevice(); }
    const Scene& GetScene() const { return scene; }

private:
    RenderDevice renderDevice;
    Camera camera;
    InputSystem inputSystem;
    Scene scene;
};

// The process-wide instance every entry point drives.
extern GameApp gameApp;
