// Everything that is drawn: the trees, the sky, the level, the water and sand, and the glowing
// spray with its texture. Loads them in a fixed order, and each frame builds the view frustum and
// draws them in a fixed order with the filtering and blending states set between them.
#pragma once

#include "environment/skybox.h"
#include "environment/tree_field.h"
#include "environment/water_and_sand.h"
#include "model/frustum.h"
#include "model/level_model.h"
#include "particles/particle_system.h"
#include "platform/direct3d8.h"
#include "render/camera.h"

class Scene {
public:
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    HRESULT Load(IDirect3DDevice8* device);
    HRESULT UpdateAndRender(IDirect3DDevice8* device, const Camera& camera);
    // Draws what the first frame would, and every group of the level besides, without moving
    // anything (no leaf falls, the spray stays as it is), so that the drawing's programs are
    // built while the game loads rather than in its first frames. The next frame's clear hides
    // it.
    HRESULT Prime(IDirect3DDevice8* device, const Camera& camera);
    HRESULT Release();

    // Around a device reset, which needs the default pool empty: the sea's and the trees'
    // buffers and every emitter's are given up, then made again; the first failure is returned.
    void ReleaseDefaultPool();
    HRESULT RestoreDefaultPool(IDirect3DDevice8* device);

    // The settings of the volcano's spray.
    static ParticleSystemSettings SpraySettings();

    // Read-only views for tests and tools.
    const TreeField& Trees() const { return trees; }
    const LevelModel& Level() const { return level; }
    const ParticleSystem& Spray() const { return spray; }

private:
    // Keeps `result` as the last one; true when it failed.
    bool Failed(HRESULT result);
    static Frustum ViewFrustum(const Camera& camera);
    static D3DXMATRIX Identity();
    // The states each part of the drawing begins with; the frame and the priming share them.
    HRESULT BeginGround(IDirect3DDevice8* device);
    HRESULT BeginTreesAndSky(IDirect3DDevice8* device);
    HRESULT BeginSpray(IDirect3DDevice8* device);
    void EndSpray(IDirect3DDevice8* device);

    TreeField trees;
    Skybox skybox;
    LevelModel level;
    WaterAndSand waterAndSand;
    ParticleSystem spray;
    IDirect3DTexture8* particleTexture;
    HRESULT lastResult;
};
