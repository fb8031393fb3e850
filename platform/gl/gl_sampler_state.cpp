#include "platform/gl/gl_sampler_state.h"

#include <cstring>

#include "platform/gl/gl_translate.h"

GlSamplerState GlSamplerStateFor(const DeviceState& state, DWORD stage) {
    const auto ss = [&](D3DTEXTURESTAGESTATETYPE type) {
        return state.TextureStageState(stage, type);
    };
    GlSamplerState sampler{};
    sampler.minFilter = GlMinFilterFor(ss(D3DTSS_MINFILTER), ss(D3DTSS_MIPFILTER));
    sampler.magFilter = GlMagFilterFor(ss(D3DTSS_MAGFILTER));
    sampler.wrapS = GlWrapModeFor(ss(D3DTSS_ADDRESSU));
    sampler.wrapT = GlWrapModeFor(ss(D3DTSS_ADDRESSV));
    sampler.minLod = static_cast<float>(ss(D3DTSS_MAXMIPLEVEL));
    const DWORD bias = ss(D3DTSS_MIPMAPLODBIAS);
    std::memcpy(&sampler.lodBias, &bias, sizeof(sampler.lodBias));
    const auto border = ColorChannels(ss(D3DTSS_BORDERCOLOR));
    for (int i = 0; i < 4; ++i) {
        sampler.borderColor[i] = border[i];
    }
    return sampler;
}
