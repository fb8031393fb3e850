// The state combination a generated OpenGL program is specialised to: which vertex elements
// exist, lighting and where its colours come from, and for each active texture stage its colour
// and alpha operations and arguments, texture coordinate source and transform, plus the alpha
// test function. Everything else (matrices, colours, the alpha reference) is a uniform.
//
// The key is normalised so that states that draw alike share one program: stages after the
// first disabled one are dropped, unused arguments are zeroed, and an operation that reads a
// stage's texture while none is bound becomes a pass-through of CURRENT.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gl/device_state.h"
#include "platform/gl/fvf_layout.h"

// Where a lit colour component comes from (D3DRS_*MATERIALSOURCE resolved against the vertex).
enum class ColorSource : uint8_t { Material = 0, VertexDiffuse = 1, VertexSpecular = 2 };

constexpr uint8_t kNoTexCoordSet = 0xFF;

struct StageKey {
    uint8_t colorOp;
    uint8_t colorArg[3];  // ARG0, ARG1, ARG2: a D3DTA selector with its modifier bits
    uint8_t alphaOp;
    uint8_t alphaArg[3];
    uint8_t sampled;             // the stage reads its texture
    uint8_t texCoordSet;         // kNoTexCoordSet: the vertex has no such set
    uint8_t texCoordComponents;  // of that set, 1 to 4
    uint8_t transformCount;      // 0: no texture transform, else D3DTTFF_COUNTn
    uint8_t transformProjected;  // D3DTTFF_PROJECTED
};

struct FixedFunctionKey {
    uint8_t transformed;  // XYZRHW vertices: no transform, no lighting
    uint8_t lighting;
    ColorSource ambientSource;
    ColorSource emissiveSource;
    ColorSource diffuseSource;  // only its alpha reaches the output without lights
    uint8_t flatShading;
    uint8_t alphaTestFunc;  // 0 when no fragment can fail the test
    uint8_t stageCount;     // stages before the first disabled one
    StageKey stages[kTextureStageCount];

    bool operator==(const FixedFunctionKey& other) const;
    size_t Hash() const;
};

struct FixedFunctionKeyHash {
    size_t operator()(const FixedFunctionKey& key) const { return key.Hash(); }
};

// boundTextures has bit n set when stage n has a texture.
FixedFunctionKey BuildFixedFunctionKey(const DeviceState& state, const FvfLayout& layout,
                                       uint32_t boundTextures);

// Which of ARG0, ARG1, ARG2 an operation reads (bit n for ARGn); colour-only operations count
// as unsupported in the alpha pipe.
uint32_t ArgumentsReadBy(DWORD op, bool alphaPipe);
// Operations outside what the generator builds (bump mapping, premodulate) become MODULATE.
DWORD SupportedOp(DWORD op, bool alphaPipe);
