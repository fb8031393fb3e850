#include "app/game_app.h"

#include "d3dx/content_failure.h"

namespace {

const int kBackBufferWidth = 1024;
const int kBackBufferHeight = 768;
const D3DCOLOR kClearColor = 0xFF646464;
const D3DXVECTOR3 kCameraOffset(0.0f, 3.0f, -3.0f);

}  // namespace

bool GameApp::Init(HWND hwnd) {
    // A content file is blamed only for a failure of the step that read it.
    ForgetContentFailure();
    failedStep = StartupStep::kDevice;
    if (FAILED(renderDevice.Init(hwnd, kBackBufferWidth, kBackBufferHeight, false))) {
        return false;
    }
    renderDevice.SetResetHandler(this);
    IDirect3DDevice8* device = renderDevice.GetDevice();

    failedStep = StartupStep::kRenderStates;
    if (FAILED(SetGlobalRenderStates(device))) {
        return false;
    }

    camera.Setup(kBackBufferWidth, kBackBufferHeight, D3DXVECTOR3(0, 8, 0),
                 D3DXVECTOR3(0, 3.14f, 0));

    failedStep = StartupStep::kScene;
    if (FAILED(scene.Load(device))) {
        return false;
    }
    ForgetContentFailure();
    failedStep = StartupStep::kInput;
    if (FAILED(inputSystem.Init(hwnd))) {
        return false;
    }
    failedStep = StartupStep::kNone;

    // The first frame's drawing, once, while the game loads: the device builds its programs for
    // it now rather than in the first frames. Nothing is shown; a prime that fails leaves that
    // work to the first frame, which draws everything again anyway.
    PlaceCamera(device);
    if (SUCCEEDED(renderDevice.Begin())) {
        scene.Prime(device, camera);
        renderDevice.End();
    }
    return true;
}

void GameApp::PlaceCamera(IDirect3DDevice8* device) {
    D3DXVECTOR3 player;
    float heading = 0.0f;
    int forward = 0;
    int left = 0;
    int right = 0;
    inputSystem.GetState(&player, &heading, &forward, &left, &right);

    // Above and behind the player along -z, a fixed offset that does not turn with it; the yaw
    // uses 3.14 for pi, as the game always has, worked out in double and stored as a float.
    camera.SetPosition(player + kCameraOffset);
    camera.SetRotation(D3DXVECTOR3(0.0f, static_cast<float>(heading * 3.14 / 180.0), 0.0f));
    camera.BuildView();
    camera.Apply(device);
}

HRESULT GameApp::Frame() {
    IDirect3DDevice8* device = renderDevice.GetDevice();

    // Without input (the window in the background) the frame is skipped whole and retried.
    const HRESULT input = inputSystem.Update();
    if (FAILED(input)) {
        return input;
    }
    PlaceCamera(device);

    HRESULT restored = S_OK;
    if (deviceResources == DeviceResources::RestoreFailed) {
        restored = AfterReset(device);
    }

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColor, 1.0f, 0);
    renderDevice.Begin();
    // Without its buffers (a reset not yet through, or their restore failed) the scene waits.
    if (deviceResources == DeviceResources::Ready) {
        scene.UpdateAndRender(device, camera);
    }
    renderDevice.End();
    const HRESULT presented = renderDevice.Present();
    // A restore that failed again is reported unless presenting failed too.
    return FAILED(presented) ? presented : restored;
}

void GameApp::Shutdown() {
    scene.Release();
    renderDevice.Release();
    inputSystem.Release();
}

// Set once at start-up and again after every reset (which returns them to their defaults):
// every draw relies on them.
HRESULT GameApp::SetGlobalRenderStates(IDirect3DDevice8* device) {
    HRESULT result = device->SetRenderState(D3DRS_LIGHTING, FALSE);
    if (SUCCEEDED(result)) {
        result = device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }
    if (SUCCEEDED(result)) {
        result = device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    }
    if (SUCCEEDED(result)) {
        result = device->SetRenderState(D3DRS_EDGEANTIALIAS, TRUE);
    }
    return result;
}

void GameApp::BeforeReset(IDirect3DDevice8* device) {
    // The stream binding holds a reference of its own on the last buffer drawn.
    device->SetStreamSource(0, nullptr, 0);
    scene.ReleaseDefaultPool();
    deviceResources = DeviceResources::Released;
}

HRESULT GameApp::AfterReset(IDirect3DDevice8* device) {
    HRESULT result = SetGlobalRenderStates(device);
    if (SUCCEEDED(result)) {
        result = scene.RestoreDefaultPool(device);
    }
    deviceResources = FAILED(result) ? DeviceResources::RestoreFailed : DeviceResources::Ready;
    return result;
}
