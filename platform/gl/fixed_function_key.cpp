#include "platform/gl/fixed_function_key.h"

#include <cstring>

namespace {

bool IsColorOnlyOp(DWORD op) {
    return op == D3DTOP_MODULATEALPHA_ADDCOLOR || op == D3DTOP_MODULATECOLOR_ADDALPHA ||
           op == D3DTOP_MODULATEINVALPHA_ADDCOLOR || op == D3DTOP_MODULATEINVCOLOR_ADDALPHA;
}

bool ReadsTexture(DWORD op, const uint8_t (&args)[3]) {
    if (op == D3DTOP_BLENDTEXTUREALPHA || op == D3DTOP_BLENDTEXTUREALPHAPM) {
        return true;
    }
    for (int n = 0; n < 3; ++n) {
        if ((args[n] & D3DTA_SELECTMASK) == D3DTA_TEXTURE) {
            return true;
        }
    }
    return false;
}

ColorSource ResolveSource(DWORD source, bool colorVertex, const FvfLayout& layout) {
    if (colorVertex && source == D3DMCS_COLOR1 && layout.diffuseOffset >= 0) {
        return ColorSource::VertexDiffuse;
    }
    if (colorVertex && source == D3DMCS_COLOR2 && layout.specularOffset >= 0) {
        return ColorSource::VertexSpecular;
    }
    return ColorSource::Material;
}

// One pipe (colour or alpha) of a stage: the supported operation and only the arguments it reads.
void NormalisePipe(DWORD op, DWORD arg0, DWORD arg1, DWORD arg2, bool alphaPipe, bool hasTexture,
                   uint8_t* keyOp, uint8_t (&keyArgs)[3]) {
    op = SupportedOp(op, alphaPipe);
    const DWORD args[3] = {arg0, arg1, arg2};
    const uint32_t used = ArgumentsReadBy(op, alphaPipe);
    for (int n = 0; n < 3; ++n) {
        // Only the selector and its two modifiers mean anything; alpha replication is a no-op
        // in the alpha pipe.
        DWORD arg = args[n] & (D3DTA_SELECTMASK | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE);
        if (alphaPipe) {
            arg &= ~D3DTA_ALPHAREPLICATE;
        }
        keyArgs[n] = (used & (1u << n)) ? static_cast<uint8_t>(arg) : 0;
    }
    if (!hasTexture && ReadsTexture(op, keyArgs)) {
        // Without a texture the stage passes CURRENT through.
        op = D3DTOP_SELECTARG1;
        keyArgs[0] = 0;
        keyArgs[1] = D3DTA_CURRENT;
        keyArgs[2] = 0;
    }
    *keyOp = static_cast<uint8_t>(op);
}

}  // namespace

uint32_t ArgumentsReadBy(DWORD op, bool alphaPipe) {
    switch (op) {
        case D3DTOP_DISABLE:
            return 0;
        case D3DTOP_SELECTARG1:
            return 0b010;
        case D3DTOP_SELECTARG2:
            return 0b100;
        case D3DTOP_MULTIPLYADD:
        case D3DTOP_LERP:
            return 0b111;
        default:
            if (alphaPipe && IsColorOnlyOp(op)) {
                return 0;
            }
            return 0b110;
    }
}

DWORD SupportedOp(DWORD op, bool alphaPipe) {
    if (op < D3DTOP_DISABLE || op > D3DTOP_LERP || op == D3DTOP_PREMODULATE ||
        op == D3DTOP_BUMPENVMAP || op == D3DTOP_BUMPENVMAPLUMINANCE ||
        (alphaPipe && IsColorOnlyOp(op))) {
        return D3DTOP_MODULATE;
    }
    return op;
}

bool FixedFunctionKey::operator==(const FixedFunctionKey& other) const {
    return std::memcmp(this, &other, sizeof(*this)) == 0;
}

size_t FixedFunctionKey::Hash() const {
    // FNV-1a over the bytes: the key is built zero-filled, so padding never differs.
    const auto* bytes = reinterpret_cast<const uint8_t*>(this);
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < sizeof(*this); ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

FixedFunctionKey BuildFixedFunctionKey(const DeviceState& state, const FvfLayout& layout,
                                       uint32_t boundTextures) {
    FixedFunctionKey key;
    std::memset(&key, 0, sizeof(key));

    key.transformed = layout.transformed ? 1 : 0;
    key.lighting = (!layout.transformed && state.RenderState(D3DRS_LIGHTING)) ? 1 : 0;
    if (key.lighting) {
        const bool colorVertex = state.RenderState(D3DRS_COLORVERTEX) != FALSE;
        key.ambientSource =
            ResolveSource(state.RenderState(D3DRS_AMBIENTMATERIALSOURCE), colorVertex, layout);
        key.emissiveSource =
            ResolveSource(state.RenderState(D3DRS_EMISSIVEMATERIALSOURCE), colorVertex, layout);
        key.diffuseSource =
            ResolveSource(state.RenderState(D3DRS_DIFFUSEMATERIALSOURCE), colorVertex, layout);
    }
    key.flatShading = state.RenderState(D3DRS_SHADEMODE) == D3DSHADE_FLAT ? 1 : 0;

    const DWORD alphaFunc = state.RenderState(D3DRS_ALPHAFUNC);
    if (state.RenderState(D3DRS_ALPHATESTENABLE) && alphaFunc != D3DCMP_ALWAYS) {
        // An undefined function passes everything, as ALWAYS does.
        if (alphaFunc >= D3DCMP_NEVER && alphaFunc < D3DCMP_ALWAYS) {
            key.alphaTestFunc = static_cast<uint8_t>(alphaFunc);
        }
    }

    for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
        const auto ss = [&](D3DTEXTURESTAGESTATETYPE type) {
            return state.TextureStageState(stage, type);
        };
        if (SupportedOp(ss(D3DTSS_COLOROP), false) == D3DTOP_DISABLE) {
            break;
        }
        StageKey& stageKey = key.stages[stage];
        const bool hasTexture = (boundTextures & (1u << stage)) != 0;
        NormalisePipe(ss(D3DTSS_COLOROP), ss(D3DTSS_COLORARG0), ss(D3DTSS_COLORARG1),
                      ss(D3DTSS_COLORARG2), false, hasTexture, &stageKey.colorOp,
                      stageKey.colorArg);
        DWORD alphaOp = ss(D3DTSS_ALPHAOP);
        DWORD alphaArg1 = ss(D3DTSS_ALPHAARG1);
        if (SupportedOp(alphaOp, true) == D3DTOP_DISABLE) {
            // Alpha cannot stop while colour goes on: it carries CURRENT through.
            alphaOp = D3DTOP_SELECTARG1;
            alphaArg1 = D3DTA_CURRENT;
        }
        NormalisePipe(alphaOp, ss(D3DTSS_ALPHAARG0), alphaArg1, ss(D3DTSS_ALPHAARG2), true,
                      hasTexture, &stageKey.alphaOp, stageKey.alphaArg);

        const bool sampled = ReadsTexture(stageKey.colorOp, stageKey.colorArg) ||
                             ReadsTexture(stageKey.alphaOp, stageKey.alphaArg);
        stageKey.sampled = sampled ? 1 : 0;
        stageKey.texCoordSet = kNoTexCoordSet;
        if (sampled) {
            const DWORD set = ss(D3DTSS_TEXCOORDINDEX) & 0xFFFFu;
            if (set < layout.texCoordCount) {
                stageKey.texCoordSet = static_cast<uint8_t>(set);
                stageKey.texCoordComponents = static_cast<uint8_t>(layout.texCoordComponents[set]);
                const DWORD flags = ss(D3DTSS_TEXTURETRANSFORMFLAGS);
                const DWORD count = flags & 0xFFu;
                if (!layout.transformed && count >= D3DTTFF_COUNT1 && count <= D3DTTFF_COUNT4) {
                    stageKey.transformCount = static_cast<uint8_t>(count);
                    stageKey.transformProjected = (flags & D3DTTFF_PROJECTED) ? 1 : 0;
                }
            }
        }
        key.stageCount = static_cast<uint8_t>(stage + 1);
    }
    return key;
}
