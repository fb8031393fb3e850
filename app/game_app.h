// The one game object: owns the render device, the camera, the player's input and movement, and
// the scene, and gives the process entry its start-up, frame and shutdown. It also carries the
// device through a reset: what a reset takes away (the default-pool buffers, the lasting render
// states) it makes again.
#pragma once

#include "input/input_system.h"
#include "platform/win32.h"
#include "render/camera.h"
#include "render/device_reset_handler.h"
#include "render/render_device.h"
#include "scene/scene.h"

class GameApp : private DeviceResetHandler {
public:
    // The start-up steps in order; Init stops at the first that fails.
    enum class StartupStep {
        kNone,
        kDevice,        // the full-screen Direct3D device
        kRenderStates,  // the four lasting render states
        kScene,         // everything drawn, with its models and textures
        kInput,         // the collision model, then the keyboard and mouse
    };

    bool Init(HWND hwnd);
    HRESULT Frame();
    void Shutdown();

    // Read-only views for the tools that drive the game (the capture tool's trace and shots).
    const Camera& GetCamera() const { return camera; }
    const InputSystem& GetInput() const { return inputSystem; }
    IDirect3DDevice8* GetDevice() const { return renderDevice.GetDevice(); }
    const Scene& GetScene() const { return scene; }
    // The step at which the last Init stopped; kNone after a start-up that succeeded.
    StartupStep FailedStep() const { return failedStep; }

private:
    // Where the device's default-pool resources stand around a reset.
    enum class DeviceResources {
        Ready,          // made and drawn
        Released,       // given up for a reset that has not yet succeeded
        RestoreFailed,  // the reset succeeded but making them again did not: retried each frame
    };

    void BeforeReset(IDirect3DDevice8* device) override;
    HRESULT AfterReset(IDirect3DDevice8* device) override;
    HRESULT SetGlobalRenderStates(IDirect3DDevice8* device);
    // The camera behind the player, as the input system has it now.
    void PlaceCamera(IDirect3DDevice8* device);

    RenderDevice renderDevice;
    Camera camera;
    InputSystem inputSystem;
    Scene scene;
    DeviceResources deviceResources = DeviceResources::Ready;
    StartupStep failedStep = StartupStep::kNone;
};

// The process-wide instance every entry point drives.
extern GameApp gameApp;
