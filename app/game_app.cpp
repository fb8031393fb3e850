#include "app/game_app.h"

namespace {

const int kBackBufferWidth = 1024;
const int kBackBufferHeight = 768;
const D3DCOLOR kClearColor = 0xFF646464;

}  // namespace

bool GameApp::Init(HWND hwnd) {
    if (FAILED(renderDevice.Init(hwnd, kBackBufferWidth, kBackBufferHeight, false))) {
        return false;
    }
    IDirect3DDevice8* device = renderDevice.GetDevice();

    // Set once for the whole run: every later draw relies on them.
    if (FAILED(device->SetRenderState(D3DRS_LIGHTING, FALSE))) {
        return false;
    }
    if (FAILED(device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE))) {
        return false;
    }
    if (FAILED(device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE))) {
        return false;
    }
    if (FAILED(device->SetRenderState(D3DRS_EDGEANTIALIAS, TRUE))) {
        return false;
    }

    camera.Setup(kBackBufferWidth, kBackBufferHeight, D3DXVECTOR3(0, 8, 0),
                 D3DXVECTOR3(0, 3.14f, 0));

    if (FAILED(scene.Load(device))) {
        return false;
    }
    return true;
}

HRESULT GameApp::Frame() {
    IDirect3DDevice8* device = renderDevice.GetDevice();

    camera.BuildView();
    camera.Apply(device);

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColor, 1.0f, 0);
    renderDevice.Begin();
    scene.UpdateAndRender(device, camera);
    renderDevice.End();
    return renderDevice.Present();
}

void GameApp::Shutdown() {
    renderDevice.Release();
}
