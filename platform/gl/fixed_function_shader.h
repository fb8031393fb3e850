// GLSL 3.30 or GLSL ES 3.00 sources for one fixed-function state combination: the vertex program
// transforms with row-vector matrices into Direct3D's clip space (then adjusts depth, the
// half-pixel offset and the row order for OpenGL), lights without lights, and makes texture
// coordinates; the fragment program runs the texture stages and the alpha test. Pure text
// generation, tested without a context.
#pragma once

#include <string>

#include "platform/gl/fixed_function_key.h"

// Attribute locations shared by the program and the vertex setup.
constexpr unsigned kPositionAttribute = 0;
constexpr unsigned kNormalAttribute = 1;
constexpr unsigned kDiffuseAttribute = 2;
constexpr unsigned kSpecularAttribute = 3;
constexpr unsigned kTexCoordAttribute0 = 4;  // set n at kTexCoordAttribute0 + n

// What the generated programs take from the OpenGL dialect.
struct GlslDialect {
    const char* header;  // the version line and default precisions
    // Whether D3DCOLOR attributes arrive in memory order (B, G, R, A) and the program swaps them.
    bool colourBytesInMemoryOrder;
};
extern const GlslDialect kDesktopGlsl;  // GLSL 3.30 core
extern const GlslDialect kEsGlsl;       // GLSL ES 3.00, as WebGL 2 takes it

std::string FixedFunctionVertexSource(const FixedFunctionKey& key,
                                      const GlslDialect& glsl = kDesktopGlsl);
std::string FixedFunctionFragmentSource(const FixedFunctionKey& key,
                                        const GlslDialect& glsl = kDesktopGlsl);
