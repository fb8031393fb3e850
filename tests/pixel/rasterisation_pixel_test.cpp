// Where pixels land: Direct3D's pixel centres on integer coordinates with the top-left fill rule,
// texels mapped one to one, read-back top row first, screen-space vertices, and dynamic buffers
// refilled between draws.
#include <cstring>

#include "tests/pixel/pixel_scene.h"

namespace {

class RasterisationPixelTest : public PixelScene {
protected:
    void SetUp() override {
        PixelScene::SetUp();
        ASSERT_NE(device, nullptr);
        UseUnlitTwoSided();
    }

    // Clip-space coordinates of a Direct3D screen position.
    static float ClipX(float x) { return 2.0f * x / kSize - 1.0f; }
    static float ClipY(float y) { return 1.0f - 2.0f * y / kSize; }
};

TEST_F(RasterisationPixelTest, ReadBackStartsWithTheTopRow) {
    const D3DRECT topLeft = {0, 0, 8, 4};
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0),
              D3D_OK);
    ASSERT_EQ(device->Clear(1, &topLeft, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
    EXPECT_TRUE(ColorNear(Pixel(0, 0), 255, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(7, 3), 255, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(8, 3), 0, 0, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(7, 4), 0, 0, 255, 0));

    // Positive y is up the screen: the upper half of clip space is the top rows.
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    Draw(ColorQuad(-1, 0, 1, 1, 0.5f, 0xFF00FF00), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Pixel(kSize / 2, 10), 0, 255, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(kSize / 2, kSize - 10), 0, 0, 255, 0));
}

TEST_F(RasterisationPixelTest, EdgesThroughPixelCentresFollowTheTopLeftRule) {
    // A square from (10, 10) to (20, 20): its left and top edges pass through the centres of
    // column 10 and row 10, which are drawn; column 20 and row 20 are not.
    Begin();
    Draw(ColorQuad(ClipX(10), ClipY(20), ClipX(20), ClipY(10), 0.5f, 0xFFFFFFFF), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Pixel(10, 10), 255, 255, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(19, 19), 255, 255, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(9, 15), 0, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(15, 9), 0, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(20, 15), 0, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(15, 20), 0, 0, 0, 0));
}

TEST_F(RasterisationPixelTest, SharedEdgesThroughCentresDrawEachPixelOnce) {
    // Two triangles meeting on the diagonal of a square, additively blended: a pixel covered
    // twice would read 2 x 0x40.
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    const D3DCOLOR c = 0xFF404040;
    const std::vector<ColorVertex> triangles = {{ClipX(8), ClipY(8), 0.5f, 0, 0, -1, c, 0, 0},
                                                {ClipX(40), ClipY(8), 0.5f, 0, 0, -1, c, 0, 0},
                                                {ClipX(8), ClipY(40), 0.5f, 0, 0, -1, c, 0, 0},
                                                {ClipX(40), ClipY(8), 0.5f, 0, 0, -1, c, 0, 0},
                                                {ClipX(40), ClipY(40), 0.5f, 0, 0, -1, c, 0, 0},
                                                {ClipX(8), ClipY(40), 0.5f, 0, 0, -1, c, 0, 0}};
    Begin();
    Draw(triangles, kColorVertexFvf, D3DPT_TRIANGLELIST);
    End();
    for (int i = 9; i < 40; ++i) {
        // (i, 48 - i) lies exactly on the shared edge.
        EXPECT_TRUE(ColorNear(Pixel(i, 48 - i), 0x40, 0x40, 0x40, 0)) << "pixel " << i;
    }
}

TEST_F(RasterisationPixelTest, TexelsMapOneToOneWithTheHalfPixelOffset) {
    // A 4 x 4 texture over 4 x 4 pixels at (-0.5, -0.5) to (3.5, 3.5): each pixel centre sits on
    // its texel's centre, so even linear filtering reads each texel unmixed.
    const D3DCOLOR k = 0xFF000000;
    const D3DCOLOR w = 0xFFFFFFFF;
    device->SetTexture(0, MakeTexture(4, 4, {k, w, k, w, w, k, w, k, k, w, k, w, w, k, w, k}));
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    Begin(0xFF0000FF);
    Draw(ColorQuad(ClipX(-0.5f), ClipY(3.5f), ClipX(3.5f), ClipY(-0.5f), 0.5f, 0xFFFFFFFF),
         kColorVertexFvf);
    End();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const int expected = (x + y) % 2 == 0 ? 0 : 255;
            EXPECT_TRUE(ColorNear(Pixel(x, y), expected, expected, expected, 3))
                << "pixel " << x << ", " << y;
        }
    }
    EXPECT_TRUE(ColorNear(Pixel(4, 0), 0, 0, 255, 0));
}

TEST_F(RasterisationPixelTest, ScreenSpaceVerticesUseThePixelGrid) {
    struct ScreenVertex {
        float x, y, z, rhw;
        D3DCOLOR diffuse;
    };
    const D3DCOLOR c = 0xFF00FF00;
    const std::vector<ScreenVertex> quad = {
        {4, 4, 0.5f, 1, c}, {12, 4, 0.5f, 1, c}, {4, 12, 0.5f, 1, c}, {12, 12, 0.5f, 1, c}};
    Begin();
    Draw(quad, D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    End();
    EXPECT_TRUE(ColorNear(Pixel(4, 4), 0, 255, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(11, 11), 0, 255, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(3, 4), 0, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(12, 11), 0, 0, 0, 0));
}

TEST_F(RasterisationPixelTest, ADynamicBufferRefilledAfterADrawKeepsTheFirstDraw) {
    // As the particles do: lock with DISCARD, fill, draw; again with other contents.
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(
        device->CreateVertexBuffer(4 * sizeof(ColorVertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                   kColorVertexFvf, D3DPOOL_DEFAULT, &buffer),
        D3D_OK);
    owned.push_back(buffer);
    ASSERT_EQ(device->SetStreamSource(0, buffer, sizeof(ColorVertex)), D3D_OK);
    ASSERT_EQ(device->SetVertexShader(kColorVertexFvf), D3D_OK);
    Begin();
    const std::vector<ColorVertex> halves[2] = {ColorQuad(-1, -1, 0, 1, 0.5f, 0xFFFF0000),
                                                ColorQuad(0, -1, 1, 1, 0.5f, 0xFF00FF00)};
    for (const auto& half : halves) {
        BYTE* data = nullptr;
        ASSERT_EQ(buffer->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
        std::memcpy(data, half.data(), 4 * sizeof(ColorVertex));
        ASSERT_EQ(buffer->Unlock(), D3D_OK);
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    }
    End();
    EXPECT_TRUE(ColorNear(Pixel(kSize / 4, kSize / 2), 255, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(3 * kSize / 4, kSize / 2), 0, 255, 0, 0));
}

TEST_F(RasterisationPixelTest, DrawingFromAnOffsetStartVertex) {
    // The skybox draws face i as the strip at vertex 4i.
    std::vector<SkyVertex> faces;
    const D3DCOLOR colours[2] = {0xFFFF0000, 0xFF0000FF};
    for (D3DCOLOR colour : colours) {
        for (const auto& v : FullScreen(0.5f, colour)) {
            faces.push_back({v.x, v.y, v.z, colour, v.u, v.v});
        }
    }
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(
        device->CreateVertexBuffer(static_cast<UINT>(faces.size() * sizeof(SkyVertex)),
                                   D3DUSAGE_WRITEONLY, kSkyVertexFvf, D3DPOOL_MANAGED, &buffer),
        D3D_OK);
    owned.push_back(buffer);
    BYTE* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, faces.data(), faces.size() * sizeof(SkyVertex));
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, buffer, sizeof(SkyVertex)), D3D_OK);
    ASSERT_EQ(device->SetVertexShader(kSkyVertexFvf), D3D_OK);
    Begin();
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4, 2), D3D_OK);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0, 0, 255, 0));
}

}  // namespace
