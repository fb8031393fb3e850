// The device's stored state: every render state, texture-stage state and transform with
// Direct3D 8's defaults (not OpenGL's). Set* calls store here and mark what changed; the draw
// pushes only what changed to OpenGL. Pure data, testable without a context.
#pragma once

#include <array>
#include <cstdint>

#include "platform/direct3d8.h"

constexpr DWORD kRenderStateCount = 256;
constexpr DWORD kTextureStageCount = 8;
constexpr DWORD kTextureStageStateCount = 32;
constexpr DWORD kTransformCount = 512;  // world matrices live at 256 and above

class DeviceState {
public:
    explicit DeviceState(bool autoDepthStencil);

    // False for a state value Direct3D 8 does not define.
    static bool IsValidRenderState(D3DRENDERSTATETYPE state);
    static bool IsValidTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type);
    static bool IsValidTransform(D3DTRANSFORMSTATETYPE state);

    DWORD RenderState(D3DRENDERSTATETYPE state) const { return renderStates[state]; }
    void SetRenderState(D3DRENDERSTATETYPE state, DWORD value);

    DWORD TextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const {
        return stageStates[stage][type];
    }
    void SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);

    const D3DMATRIX& Transform(D3DTRANSFORMSTATETYPE state) const { return transforms[state]; }
    void SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& matrix);

    const D3DMATERIAL8& Material() const { return material; }
    void SetMaterial(const D3DMATERIAL8& value) {
        material = value;
        ++materialVersion;
    }

    // Bumped on every change, so a draw can tell whether anything needs pushing.
    uint64_t RenderStateVersion() const { return renderStateVersion; }
    uint64_t StageStateVersion() const { return stageStateVersion; }
    uint64_t TransformVersion() const { return transformVersion; }
    uint64_t MaterialVersion() const { return materialVersion; }

private:
    std::array<DWORD, kRenderStateCount> renderStates;
    std::array<std::array<DWORD, kTextureStageStateCount>, kTextureStageCount> stageStates;
    std::array<D3DMATRIX, kTransformCount> transforms;
    D3DMATERIAL8 material;
    uint64_t renderStateVersion;
    uint64_t stageStateVersion;
    uint64_t transformVersion;
    uint64_t materialVersion;
};

// Reinterprets a float-valued state (fog start, point size) as Direct3D passes it.
DWORD FloatStateValue(float value);
