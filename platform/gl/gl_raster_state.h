// The OpenGL fixed-pipeline settings (depth, blending, culling, write masks, fill) that the stored
// Direct3D render states stand for. Pure: the device compares the wanted settings with what it
// last applied and calls OpenGL only for the fields that differ.
#pragma once

#include "platform/gl/device_state.h"
#include "platform/gl/gl_api.h"

struct GlRasterState {
    bool depthTest;
    bool depthWrite;
    GLenum depthFunc;
    bool blend;
    GLenum blendSource;
    GLenum blendDestination;
    GLenum blendEquation;
    bool cull;
    GLenum cullFace;
    bool colorWrite[4];
    GLenum polygonMode;
    bool lineSmooth;

    bool operator==(const GlRasterState& other) const = default;
};

GlRasterState GlRasterStateFor(const DeviceState& state, bool hasDepthBuffer);
