// Texture stages and sampling through the OpenGL layer: colour operations, the pass-through of a
// stage without a texture, the 2D texture transform, filtering, addressing, mip levels, texture
// orientation and the X8R8G8B8 alpha.
#include <cmath>

#include "tests/pixel/pixel_scene.h"

namespace {

class TextureStagePixelTest : public PixelScene {
protected:
    void SetUp() override {
        PixelScene::SetUp();
        ASSERT_NE(device, nullptr);
        UseUnlitTwoSided();
    }

    // A full-screen quad whose every corner has the same texture coordinate, so each pixel reads
    // the texture at (u, v).
    std::vector<ColorVertex> SampleAt(float u, float v, D3DCOLOR diffuse = 0xFFFFFFFF) const {
        return ColorQuad(-1, -1, 1, 1, 0.5f, diffuse, u, v, u, v);
    }

    void DrawSample(float u, float v, D3DCOLOR diffuse = 0xFFFFFFFF) {
        Begin(0xFF000080);
        Draw(SampleAt(u, v, diffuse), kColorVertexFvf);
        End();
    }

    D3DMATRIX Identity() const {
        D3DMATRIX m{};
        m._11 = m._22 = m._33 = m._44 = 1;
        return m;
    }
};

TEST_F(TextureStagePixelTest, ModulateMultipliesTextureAndDiffuse) {
    device->SetTexture(0, MakeTexture(1, 1, {0xFF8040FF}));
    DrawSample(0.5f, 0.5f, 0xFF80FF80);  // default COLOROP MODULATE of TEXTURE and CURRENT
    // 128 * 128 / 255, 64 * 1, 255 * 128 / 255.
    EXPECT_TRUE(ColorNear(Centre(), 64, 64, 128));
}

TEST_F(TextureStagePixelTest, AddSumsAndClamps) {
    device->SetTexture(0, MakeTexture(1, 1, {0xFF64C832}));
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    DrawSample(0.5f, 0.5f, 0xFF64640A);
    EXPECT_TRUE(ColorNear(Centre(), 200, 255, 60));
}

TEST_F(TextureStagePixelTest, SelectArg1TakesTheTextureAlone) {
    device->SetTexture(0, MakeTexture(1, 1, {0xFF123456}));
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    DrawSample(0.5f, 0.5f, 0xFF000000);
    EXPECT_TRUE(ColorNear(Centre(), 0x12, 0x34, 0x56));
}

TEST_F(TextureStagePixelTest, SelectArg2TakesTheDiffuse) {
    device->SetTexture(0, MakeTexture(1, 1, {0xFF123456}));
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    DrawSample(0.5f, 0.5f, 0xFFABCDEF);
    EXPECT_TRUE(ColorNear(Centre(), 0xAB, 0xCD, 0xEF));
}

TEST_F(TextureStagePixelTest, ModulateFourTimesAndTextureFactor) {
    device->SetTexture(0, MakeTexture(1, 1, {0xFF202020}));
    device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF408000);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE4X);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    DrawSample(0.5f, 0.5f);
    // 4 * 0.1255 * 0.251 = 0.126; 4 * 0.1255 * 0.502 = 0.252; 0.
    EXPECT_TRUE(ColorNear(Centre(), 32, 64, 0));
}

TEST_F(TextureStagePixelTest, WithoutATextureEveryOperationPassesTheDiffuseThrough) {
    const DWORD operations[] = {D3DTOP_MODULATE, D3DTOP_ADD, D3DTOP_SELECTARG1, D3DTOP_MODULATE2X};
    for (DWORD op : operations) {
        device->SetTextureStageState(0, D3DTSS_COLOROP, op);
        DrawSample(0.5f, 0.5f, 0xFF336699);
        EXPECT_TRUE(ColorNear(Centre(), 0x33, 0x66, 0x99)) << "operation " << op;
    }
}

TEST_F(TextureStagePixelTest, WithoutATextureAlphaPassesTheDiffuseAlphaThrough) {
    // ALPHAOP SELECTARG1 of TEXTURE (the default) reads the diffuse alpha, 0, so the alpha test
    // drops the quad; an opaque diffuse passes.
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    DrawSample(0.5f, 0.5f, 0x00FF0000);
    EXPECT_TRUE(ColorNear(Centre(), 0, 0, 0x80));
    DrawSample(0.5f, 0.5f, 0xFFFF0000);
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));
}

TEST_F(TextureStagePixelTest, ColourAndAlphaPassThroughSeparately) {
    // Colour ignores the texture (SELECTARG2 of CURRENT) while alpha reads it: the texture's
    // transparent texel drops the fragment even though the colour never reads it.
    device->SetTexture(0, MakeTexture(1, 1, {0x00FFFFFF}));
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    DrawSample(0.5f, 0.5f, 0xFF00FF00);
    EXPECT_TRUE(ColorNear(Centre(), 0, 0, 0x80));
}

TEST_F(TextureStagePixelTest, SecondStageModulatesTheFirstStageResult) {
    device->SetTexture(0, MakeTexture(1, 1, {0xFF808080}));
    device->SetTexture(1, MakeTexture(1, 1, {0xFFFF8000}));
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    DrawSample(0.5f, 0.5f);
    EXPECT_TRUE(ColorNear(Centre(), 128, 64, 0));
    // Disabling stage 1 ends the chain there.
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    DrawSample(0.5f, 0.5f);
    EXPECT_TRUE(ColorNear(Centre(), 128, 128, 128));
}

TEST_F(TextureStagePixelTest, Count2TransformTakesItsTranslationFromTheThirdRow) {
    device->SetTexture(0, MakeTexture(2, 1, {0xFFFF0000, 0xFF00FF00}));
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);

    D3DMATRIX third = Identity();
    third._31 = 0.5f;  // (u, v, 1, 0): the third row is the translation
    device->SetTransform(D3DTS_TEXTURE0, &third);
    DrawSample(0.25f, 0.5f);
    EXPECT_TRUE(ColorNear(Centre(), 0, 255, 0));

    D3DMATRIX fourth = Identity();
    fourth._41 = 0.5f;  // multiplied by the 0 in the fourth place
    device->SetTransform(D3DTS_TEXTURE0, &fourth);
    DrawSample(0.25f, 0.5f);
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));

    // Disabled, the matrix stays loaded but is not applied.
    device->SetTransform(D3DTS_TEXTURE0, &third);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    DrawSample(0.25f, 0.5f);
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));
}

TEST_F(TextureStagePixelTest, Count2TransformRotatesLikeTheWater) {
    // Red, green on the top row; blue, white below.
    device->SetTexture(0, MakeTexture(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}));
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    // A roll of a quarter turn: (u, v) becomes (u cos a - v sin a, u sin a + v cos a) = (-v, u).
    const float a = 1.5707964f;
    D3DMATRIX roll = Identity();
    roll._11 = std::cos(a);
    roll._12 = std::sin(a);
    roll._21 = -std::sin(a);
    roll._22 = std::cos(a);
    device->SetTransform(D3DTS_TEXTURE0, &roll);
    DrawSample(0.25f, 0.75f);  // (-0.75, 0.25), wrapped to (0.25, 0.25): red
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));
    DrawSample(0.75f, 0.25f);  // (-0.25, 0.75), wrapped to (0.75, 0.75): white
    EXPECT_TRUE(ColorNear(Centre(), 255, 255, 255));
}

TEST_F(TextureStagePixelTest, PointAndLinearFiltering) {
    device->SetTexture(0, MakeTexture(2, 1, {0xFF000000, 0xFFFFFFFF}));
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    // u = 0.375 is texel 0.75: point takes texel 0, linear a quarter of the way to texel 1.
    DrawSample(0.375f, 0.5f);
    EXPECT_TRUE(ColorNear(Centre(), 0, 0, 0));
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    DrawSample(0.375f, 0.5f);
    EXPECT_TRUE(ColorNear(Centre(), 64, 64, 64));
}

TEST_F(TextureStagePixelTest, WrapMirrorAndClampAddressing) {
    device->SetTexture(0, MakeTexture(2, 1, {0xFF000000, 0xFFFFFFFF}));
    DrawSample(1.25f, 0.5f);  // the default WRAP: 0.25, texel 0
    EXPECT_TRUE(ColorNear(Centre(), 0, 0, 0));
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
    DrawSample(1.25f, 0.5f);  // 0.75, texel 1
    EXPECT_TRUE(ColorNear(Centre(), 255, 255, 255));
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    DrawSample(1.25f, 0.5f);  // the edge texel 1
    EXPECT_TRUE(ColorNear(Centre(), 255, 255, 255));
    DrawSample(-3.75f, 0.5f);  // the edge texel 0
    EXPECT_TRUE(ColorNear(Centre(), 0, 0, 0));
}

TEST_F(TextureStagePixelTest, TextureRowsStartAtTheTop) {
    device->SetTexture(0, MakeTexture(1, 2, {0xFFFF0000, 0xFF00FF00}));
    DrawSample(0.5f, 0.25f);
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));
    DrawSample(0.5f, 0.75f);
    EXPECT_TRUE(ColorNear(Centre(), 0, 255, 0));
}

TEST_F(TextureStagePixelTest, MipFilterNoneNeverReadsSmallerLevels) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(16, 16, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    owned.push_back(texture);
    ASSERT_EQ(texture->GetLevelCount(), 5u);
    FillLevel(texture, 0, 0xFFFF0000);
    for (UINT level = 1; level < 5; ++level) {
        FillLevel(texture, level, 0xFF00FF00);
    }
    device->SetTexture(0, texture);
    // The 16 x 16 texture on a 4 x 4 pixel quad: a quarter of the size, level 2.
    const float half = 4.0f / kSize;
    const auto quad = ColorQuad(-half, -half, half, half, 0.5f, 0xFFFFFFFF);
    Begin();
    Draw(quad, kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));

    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_POINT);
    Begin();
    Draw(quad, kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0, 255, 0));
}

TEST_F(TextureStagePixelTest, X8R8G8B8ReadsAlphaOneWhateverTheByteHolds) {
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetTexture(0, MakeTexture(1, 1, {0x00FF0000}, D3DFMT_X8R8G8B8));
    DrawSample(0.5f, 0.5f);
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));
    device->SetTexture(0, MakeTexture(1, 1, {0x00FF0000}, D3DFMT_A8R8G8B8));
    DrawSample(0.5f, 0.5f);
    EXPECT_TRUE(ColorNear(Centre(), 0, 0, 0x80));
}

TEST_F(TextureStagePixelTest, KeyedTexelsAreCutOutByTheTreesAlphaTest) {
    // The trees' states: alpha reference 0, GREATER; modulate of texture and white diffuse.
    device->SetRenderState(D3DRS_ALPHAREF, 0);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTexture(0, MakeTexture(2, 1, {0x00000000, 0xFF20A020}));
    Begin(0xFF000080);
    Draw(ColorQuad(-1, -1, 1, 1, 0.5f, 0xFFFFFFFF), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Pixel(kSize / 4, kSize / 2), 0, 0, 0x80));
    EXPECT_TRUE(ColorNear(Pixel(3 * kSize / 4, kSize / 2), 0x20, 0xA0, 0x20));
}

TEST_F(TextureStagePixelTest, EveryOperationAndArgumentBuildsAProgram) {
    // Each generated program must compile: every operation in both pipes, with modifiers.
    device->SetTexture(0, MakeTexture(1, 1, {0xFF808080}));
    device->SetTexture(1, MakeTexture(1, 1, {0xFF808080}));
    device->SetTextureStageState(0, D3DTSS_COLORARG0, D3DTA_TFACTOR | D3DTA_COMPLEMENT);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE);
    device->SetTextureStageState(1, D3DTSS_ALPHAARG2, D3DTA_SPECULAR);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    Begin();
    const auto quad = FullScreen(0.5f, 0xFF808080);
    for (DWORD op = D3DTOP_DISABLE + 1; op <= D3DTOP_LERP; ++op) {
        device->SetTextureStageState(0, D3DTSS_COLOROP, op);
        device->SetTextureStageState(1, D3DTSS_ALPHAOP, op);
        device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS,
                                     (op % 4 + 1) | (op % 2 ? D3DTTFF_PROJECTED : 0));
        Draw(quad, kColorVertexFvf);
    }
    End();
}

}  // namespace
