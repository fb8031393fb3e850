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
    const Frustum frustum = ViewFrustum(camera);
    const D3DXVECTOR3 rotation = camera.GetRotation();
    if (Failed(BeginGround(device)) || Failed(level.Draw(frustum, true, false, device)) ||
        Failed(waterAndSand.Render(device)) || Failed(BeginTreesAndSky(device)) ||
        Failed(trees.RenderTrees(rotation, frustum, device)) ||
        Failed(trees.RenderFallingLeaves(device)) ||
        Failed(skybox.Render(camera.GetPosition(), device)) || Failed(BeginSpray(device)) ||
        Failed(spray.Update()) || Failed(spray.Render(device, Identity()))) {
        return lastResult;
    }
    EndSpray(device);
    return S_OK;
}

HRESULT Scene::Prime(IDirect3DDevice8* device, const Camera& camera) {
    const Frustum frustum = ViewFrustum(camera);
    const D3DXVECTOR3 rotation = camera.GetRotation();
    // Every group of the level, with no box test: any of them may come into view later.
    if (Failed(BeginGround(device)) || Failed(level.Draw(frustum, false, false, device)) ||
        Failed(waterAndSand.Render(device)) || Failed(BeginTreesAndSky(device)) ||
        Failed(trees.RenderTrees(rotation, frustum, device)) ||
        Failed(trees.RenderStillLeaves(device)) ||
        Failed(skybox.Render(camera.GetPosition(), device)) || Failed(BeginSpray(device)) ||
        Failed(spray.Render(device, Identity()))) {
        return lastResult;
    }
    EndSpray(device);
    return S_OK;
}

bool Scene::Failed(HRESULT result) {
    lastResult = result;
    return FAILED(result);
}

Frustum Scene::ViewFrustum(const Camera& camera) {
    D3DXMATRIX view = camera.GetView();
    D3DXMATRIX projection = camera.GetProjection();
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
    Frustum frustum;
    frustum.Build(viewProjection);
    return frustum;
}

D3DXMATRIX Scene::Identity() {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return identity;
}

// The level and the water with linear filtering, in world space.
HRESULT Scene::BeginGround(IDirect3DDevice8* device) {
    lastResult = device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    lastResult = device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    const D3DXMATRIX identity = Identity();
    return device->SetTransform(D3DTS_WORLD, &identity);
}

// The trees and the sky with point filtering.
HRESULT Scene::BeginTreesAndSky(IDirect3DDevice8* device) {
    lastResult = device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
}

// The spray last: additive, without depth writes. Stage 0 ends up modulating, not adding.
HRESULT Scene::BeginSpray(IDirect3DDevice8* device) {
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
    return device->SetTexture(0, particleTexture);
}

void Scene::EndSpray(IDirect3DDevice8* device) {
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
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
