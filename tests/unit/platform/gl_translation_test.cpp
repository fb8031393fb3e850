// The OpenGL layer's context-free parts: Direct3D-to-OpenGL tables, vertex layouts, texture
// formats, the raster and sampler settings of the default states, and the normalisation of the
// fixed-function program key.
#include <gtest/gtest.h>

#include "platform/gl/device_state.h"
#include "platform/gl/fixed_function_key.h"
#include "platform/gl/fixed_function_shader.h"
#include "platform/gl/fvf_layout.h"
#include "platform/gl/gl_raster_state.h"
#include "platform/gl/gl_sampler_state.h"
#include "platform/gl/gl_texture_format.h"
#include "platform/gl/gl_translate.h"

namespace {

TEST(GlTranslateTest, BlendFactors) {
    const GlBlendFactors defaults = GlBlendFactorsFor(D3DBLEND_ONE, D3DBLEND_ZERO);
    EXPECT_EQ(defaults.source, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(defaults.destination, static_cast<GLenum>(GL_ZERO));
    const GlBlendFactors water = GlBlendFactorsFor(D3DBLEND_SRCCOLOR, D3DBLEND_SRCCOLOR);
    EXPECT_EQ(water.source, static_cast<GLenum>(GL_SRC_COLOR));
    EXPECT_EQ(water.destination, static_cast<GLenum>(GL_SRC_COLOR));
    // BOTHSRCALPHA sets both sides whatever the destination says.
    const GlBlendFactors both = GlBlendFactorsFor(D3DBLEND_BOTHSRCALPHA, D3DBLEND_ONE);
    EXPECT_EQ(both.source, static_cast<GLenum>(GL_SRC_ALPHA));
    EXPECT_EQ(both.destination, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
    const GlBlendFactors inverse = GlBlendFactorsFor(D3DBLEND_INVDESTALPHA, D3DBLEND_INVSRCCOLOR);
    EXPECT_EQ(inverse.source, static_cast<GLenum>(GL_ONE_MINUS_DST_ALPHA));
    EXPECT_EQ(inverse.destination, static_cast<GLenum>(GL_ONE_MINUS_SRC_COLOR));
    // Undefined values fall back to the defaults.
    const GlBlendFactors bogus = GlBlendFactorsFor(0, 99);
    EXPECT_EQ(bogus.source, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(bogus.destination, static_cast<GLenum>(GL_ZERO));
}

TEST(GlTranslateTest, CompareFunctions) {
    EXPECT_EQ(GlCompareFunctionFor(D3DCMP_LESSEQUAL), static_cast<GLenum>(GL_LEQUAL));
    EXPECT_EQ(GlCompareFunctionFor(D3DCMP_GREATER), static_cast<GLenum>(GL_GREATER));
    EXPECT_EQ(GlCompareFunctionFor(D3DCMP_NEVER), static_cast<GLenum>(GL_NEVER));
    EXPECT_EQ(GlCompareFunctionFor(D3DCMP_ALWAYS), static_cast<GLenum>(GL_ALWAYS));
}

TEST(GlTranslateTest, FiltersNeverReachSmallerLevelsWithoutAMipFilter) {
    EXPECT_EQ(GlMinFilterFor(D3DTEXF_POINT, D3DTEXF_NONE), static_cast<GLenum>(GL_NEAREST));
    EXPECT_EQ(GlMinFilterFor(D3DTEXF_LINEAR, D3DTEXF_NONE), static_cast<GLenum>(GL_LINEAR));
    EXPECT_EQ(GlMinFilterFor(D3DTEXF_LINEAR, D3DTEXF_POINT),
              static_cast<GLenum>(GL_LINEAR_MIPMAP_NEAREST));
    EXPECT_EQ(GlMinFilterFor(D3DTEXF_POINT, D3DTEXF_LINEAR),
              static_cast<GLenum>(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_EQ(GlMinFilterFor(D3DTEXF_ANISOTROPIC, D3DTEXF_NONE), static_cast<GLenum>(GL_LINEAR));
    EXPECT_EQ(GlMagFilterFor(D3DTEXF_POINT), static_cast<GLenum>(GL_NEAREST));
    EXPECT_EQ(GlMagFilterFor(D3DTEXF_LINEAR), static_cast<GLenum>(GL_LINEAR));
}

TEST(GlTranslateTest, Addressing) {
    EXPECT_EQ(GlWrapModeFor(D3DTADDRESS_WRAP), static_cast<GLenum>(GL_REPEAT));
    EXPECT_EQ(GlWrapModeFor(D3DTADDRESS_MIRROR), static_cast<GLenum>(GL_MIRRORED_REPEAT));
    EXPECT_EQ(GlWrapModeFor(D3DTADDRESS_CLAMP), static_cast<GLenum>(GL_CLAMP_TO_EDGE));
    EXPECT_EQ(GlWrapModeFor(D3DTADDRESS_BORDER), static_cast<GLenum>(GL_CLAMP_TO_BORDER));
}

TEST(GlTranslateTest, PrimitiveVertexCounts) {
    GlPrimitive primitive{};
    ASSERT_TRUE(GlPrimitiveFor(D3DPT_TRIANGLELIST, 4, &primitive));
    EXPECT_EQ(primitive.mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_EQ(primitive.vertexCount, 12u);
    ASSERT_TRUE(GlPrimitiveFor(D3DPT_TRIANGLESTRIP, 2, &primitive));
    EXPECT_EQ(primitive.mode, static_cast<GLenum>(GL_TRIANGLE_STRIP));
    EXPECT_EQ(primitive.vertexCount, 4u);
    ASSERT_TRUE(GlPrimitiveFor(D3DPT_LINESTRIP, 3, &primitive));
    EXPECT_EQ(primitive.vertexCount, 4u);
    // The largest count does not wrap around.
    ASSERT_TRUE(GlPrimitiveFor(D3DPT_TRIANGLELIST, 0xFFFFFFFFu, &primitive));
    EXPECT_EQ(primitive.vertexCount, 3ull * 0xFFFFFFFFull);
    EXPECT_FALSE(GlPrimitiveFor(static_cast<D3DPRIMITIVETYPE>(0), 1, &primitive));
    EXPECT_FALSE(GlPrimitiveFor(static_cast<D3DPRIMITIVETYPE>(7), 1, &primitive));
}

TEST(GlTranslateTest, ColorChannelsReadA8R8G8B8) {
    const auto c = ColorChannels(0x80FF4000);
    EXPECT_FLOAT_EQ(c[0], 1.0f);
    EXPECT_FLOAT_EQ(c[1], 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(c[2], 0.0f);
    EXPECT_FLOAT_EQ(c[3], 128.0f / 255.0f);
}

TEST(GlTranslateTest, ClipFromDirect3DMovesCentresAndWidensDepth) {
    // A 64 x 32 picture. Direct3D's clip point for the centre of pixel (i, j) at depth d and
    // w = 2, taken through the matrix as a row vector, must land on OpenGL's centre of window
    // column i, row j (rows counted down the picture, as the layer draws them), at NDC depth
    // 2d - 1.
    const D3DMATRIX m = GlClipFromDirect3D(64, 32);
    const float w = 2.0f;
    const struct {
        int column, row;
        float depth;
    } points[] = {{0, 0, 0.0f}, {63, 31, 1.0f}, {20, 9, 0.25f}};
    for (const auto& p : points) {
        const float in[4] = {(2.0f * p.column / 64 - 1) * w, (1 - 2.0f * p.row / 32) * w,
                             p.depth * w, w};
        float out[4] = {};
        for (int j = 0; j < 4; ++j) {
            for (int k = 0; k < 4; ++k) {
                out[j] += in[k] * m.m[k][j];
            }
        }
        EXPECT_FLOAT_EQ(out[3], w);
        EXPECT_FLOAT_EQ((out[0] / w + 1) * 32, p.column + 0.5f);
        EXPECT_FLOAT_EQ((out[1] / w + 1) * 16, p.row + 0.5f);
        EXPECT_FLOAT_EQ(out[2] / w, 2 * p.depth - 1);
    }
    // No picture: no shift, rather than a division by zero.
    const D3DMATRIX empty = GlClipFromDirect3D(0, 0);
    EXPECT_EQ(empty.m[3][0], 0.0f);
    EXPECT_EQ(empty.m[3][1], 0.0f);
}

TEST(FvfLayoutTest, TheGamesThreeFormats) {
    FvfLayout level;
    ASSERT_TRUE(DecodeFvf(0x112, &level));
    EXPECT_EQ(level.stride, 32u);
    EXPECT_EQ(level.normalOffset, 12);
    EXPECT_EQ(level.diffuseOffset, -1);
    EXPECT_EQ(level.texCoordCount, 1u);
    EXPECT_EQ(level.texCoordOffset[0], 24u);
    EXPECT_EQ(level.texCoordComponents[0], 2u);

    FvfLayout sky;
    ASSERT_TRUE(DecodeFvf(0x142, &sky));
    EXPECT_EQ(sky.stride, 24u);
    EXPECT_EQ(sky.normalOffset, -1);
    EXPECT_EQ(sky.diffuseOffset, 12);
    EXPECT_EQ(sky.texCoordOffset[0], 16u);

    FvfLayout color;
    ASSERT_TRUE(DecodeFvf(0x152, &color));
    EXPECT_EQ(color.stride, 36u);
    EXPECT_EQ(color.diffuseOffset, 24);
    EXPECT_EQ(color.texCoordOffset[0], 28u);
    EXPECT_FALSE(color.transformed);
}

TEST(FvfLayoutTest, ScreenSpaceSpecularAndCoordinateSizes) {
    FvfLayout layout;
    // XYZRHW, diffuse, specular, two sets: the first of three floats, the second of one.
    const DWORD fvf =
        D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX2 | (1u << 16) | (3u << 18);
    ASSERT_TRUE(DecodeFvf(fvf, &layout));
    EXPECT_TRUE(layout.transformed);
    EXPECT_EQ(layout.positionComponents, 4u);
    EXPECT_EQ(layout.diffuseOffset, 16);
    EXPECT_EQ(layout.specularOffset, 20);
    EXPECT_EQ(layout.texCoordOffset[0], 24u);
    EXPECT_EQ(layout.texCoordComponents[0], 3u);
    EXPECT_EQ(layout.texCoordOffset[1], 36u);
    EXPECT_EQ(layout.texCoordComponents[1], 1u);
    EXPECT_EQ(layout.stride, 40u);
}

TEST(FvfLayoutTest, RefusedFormatsLeaveTheLayoutAlone) {
    FvfLayout layout;
    layout.stride = 77;
    EXPECT_FALSE(DecodeFvf(D3DFVF_DIFFUSE, &layout));                 // no position
    EXPECT_FALSE(DecodeFvf(D3DFVF_XYZB1 | D3DFVF_DIFFUSE, &layout));  // blend weights
    EXPECT_FALSE(DecodeFvf(D3DFVF_XYZ | 0x900u, &layout));            // nine coordinate sets
    EXPECT_EQ(layout.stride, 77u);
}

TEST(GlTextureFormatTest, XFormatsReadAlphaOne) {
    GlTextureFormat argb{};
    GlTextureFormat xrgb{};
    ASSERT_TRUE(GlTextureFormatFor(D3DFMT_A8R8G8B8, &argb));
    ASSERT_TRUE(GlTextureFormatFor(D3DFMT_X8R8G8B8, &xrgb));
    EXPECT_EQ(argb.bytesPerPixel, 4u);
    EXPECT_EQ(argb.format, static_cast<GLenum>(GL_BGRA));
    EXPECT_EQ(argb.swizzle[3], GL_ALPHA);
    EXPECT_EQ(xrgb.swizzle[3], GL_ONE);
    GlTextureFormat x1{};
    ASSERT_TRUE(GlTextureFormatFor(D3DFMT_X1R5G5B5, &x1));
    EXPECT_EQ(x1.bytesPerPixel, 2u);
    EXPECT_EQ(x1.swizzle[3], GL_ONE);
}

TEST(GlTextureFormatTest, UnsupportedFormatsAreRefused) {
    GlTextureFormat format{};
    EXPECT_FALSE(GlTextureFormatFor(D3DFMT_R8G8B8, &format));
    EXPECT_FALSE(GlTextureFormatFor(D3DFMT_DXT1, &format));
    EXPECT_FALSE(GlTextureFormatFor(D3DFMT_P8, &format));
    EXPECT_FALSE(GlTextureFormatFor(D3DFMT_UNKNOWN, &format));
}

TEST(GlRasterStateTest, Direct3DDefaults) {
    const DeviceState state(true);
    const GlRasterState raster = GlRasterStateFor(state, true);
    EXPECT_TRUE(raster.depthTest);
    EXPECT_TRUE(raster.depthWrite);
    EXPECT_EQ(raster.depthFunc, static_cast<GLenum>(GL_LEQUAL));
    EXPECT_FALSE(raster.blend);
    EXPECT_EQ(raster.blendSource, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(raster.blendDestination, static_cast<GLenum>(GL_ZERO));
    EXPECT_TRUE(raster.cull);  // counter-clockwise faces, OpenGL's front faces
    EXPECT_EQ(raster.cullFace, static_cast<GLenum>(GL_FRONT));
    EXPECT_EQ(raster.polygonMode, static_cast<GLenum>(GL_FILL));
    EXPECT_FALSE(raster.lineSmooth);
    for (bool write : raster.colorWrite) {
        EXPECT_TRUE(write);
    }
    // Without a depth buffer there is nothing to test against.
    EXPECT_FALSE(GlRasterStateFor(DeviceState(false), true).depthTest);
    EXPECT_FALSE(GlRasterStateFor(state, false).depthTest);
}

TEST(GlRasterStateTest, TheGamesGlobalStates) {
    DeviceState state(true);
    state.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    state.SetRenderState(D3DRS_EDGEANTIALIAS, TRUE);
    state.SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    const GlRasterState raster = GlRasterStateFor(state, true);
    EXPECT_FALSE(raster.cull);
    EXPECT_TRUE(raster.lineSmooth);
    EXPECT_TRUE(raster.depthTest);
    EXPECT_FALSE(raster.depthWrite);
}

TEST(GlSamplerStateTest, DefaultsArePointSampledAndWrapped) {
    DeviceState state(true);
    GlSamplerState sampler = GlSamplerStateFor(state, 0);
    EXPECT_EQ(sampler.minFilter, static_cast<GLenum>(GL_NEAREST));
    EXPECT_EQ(sampler.magFilter, static_cast<GLenum>(GL_NEAREST));
    EXPECT_EQ(sampler.wrapS, static_cast<GLenum>(GL_REPEAT));
    EXPECT_EQ(sampler.wrapT, static_cast<GLenum>(GL_REPEAT));
    EXPECT_FLOAT_EQ(sampler.minLod, 0.0f);
    state.SetTextureStageState(0, D3DTSS_MAXMIPLEVEL, 2);
    state.SetTextureStageState(0, D3DTSS_MIPMAPLODBIAS, FloatStateValue(-0.5f));
    sampler = GlSamplerStateFor(state, 0);
    EXPECT_FLOAT_EQ(sampler.minLod, 2.0f);
    EXPECT_FLOAT_EQ(sampler.lodBias, -0.5f);
}

class FixedFunctionKeyTest : public ::testing::Test {
protected:
    FixedFunctionKeyTest() : state(true) {
        DecodeFvf(0x152, &colorLayout);
        DecodeFvf(0x112, &levelLayout);
        state.SetRenderState(D3DRS_LIGHTING, FALSE);
    }
    FixedFunctionKey Key(uint32_t textures = 0) const {
        return BuildFixedFunctionKey(state, colorLayout, textures);
    }

    DeviceState state;
    FvfLayout colorLayout;
    FvfLayout levelLayout;
};

TEST_F(FixedFunctionKeyTest, DefaultsHaveOneModulatingStage) {
    const FixedFunctionKey key = Key(1);
    EXPECT_EQ(key.stageCount, 1u);
    EXPECT_EQ(key.stages[0].colorOp, D3DTOP_MODULATE);
    EXPECT_EQ(key.stages[0].colorArg[1], D3DTA_TEXTURE);
    EXPECT_EQ(key.stages[0].colorArg[2], D3DTA_CURRENT);
    EXPECT_EQ(key.stages[0].alphaOp, D3DTOP_SELECTARG1);
    EXPECT_EQ(key.stages[0].sampled, 1u);
    EXPECT_EQ(key.stages[0].texCoordSet, 0u);
    EXPECT_EQ(key.alphaTestFunc, 0u);
    EXPECT_EQ(key.lighting, 0u);
}

TEST_F(FixedFunctionKeyTest, WithoutATextureOperationsReadingItPassCurrentThrough) {
    const FixedFunctionKey modulate = Key(0);
    EXPECT_EQ(modulate.stages[0].colorOp, D3DTOP_SELECTARG1);
    EXPECT_EQ(modulate.stages[0].colorArg[1], D3DTA_CURRENT);
    EXPECT_EQ(modulate.stages[0].alphaOp, D3DTOP_SELECTARG1);
    EXPECT_EQ(modulate.stages[0].alphaArg[1], D3DTA_CURRENT);
    EXPECT_EQ(modulate.stages[0].sampled, 0u);
    state.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    EXPECT_TRUE(Key(0) == modulate);
    // With the texture the two differ.
    EXPECT_FALSE(Key(1) == BuildFixedFunctionKey(DeviceState(true), colorLayout, 1));
}

TEST_F(FixedFunctionKeyTest, ColourAndAlphaFallBackSeparately) {
    state.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);  // CURRENT only
    const FixedFunctionKey key = Key(0);
    EXPECT_EQ(key.stages[0].colorOp, D3DTOP_SELECTARG2);
    EXPECT_EQ(key.stages[0].colorArg[2], D3DTA_CURRENT);
    EXPECT_EQ(key.stages[0].alphaOp, D3DTOP_SELECTARG1);
    EXPECT_EQ(key.stages[0].alphaArg[1], D3DTA_CURRENT);
}

TEST_F(FixedFunctionKeyTest, UnreadArgumentsAndLaterStagesDoNotSplitPrograms) {
    state.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    const FixedFunctionKey before = Key(1);
    state.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);     // not read by SELECTARG1
    state.SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_ADD);          // after disabled stage 1
    state.SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);  // a sampler state
    EXPECT_TRUE(Key(1) == before);
    EXPECT_EQ(Key(1).Hash(), before.Hash());
    state.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    EXPECT_EQ(Key(1).stageCount, 0u);
}

TEST_F(FixedFunctionKeyTest, AlphaDisabledUnderAnActiveColourCarriesCurrent) {
    state.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);  // stage 1 alpha stays off
    const FixedFunctionKey key = Key(3);
    ASSERT_EQ(key.stageCount, 2u);
    EXPECT_EQ(key.stages[1].alphaOp, D3DTOP_SELECTARG1);
    EXPECT_EQ(key.stages[1].alphaArg[1], D3DTA_CURRENT);
}

TEST_F(FixedFunctionKeyTest, TextureTransformOnlyWhereATextureIsRead) {
    state.SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    EXPECT_EQ(Key(1).stages[0].transformCount, 2u);
    EXPECT_EQ(Key(0).stages[0].transformCount, 0u);
    // A coordinate set the vertex lacks reads (0, 0).
    state.SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 1);
    EXPECT_EQ(Key(1).stages[0].texCoordSet, kNoTexCoordSet);
    EXPECT_EQ(Key(1).stages[0].transformCount, 0u);
}

TEST_F(FixedFunctionKeyTest, AlphaTestAlwaysIsNoTest) {
    state.SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    EXPECT_EQ(Key().alphaTestFunc, 0u);  // the default function is ALWAYS
    state.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    EXPECT_EQ(Key().alphaTestFunc, D3DCMP_GREATER);
    state.SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    EXPECT_EQ(Key().alphaTestFunc, 0u);
}

TEST_F(FixedFunctionKeyTest, LitColourSourcesResolveAgainstTheVertex) {
    state.SetRenderState(D3DRS_LIGHTING, TRUE);
    state.SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1);
    const FixedFunctionKey withDiffuse = BuildFixedFunctionKey(state, colorLayout, 0);
    EXPECT_EQ(withDiffuse.lighting, 1u);
    EXPECT_EQ(withDiffuse.ambientSource, ColorSource::VertexDiffuse);
    EXPECT_EQ(withDiffuse.diffuseSource, ColorSource::VertexDiffuse);  // the default COLOR1
    EXPECT_EQ(withDiffuse.emissiveSource, ColorSource::Material);
    // A vertex without diffuse falls back to the material.
    const FixedFunctionKey level = BuildFixedFunctionKey(state, levelLayout, 0);
    EXPECT_EQ(level.ambientSource, ColorSource::Material);
    EXPECT_EQ(level.diffuseSource, ColorSource::Material);
    // Screen-space vertices are never lit.
    FvfLayout screen;
    DecodeFvf(D3DFVF_XYZRHW | D3DFVF_DIFFUSE, &screen);
    EXPECT_EQ(BuildFixedFunctionKey(state, screen, 0).lighting, 0u);
}

TEST_F(FixedFunctionKeyTest, UnsupportedOperationsBecomeModulate) {
    EXPECT_EQ(SupportedOp(D3DTOP_BUMPENVMAP, false), static_cast<DWORD>(D3DTOP_MODULATE));
    EXPECT_EQ(SupportedOp(0, false), static_cast<DWORD>(D3DTOP_MODULATE));
    EXPECT_EQ(SupportedOp(D3DTOP_MODULATEALPHA_ADDCOLOR, true),
              static_cast<DWORD>(D3DTOP_MODULATE));
    EXPECT_EQ(SupportedOp(D3DTOP_MODULATEALPHA_ADDCOLOR, false),
              static_cast<DWORD>(D3DTOP_MODULATEALPHA_ADDCOLOR));
    EXPECT_EQ(ArgumentsReadBy(D3DTOP_LERP, false), 0b111u);
    EXPECT_EQ(ArgumentsReadBy(D3DTOP_SELECTARG2, true), 0b100u);
}

TEST_F(FixedFunctionKeyTest, ShaderSourcesFollowTheKey) {
    state.SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    const FixedFunctionKey textured = Key(1);
    const std::string vertex = FixedFunctionVertexSource(textured);
    const std::string fragment = FixedFunctionFragmentSource(textured);
    EXPECT_NE(vertex.find("uTextureMatrix0 * vec4(aTexCoord0.xy, 1.0, 0.0)"), std::string::npos);
    EXPECT_NE(fragment.find("uTexture0"), std::string::npos);
    EXPECT_EQ(fragment.find("discard"), std::string::npos);
    // Without a texture the fragment program samples nothing.
    const std::string plain = FixedFunctionFragmentSource(Key(0));
    EXPECT_EQ(plain.find("texture("), std::string::npos);
}

// GLSL ES takes no BGRA attributes: the ES program swaps the colour bytes it reads, wherever a
// vertex colour is read, and states its precision.
TEST_F(FixedFunctionKeyTest, EsSourcesSwapVertexColoursAndStatePrecision) {
    state.SetRenderState(D3DRS_LIGHTING, FALSE);
    const std::string unlit = FixedFunctionVertexSource(Key(0), kEsGlsl);
    EXPECT_EQ(unlit.rfind("#version 300 es\n", 0), 0u);
    EXPECT_NE(unlit.find("vDiffuse = aDiffuse.bgra;"), std::string::npos);
    EXPECT_NE(unlit.find("vSpecular = aSpecular.bgra;"), std::string::npos);
    EXPECT_NE(FixedFunctionFragmentSource(Key(0), kEsGlsl).find("precision highp float;"),
              std::string::npos);
    state.SetRenderState(D3DRS_LIGHTING, TRUE);
    state.SetRenderState(D3DRS_COLORVERTEX, TRUE);
    state.SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_COLOR1);
    const std::string lit = FixedFunctionVertexSource(Key(0), kEsGlsl);
    EXPECT_NE(lit.find("vec4 emissive = aDiffuse.bgra;"), std::string::npos);
    // The desktop reads the bytes in order already.
    EXPECT_EQ(FixedFunctionVertexSource(Key(0)).find(".bgra"), std::string::npos);
}

}  // namespace
