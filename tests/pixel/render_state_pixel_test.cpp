// Render states drawn through the OpenGL layer: depth, clip depth, blending, alpha test, culling,
// lighting and vertex colour, each read back from the middle of a large quad.
#include "tests/pixel/pixel_scene.h"

namespace {

class RenderStatePixelTest : public PixelScene {
protected:
    void SetUp() override {
        PixelScene::SetUp();
        ASSERT_NE(device, nullptr);
        UseUnlitTwoSided();
    }
};

TEST_F(RenderStatePixelTest, LightingOffPassesTheVertexDiffuse) {
    Begin();
    Draw(FullScreen(0.5f, 0xFF336699), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0x33, 0x66, 0x99));
}

TEST_F(RenderStatePixelTest, AVertexWithoutDiffuseIsOpaqueWhite) {
    const std::vector<LevelVertex> quad = {{-1, 1, 0.5f, 0, 0, -1, 0, 0},
                                           {1, 1, 0.5f, 0, 0, -1, 1, 0},
                                           {-1, -1, 0.5f, 0, 0, -1, 0, 1},
                                           {1, -1, 0.5f, 0, 0, -1, 1, 1}};
    Begin(0xFF202020);
    // Opaque: with an alpha test that drops anything below full alpha it still draws.
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetRenderState(D3DRS_ALPHAREF, 0xFF);
    Draw(quad, kLevelVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 255, 255, 255));
}

TEST_F(RenderStatePixelTest, LightingWithoutLightsGivesEmissivePlusAmbientTimesMaterial) {
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_AMBIENT, 0xFF808080);  // 128/255 = 0.502
    D3DMATERIAL8 material{};
    material.Diffuse = {1, 1, 1, 1};
    material.Ambient = {0.5f, 0.5f, 0.5f, 1};
    material.Emissive = {0.2f, 0.1f, 0, 0};
    device->SetMaterial(&material);
    Begin();
    Draw(FullScreen(0.5f, 0xFF00FF00), kColorVertexFvf);  // the vertex colour plays no part
    End();
    // 0.2 + 0.502 * 0.5 = 0.451, 0.1 + 0.251 = 0.351, 0.251.
    EXPECT_TRUE(ColorNear(Centre(), 115, 90, 64));
}

TEST_F(RenderStatePixelTest, LightingTakesAmbientFromTheVertexWhenAsked) {
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
    device->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1);
    D3DMATERIAL8 material{};
    material.Ambient = {1, 1, 1, 1};
    device->SetMaterial(&material);
    Begin();
    Draw(FullScreen(0.5f, 0xFF402010), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0x40, 0x20, 0x10));
}

TEST_F(RenderStatePixelTest, DepthTestKeepsTheNearerSurfaceAndEqualDepthPasses) {
    Begin();
    Draw(FullScreen(0.3f, 0xFFFF0000), kColorVertexFvf);
    Draw(FullScreen(0.6f, 0xFF00FF00), kColorVertexFvf);  // behind: rejected
    End();
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));

    Begin();
    Draw(FullScreen(0.6f, 0xFF00FF00), kColorVertexFvf);
    Draw(FullScreen(0.3f, 0xFFFF0000), kColorVertexFvf);
    Draw(FullScreen(0.3f, 0xFF0000FF), kColorVertexFvf);  // LESSEQUAL: the same depth passes
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0, 0, 255));
}

TEST_F(RenderStatePixelTest, WithoutDepthWritesALaterFartherSurfaceStillDraws) {
    Begin();
    Draw(FullScreen(0.5f, 0xFFFF0000), kColorVertexFvf);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    Draw(FullScreen(0.2f, 0xFF0000FF), kColorVertexFvf);  // drawn, depth stays 0.5
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    Draw(FullScreen(0.4f, 0xFF00FF00), kColorVertexFvf);   // nearer than 0.5: drawn
    Draw(FullScreen(0.45f, 0xFFFFFFFF), kColorVertexFvf);  // behind 0.4: rejected
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0, 255, 0));
}

TEST_F(RenderStatePixelTest, ADepthBufferOfSixteenBitsHoldsNoFinerStep) {
    // D16 steps by 1/65535. A surface 3e-6 behind another lands on the same step and passes
    // LESSEQUAL; one 2e-4 behind (a dozen steps) is hidden. With more bits than asked for, the
    // first would be hidden too: leaves just behind a palm frond showed where Direct3D hid them.
    Begin();
    Draw(ColorQuad(-1, -1, 0, 1, 0.25f, 0xFFFF0000), kColorVertexFvf);
    Draw(ColorQuad(0, -1, 1, 1, 0.25f, 0xFFFF0000), kColorVertexFvf);
    Draw(ColorQuad(-1, -1, 0, 1, 0.250003f, 0xFF00FF00), kColorVertexFvf);
    Draw(ColorQuad(0, -1, 1, 1, 0.2502f, 0xFF00FF00), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Pixel(kSize / 4, kSize / 2), 0, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(3 * kSize / 4, kSize / 2), 255, 0, 0));
}

TEST_F(RenderStatePixelTest, ASecondPassWithEqualDepthCoversTheFirstExactly) {
    // The same quad under a perspective projection, drawn first untextured and then textured
    // with the alpha test on (another program) under ZFUNC EQUAL: a multipass effect relies on
    // every pixel getting the same depth both times.
    D3DMATRIX projection{};
    projection.m[0][0] = 1.0f;
    projection.m[1][1] = 1.0f;
    projection.m[2][2] = 1000.0f / 999.0f;
    projection.m[2][3] = 1.0f;
    projection.m[3][2] = -1000.0f / 999.0f;
    device->SetTransform(D3DTS_PROJECTION, &projection);
    D3DMATRIX world{};
    world.m[0][0] = 0.8f;
    world.m[0][2] = 0.6f;
    world.m[1][1] = 1.0f;
    world.m[2][0] = -0.6f;
    world.m[2][2] = 0.8f;
    world.m[3][2] = 3.0f;  // turned about y and pushed away: depth varies across the picture
    world.m[3][3] = 1.0f;
    device->SetTransform(D3DTS_WORLD, &world);
    const std::vector<ColorVertex> quad = ColorQuad(-1.7f, -1.3f, 1.9f, 1.1f, 0.3f, 0xFFFF0000);
    Begin(0xFF000080);
    Draw(quad, kColorVertexFvf);
    device->SetTexture(0, MakeTexture(1, 1, {0xFF00FF00}));
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_EQUAL);
    Draw(quad, kColorVertexFvf);
    End();
    const std::vector<Rgba> picture = Picture();
    ASSERT_FALSE(picture.empty());
    int covered = 0;
    int missed = 0;
    for (const Rgba& pixel : picture) {
        covered += pixel.b != 0x80 ? 1 : 0;
        missed += pixel.r != 0 ? 1 : 0;
    }
    EXPECT_GT(covered, kSize * kSize / 8);
    EXPECT_EQ(missed, 0) << "of " << covered << " pixels";
}

TEST_F(RenderStatePixelTest, DepthTestOffDrawsInOrder) {
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    Begin();
    Draw(FullScreen(0.1f, 0xFFFF0000), kColorVertexFvf);
    Draw(FullScreen(0.9f, 0xFF00FF00), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0, 255, 0));
}

TEST_F(RenderStatePixelTest, ClipDepthRunsFromZeroToW) {
    Begin(0xFF000080);
    Draw(FullScreen(-0.25f, 0xFFFF0000), kColorVertexFvf);  // in front of the near plane
    Draw(FullScreen(1.25f, 0xFFFF0000), kColorVertexFvf);   // beyond the far plane
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0, 0, 0x80));

    // Depth lands in the buffer as z / w: 0.45 passes against a buffer cleared to 0.5, 0.55
    // does not (OpenGL's own mapping would store 0.725 and 0.775 and draw neither).
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 0.5f, 0),
              D3D_OK);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    Draw(ColorQuad(-1, -1, 0, 1, 0.45f, 0xFF00FF00), kColorVertexFvf);
    Draw(ColorQuad(0, -1, 1, 1, 0.55f, 0xFF00FF00), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Pixel(kSize / 4, kSize / 2), 0, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(3 * kSize / 4, kSize / 2), 0, 0, 0));
}

TEST_F(RenderStatePixelTest, BlendOneZeroReplacesTheBackground) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);  // default factors ONE, ZERO
    Begin(0xFF406080);
    Draw(FullScreen(0.5f, 0x20102030), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0x10, 0x20, 0x30));
}

TEST_F(RenderStatePixelTest, BlendSourceColourOnBothSidesClampsAtOne) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCCOLOR);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR);
    Begin(0xFF66CC33);                                    // background 0.4, 0.8, 0.2
    Draw(FullScreen(0.5f, 0xFF99CC80), kColorVertexFvf);  // source 0.6, 0.8, 0.502
    End();
    // src * src + dst * src: 0.36 + 0.24 = 0.6; 0.64 + 0.64 = 1.28, clamped to 1;
    // 0.252 + 0.100 = 0.352.
    EXPECT_TRUE(ColorNear(Centre(), 153, 255, 90));
}

TEST_F(RenderStatePixelTest, BlendOneOneAddsAndClamps) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    Begin(0xFF40C020);
    Draw(FullScreen(0.5f, 0x00306010), kColorVertexFvf);  // source alpha plays no part
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0x70, 255, 0x30));
}

TEST_F(RenderStatePixelTest, DestinationAlphaReadsAsOne) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVDESTALPHA);
    Begin(0xFF0000FF);
    Draw(FullScreen(0.5f, 0xFF00FF00), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0, 255, 0));
}

TEST_F(RenderStatePixelTest, SourceAlphaBlendMixesByTheDiffuseAlpha) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    Begin(0xFF0000FF);
    Draw(FullScreen(0.5f, 0x40FF0000), kColorVertexFvf);  // alpha 0.251
    End();
    EXPECT_TRUE(ColorNear(Centre(), 64, 0, 191));
}

TEST_F(RenderStatePixelTest, AlphaTestGreaterThanZeroDropsOnlyTransparentFragments) {
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetRenderState(D3DRS_ALPHAREF, 0);
    Begin(0xFF000080);
    Draw(ColorQuad(-1, -1, 0, 1, 0.5f, 0x00FF0000), kColorVertexFvf);  // alpha 0: dropped
    Draw(ColorQuad(0, -1, 1, 1, 0.5f, 0x01FF0000), kColorVertexFvf);   // alpha 1/255: kept
    End();
    EXPECT_TRUE(ColorNear(Pixel(kSize / 4, kSize / 2), 0, 0, 0x80));
    EXPECT_TRUE(ColorNear(Pixel(3 * kSize / 4, kSize / 2), 255, 0, 0));
}

TEST_F(RenderStatePixelTest, AlphaTestComparesTheUnroundedAlpha) {
    // Texel alpha 1/255 times diffuse alpha 127/255 is just under half an 8-bit step: above
    // zero, below 1/255. The real Direct3D 8 compares that value as it is (rounded to 8 bits
    // first, the faint rims of the keyed leaves and the spray were dropped).
    device->SetTexture(0, MakeTexture(1, 1, {0x01FFFFFF}));
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    struct Case {
        DWORD func;
        DWORD reference;
        bool drawn;
    };
    const Case cases[] = {{D3DCMP_GREATER, 0, true},       {D3DCMP_NOTEQUAL, 0, true},
                          {D3DCMP_EQUAL, 0, false},        {D3DCMP_LESSEQUAL, 0, false},
                          {D3DCMP_GREATEREQUAL, 1, false}, {D3DCMP_LESS, 1, true}};
    for (const Case& c : cases) {
        device->SetRenderState(D3DRS_ALPHAFUNC, c.func);
        device->SetRenderState(D3DRS_ALPHAREF, c.reference);
        Begin(0xFF000080);
        Draw(FullScreen(0.5f, 0x7F00FF00), kColorVertexFvf);
        End();
        EXPECT_TRUE(c.drawn ? ColorNear(Centre(), 0, 255, 0) : ColorNear(Centre(), 0, 0, 0x80))
            << "function " << c.func << ", reference " << c.reference;
    }
}

TEST_F(RenderStatePixelTest, AFormatWithoutAlphaPassesTheAlphaTestAsOpaque) {
    // The texel's unused byte is 0 and the vertex alpha 0: what the test sees is the texture's
    // alpha, which a format without alpha gives as 1.
    IDirect3DTexture8* texture = MakeTexture(1, 1, {0x0000FF00}, D3DFMT_X8R8G8B8);
    const std::vector<ColorVertex> quad = FullScreen(0.5f, 0x00FFFFFF);
    const struct {
        DWORD func;
        DWORD reference;
        bool drawn;
    } cases[] = {
        {D3DCMP_GREATER, 0, true},    {D3DCMP_GREATER, 254, true},
        {D3DCMP_GREATER, 255, false}, {D3DCMP_GREATEREQUAL, 255, true},
        {D3DCMP_LESS, 255, false},    {D3DCMP_NOTEQUAL, 255, false},
    };
    for (const auto& c : cases) {
        Begin(0xFF202020);
        device->SetTexture(0, texture);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
        device->SetRenderState(D3DRS_ALPHAFUNC, c.func);
        device->SetRenderState(D3DRS_ALPHAREF, c.reference);
        Draw(quad, kColorVertexFvf);
        End();
        if (c.drawn) {
            EXPECT_TRUE(ColorNear(Centre(), 0, 255, 0)) << c.func << " " << c.reference;
        } else {
            EXPECT_TRUE(ColorNear(Centre(), 0x20, 0x20, 0x20)) << c.func << " " << c.reference;
        }
    }
}

TEST_F(RenderStatePixelTest, AlphaReferenceUsesOnlyItsLowEightBits) {
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetRenderState(D3DRS_ALPHAREF, 0x100);  // reads as 0
    Begin(0xFF000080);
    Draw(FullScreen(0.5f, 0x01FF0000), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));
}

TEST_F(RenderStatePixelTest, CullingFollowsDirect3DWinding) {
    // The helper's quad winds clockwise on screen; reversed, it winds counter-clockwise.
    std::vector<ColorVertex> clockwise = FullScreen(0.5f, 0xFFFF0000);
    std::vector<ColorVertex> counterClockwise = {clockwise[1], clockwise[0], clockwise[3],
                                                 clockwise[2]};
    for (auto& vertex : counterClockwise) {
        vertex.diffuse = 0xFF00FF00;
    }

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);  // the default
    Begin();
    Draw(counterClockwise, kColorVertexFvf);
    Draw(clockwise, kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 255, 0, 0));

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    Begin();
    Draw(clockwise, kColorVertexFvf);
    Draw(counterClockwise, kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0, 255, 0));
}

TEST_F(RenderStatePixelTest, EdgeAntialiasingLeavesTriangleEdgesHard) {
    device->SetRenderState(D3DRS_EDGEANTIALIAS, TRUE);
    Begin(0xFF000000);
    // Columns 16 to 47: x = -0.5 is column 16's centre, 0.5 is column 48's.
    Draw(ColorQuad(-0.5f, -1, 0.5f, 1, 0.5f, 0xFFFFFFFF), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Pixel(15, kSize / 2), 0, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(16, kSize / 2), 255, 255, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(47, kSize / 2), 255, 255, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(48, kSize / 2), 0, 0, 0, 0));
}

}  // namespace
