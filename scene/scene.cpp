#include "scene/scene.h"

#include "d3dx/content_failure.h"
#include "d3dx/d3dx_texture.h"
#include "model/frustum.h"
#include "render/release_and_clear.h"

namespace {

const int kSprayWarmUpUpdates = 500;

}  // namespace

Scene::Scene() : particleTexture(nullptr), lastResult(S_OK) {}

Scene::~Scene() {
    Release();
}

ParticleSystemSettings Scene::SpraySettings() {
    ParticleSystemSettings s{};
    s.origin = D3DXVECTOR3(-40, 30, 10);  // the volcano's crater
    s.originSpread = D3DXVECTOR3(5, 5, 5);
    s.velocity = D3DXVECTOR3(0, 1, 0);
    s.velocitySpread = D3DXVECTOR3(0.3f, 0.001f, 0.3f);
    s.gravity = 0.04f;
    s.gravitySpread = 0.0001f;
    s.life = 100;
    s.lifeSpread = 20;
    s.startColor = D3DXCOLOR(0.1f, 0.0f, 0.0f, 1.0f);
    s.endColor = D3DXCOLOR(0.5f, 0.2f, 0.0f, 1.0f);
    s.count = 2000;
    s.drift = D3DXVECTOR3(0.2f, 0, 0);
    s.halfWidth = 2.5f;
    s.halfHeight = 2.5f;
    s.respawn = 1;
    return s;
}

HRESULT Scene::Load(IDirect3DDevice8* device) {
    lastResult = trees.Load(device);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult =
        skybox.Load(D3DXVECTOR3(500, 500, 500), "data/skybox_top.bmp", "data/skybox_bottom.bmp",
                    "data/skybox_left.bmp", "data/skybox_right.bmp", "data/skybox_front.bmp",
                    "data/skybox_back.bmp", device);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    // A level that does not load is reported and the game goes on without it.
    lastResult = level.Load("level.ms3d", "data/", device);
    if (FAILED(lastResult)) {
        MessageBoxA(nullptr, "hi", "hi", MB_OK);
    }
    // Whatever the level went without has been dealt with: it must not be blamed for a later
    // failure.
    ForgetContentFailure();
    lastResult = waterAndSand.Load(device);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = spray.Create(SpraySettings(), device);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = D3DXCreateTextureFromFileExA(
        device, "data/particle.bmp", 300, 300, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
        D3DX_DEFAULT, 0xFF000000, nullptr, nullptr, &particleTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    // The spray is already in full flow on the first frame.
    for (int i = 0; i < kSprayWarmUpUpdates; ++i) {
        spray.Update();
    }
    return S_OK;
}

HRESULT Scene::UpdateAndRender(IDirect3DDevice8* device, const Camera& camera) {
    return Draw(device, camera, false);
}

HRESULT Scene::Prime(IDirect3DDevice8* device, const Camera& camera) {
    return Draw(device, camera, true);
}

HRESULT Scene::Draw(IDirect3DDevice8* device, const Camera& camera, bool priming) {
    D3DXMATRIX view = camera.GetView();
    D3DXMATRIX projection = camera.GetProjection();
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
    Frustum frustum;
    frustum.Build(viewProjection);

    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);

    // The level and the water with linear filtering.
    lastResult = device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetTransform(D3DTS_WORLD, &identity);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    // Priming, every group: any of them may come into view later.
    lastResult = level.Draw(frustum, !priming, false, device);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = waterAndSand.Render(device);
    if (FAILED(lastResult)) {
        return lastResult;
    }

    // The trees and the sky with point filtering.
    lastResult = device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = priming ? trees.RenderWithoutLeaves(camera.GetRotation(), frustum, device)
                         : trees.Render(camera.GetRotation(), frustum, device);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = skybox.Render(camera.GetPosition(), device);
    if (FAILED(lastResult)) {
        return lastResult;
    }

    // The spray last: additive, without depth writes. Stage 0 ends up modulating, not adding.
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);

    lastResult = device->SetTexture(0, particleTexture);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    if (!priming) {
        lastResult = spray.Update();
        if (FAILED(lastResult)) {
            return lastResult;
        }
    }
    lastResult = spray.Render(device, identity);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    return S_OK;
}

HRESULT Scene::Release() {
    HRESULT result = trees.Release();
    if (SUCCEEDED(result)) {
        result = skybox.Release();
    }
    if (SUCCEEDED(result)) {
        result = level.Release();
    }
    if (SUCCEEDED(result)) {
        result = waterAndSand.Release();
    }
    lastResult = result;
    // The spray's buffer and the particle texture go whatever the members said: left to the
    // destructors they would outlive the device, which is released right after the scene.
    spray.Release();
    ReleaseAndClear(particleTexture);
    return FAILED(result) ? result : S_OK;
}

void Scene::ReleaseDefaultPool() {
    trees.ReleaseDefaultPool();
    waterAndSand.ReleaseDefaultPool();
    spray.ReleaseDefaultPool();
}

HRESULT Scene::RestoreDefaultPool(IDirect3DDevice8* device) {
    lastResult = trees.RestoreDefaultPool(device);
    if (SUCCEEDED(lastResult)) {
        lastResult = waterAndSand.RestoreDefaultPool(device);
    }
    if (SUCCEEDED(lastResult)) {
        lastResult = spray.RestoreDefaultPool(device);
    }
    return FAILED(lastResult) ? lastResult : S_OK;
}
