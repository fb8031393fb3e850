// GLSL 3.30 sources for one fixed-function state combination: the vertex program transforms with
// row-vector matrices into Direct3D's clip space (then adjusts depth, the half-pixel offset and the
// row order for OpenGL), lights without lights, and makes texture coordinates; the fragment program
// runs the texture stages and the alpha test. Pure text generation, tested without a context.
#pragma once

#include <string>

#include "platform/gl/fixed_function_key.h"

// Attribute locations shared by the program and the vertex setup.
constexpr unsigned kPositionAttribute = 0;
constexpr unsigned kNormalAttribute = 1;
constexpr unsigned kDiffuseAttribute = 2;
constexpr unsigned kSpecularAttribute = 3;
constexpr unsigned kTexCoordAttribute0 = 4;  // set n at kTexCoordAttribute0 + n

std::string FixedFunctionVertexSource(const FixedFunctionKey& key);
std::string FixedFunctionFragmentSource(const FixedFunctionKey& key);
