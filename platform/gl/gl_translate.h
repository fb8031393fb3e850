// Direct3D 8 values to OpenGL values: small pure functions and tables, no OpenGL call, so they
// are tested without a context. Values Direct3D does not define map to the Direct3D default's
// OpenGL counterpart rather than to an OpenGL error.
#pragma once

#include <array>
#include <cstdint>

#include "platform/direct3d8.h"
#include "platform/gl/gl_api.h"

struct GlBlendFactors {
    GLenum source;
    GLenum destination;
};

// D3DBLEND_BOTHSRCALPHA and BOTHINVSRCALPHA set both factors from the source blend alone.
GlBlendFactors GlBlendFactorsFor(DWORD sourceBlend, DWORD destinationBlend);
GLenum GlBlendEquationFor(DWORD blendOp);
GLenum GlCompareFunctionFor(DWORD compare);

// MIPFILTER NONE gives a filter that never reads below the base level.
GLenum GlMinFilterFor(DWORD minFilter, DWORD mipFilter);
GLenum GlMagFilterFor(DWORD magFilter);
GLenum GlWrapModeFor(DWORD address);

struct GlPrimitive {
    GLenum mode;
    uint64_t vertexCount;  // wide enough that no primitive count overflows it
};
// False for a primitive type Direct3D 8 does not define.
bool GlPrimitiveFor(D3DPRIMITIVETYPE type, UINT primitiveCount, GlPrimitive* primitive);

// What takes Direct3D's clip space to the one the layer draws in, multiplied after the projection
// (row vectors, as Direct3D's): pixel centres half a pixel further right and down, the picture
// top row first (y negated) and depth 0..w widened to OpenGL's -w..w.
D3DMATRIX GlClipFromDirect3D(UINT width, UINT height);

// A D3DCOLOR (A8R8G8B8) as red, green, blue, alpha in 0..1.
std::array<float, 4> ColorChannels(D3DCOLOR color);
