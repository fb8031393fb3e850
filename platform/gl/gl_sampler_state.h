// The OpenGL sampler parameters one texture stage's filter, addressing and level states stand
// for. Pure: the device keeps one sampler object per stage and updates only the parameters whose
// value changed.
#pragma once

#include "platform/gl/device_state.h"
#include "platform/gl/gl_api.h"

struct GlSamplerState {
    GLenum minFilter;
    GLenum magFilter;
    GLenum wrapS;
    GLenum wrapT;
    float minLod;  // D3DTSS_MAXMIPLEVEL: the largest level that may be read
    float lodBias;
    float borderColor[4];

    bool operator==(const GlSamplerState& other) const = default;
};

GlSamplerState GlSamplerStateFor(const DeviceState& state, DWORD stage);
