// The level's per-frame cost on the recording device: building the frustum and drawing the
// generated level (70 groups) with box culling from the start view and from a view that sees
// nothing. Run from the build directory, beside data/. The figures include the recording device's
// logging of every call, so they bound the game's own share from above.
#include <benchmark/benchmark.h>

#include "model/frustum.h"
#include "model/level_model.h"
#include "render/camera.h"
#include "tests/support/recording_device.h"

namespace {

class LevelOnRecordingDevice {
public:
    LevelOnRecordingDevice() {
        RecordingSetup::Get().Restore();
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters{};
        d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &device);
        loaded = SUCCEEDED(level.Load("level.ms3d", "data/", device));
        CallLog::Get().Reset();
    }
    ~LevelOnRecordingDevice() {
        level.Release();
        device->Release();
        d3d->Release();
    }

    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    LevelModel level;
    bool loaded = false;
};

Frustum FrustumFrom(D3DXVECTOR3 position, float yaw) {
    Camera camera;
    camera.Setup(1024, 768, position, D3DXVECTOR3(0, yaw, 0));
    D3DXMATRIX view = camera.GetView();
    D3DXMATRIX projection = camera.GetProjection();
    Frustum frustum;
    frustum.Build(view * projection);
    return frustum;
}

void DrawLevel(benchmark::State& state, D3DXVECTOR3 position, float yaw) {
    LevelOnRecordingDevice fixture;
    if (!fixture.loaded) {
        state.SkipWithError("no data/level.ms3d here: run from the build directory");
        return;
    }
    const Frustum frustum = FrustumFrom(position, yaw);
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.level.Draw(frustum, true, false, fixture.device));
        CallLog::Get().ClearCalls();
    }
    fixture.level.Draw(frustum, true, false, fixture.device);
    state.counters["groups_drawn"] = CallLog::Get().Count("DrawPrimitive");
    state.counters["groups"] = fixture.level.GroupCount();
}

void BM_DrawLevelFromTheStart(benchmark::State& state) {
    DrawLevel(state, D3DXVECTOR3(-2.9f, 1, -13), 0.0f);
}
BENCHMARK(BM_DrawLevelFromTheStart);

void BM_DrawLevelSeeingNothing(benchmark::State& state) {
    DrawLevel(state, D3DXVECTOR3(0, 5000, 0), 0.0f);
}
BENCHMARK(BM_DrawLevelSeeingNothing);

void BM_BuildFrustum(benchmark::State& state) {
    Camera camera;
    camera.Setup(1024, 768, D3DXVECTOR3(-2.9f, 1, -13), D3DXVECTOR3(0, 0.3f, 0));
    const D3DXMATRIX viewProjection = camera.GetView() * camera.GetProjection();
    for (auto _ : state) {
        Frustum frustum;
        frustum.Build(viewProjection);
        benchmark::DoNotOptimize(frustum);
    }
}
BENCHMARK(BM_BuildFrustum);

}  // namespace

BENCHMARK_MAIN();
