// Where each element of a flexible-vertex-format vertex lies: position (untransformed XYZ or
// screen-space XYZRHW), normal, point size, diffuse, specular and up to eight texture coordinate
// sets, in the order Direct3D packs them. Pure; the draw uses it to point OpenGL's attributes.
#pragma once

#include "platform/direct3d8.h"

constexpr UINT kMaxTexCoordSets = 8;

struct FvfLayout {
    bool transformed = false;  // XYZRHW: x, y in pixels, z in 0..1, 1/w
    UINT positionComponents = 0;
    int normalOffset = -1;
    int diffuseOffset = -1;
    int specularOffset = -1;
    UINT texCoordCount = 0;
    UINT texCoordOffset[kMaxTexCoordSets] = {};
    UINT texCoordComponents[kMaxTexCoordSets] = {};
    UINT stride = 0;
};

// False for formats the layer does not draw: no position, or vertex blend weights.
bool DecodeFvf(DWORD fvf, FvfLayout* layout);
