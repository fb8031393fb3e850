#include "platform/gl/gl_translate.h"

namespace {

GLenum BlendFactorFor(DWORD blend, GLenum fallback) {
    switch (blend) {
        case D3DBLEND_ZERO:
            return GL_ZERO;
        case D3DBLEND_ONE:
            return GL_ONE;
        case D3DBLEND_SRCCOLOR:
            return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR:
            return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA:
            return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA:
            return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA:
            return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA:
            return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR:
            return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR:
            return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT:
            return GL_SRC_ALPHA_SATURATE;
        default:
            return fallback;
    }
}

}  // namespace

GlBlendFactors GlBlendFactorsFor(DWORD sourceBlend, DWORD destinationBlend) {
    if (sourceBlend == D3DBLEND_BOTHSRCALPHA) {
        return {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
    }
    if (sourceBlend == D3DBLEND_BOTHINVSRCALPHA) {
        return {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA};
    }
    return {BlendFactorFor(sourceBlend, GL_ONE), BlendFactorFor(destinationBlend, GL_ZERO)};
}

GLenum GlBlendEquationFor(DWORD blendOp) {
    switch (blendOp) {
        case D3DBLENDOP_SUBTRACT:
            return GL_FUNC_SUBTRACT;
        case D3DBLENDOP_REVSUBTRACT:
            return GL_FUNC_REVERSE_SUBTRACT;
        case D3DBLENDOP_MIN:
            return GL_MIN;
        case D3DBLENDOP_MAX:
            return GL_MAX;
        default:
            return GL_FUNC_ADD;
    }
}

GLenum GlCompareFunctionFor(DWORD compare) {
    switch (compare) {
        case D3DCMP_NEVER:
            return GL_NEVER;
        case D3DCMP_LESS:
            return GL_LESS;
        case D3DCMP_EQUAL:
            return GL_EQUAL;
        case D3DCMP_LESSEQUAL:
            return GL_LEQUAL;
        case D3DCMP_GREATER:
            return GL_GREATER;
        case D3DCMP_NOTEQUAL:
            return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL:
            return GL_GEQUAL;
        default:
            return GL_ALWAYS;
    }
}

GLenum GlMinFilterFor(DWORD minFilter, DWORD mipFilter) {
    // Anisotropic and the cubic filters fall back to linear, as on hardware without them.
    const bool linear = minFilter != D3DTEXF_POINT && minFilter != D3DTEXF_NONE;
    switch (mipFilter) {
        case D3DTEXF_POINT:
            return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        case D3DTEXF_LINEAR:
        case D3DTEXF_ANISOTROPIC:
        case D3DTEXF_FLATCUBIC:
        case D3DTEXF_GAUSSIANCUBIC:
            return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        default:
            return linear ? GL_LINEAR : GL_NEAREST;
    }
}

GLenum GlMagFilterFor(DWORD magFilter) {
    return magFilter == D3DTEXF_POINT || magFilter == D3DTEXF_NONE ? GL_NEAREST : GL_LINEAR;
}

GLenum GlWrapModeFor(DWORD address) {
    switch (address) {
        case D3DTADDRESS_MIRROR:
            return GL_MIRRORED_REPEAT;
        case D3DTADDRESS_CLAMP:
            return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER:
            return GL_CLAMP_TO_BORDER;
        case D3DTADDRESS_MIRRORONCE:
            return GL_MIRROR_CLAMP_TO_EDGE;
        default:
            return GL_REPEAT;
    }
}

bool GlPrimitiveFor(D3DPRIMITIVETYPE type, UINT primitiveCount, GlPrimitive* primitive) {
    switch (type) {
        case D3DPT_POINTLIST:
            *primitive = {GL_POINTS, uint64_t{primitiveCount}};
            return true;
        case D3DPT_LINELIST:
            *primitive = {GL_LINES, uint64_t{primitiveCount} * 2};
            return true;
        case D3DPT_LINESTRIP:
            *primitive = {GL_LINE_STRIP, uint64_t{primitiveCount} + 1};
            return true;
        case D3DPT_TRIANGLELIST:
            *primitive = {GL_TRIANGLES, uint64_t{primitiveCount} * 3};
            return true;
        case D3DPT_TRIANGLESTRIP:
            *primitive = {GL_TRIANGLE_STRIP, uint64_t{primitiveCount} + 2};
            return true;
        case D3DPT_TRIANGLEFAN:
            *primitive = {GL_TRIANGLE_FAN, uint64_t{primitiveCount} + 2};
            return true;
        default:
            return false;
    }
}

std::array<float, 4> ColorChannels(D3DCOLOR color) {
    return {static_cast<float>((color >> 16) & 0xFF) / 255.0f,
            static_cast<float>((color >> 8) & 0xFF) / 255.0f,
            static_cast<float>(color & 0xFF) / 255.0f,
            static_cast<float>((color >> 24) & 0xFF) / 255.0f};
}

D3DMATRIX GlClipFromDirect3D(UINT width, UINT height) {
    D3DMATRIX clip{};
    clip.m[0][0] = 1.0f;
    clip.m[1][1] = -1.0f;
    clip.m[2][2] = 2.0f;
    clip.m[3][0] = width != 0 ? 1.0f / static_cast<float>(width) : 0.0f;
    clip.m[3][1] = height != 0 ? 1.0f / static_cast<float>(height) : 0.0f;
    clip.m[3][2] = -1.0f;
    clip.m[3][3] = 1.0f;
    return clip;
}
