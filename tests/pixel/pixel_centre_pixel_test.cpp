// Where a pixel samples and what it covers, to a fraction of a pixel: Direct3D 9 and earlier put
// pixel centres on integer coordinates, take texture coordinates there, and point sampling takes
// texel floor(u x width). A layer that nudges its centres, even by a step of the rasteriser's
// sub-pixel grid, takes the neighbouring texel wherever a texel edge lies within that nudge of a
// centre: the thin runs of wrong texels once seen in the point-sampled sky.
#include <cmath>

#include "render/camera.h"
#include "tests/pixel/pixel_scene.h"

namespace {

class PixelCentrePixelTest : public PixelScene {
protected:
    void SetUp() override {
        PixelScene::SetUp();
        ASSERT_NE(device, nullptr);
        UseUnlitTwoSided();
        device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
        device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    }

    // A 1 x length or length x 1 X8R8G8B8 texture whose texel i reads red (or green) i % 256.
    IDirect3DTexture8* Ramp(UINT length, bool alongU) {
        IDirect3DTexture8* texture = nullptr;
        EXPECT_EQ(device->CreateTexture(alongU ? length : 1, alongU ? 1 : length, 1, 0,
                                        D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture),
                  D3D_OK);
        if (texture == nullptr) {
            return nullptr;
        }
        owned.push_back(texture);
        D3DLOCKED_RECT locked{};
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        for (UINT i = 0; i < length; ++i) {
            const DWORD step = i % 256;
            const DWORD texel = alongU ? 0xFF000000 | step << 16 : 0xFF000000 | step << 8;
            const size_t offset = alongU ? i * 4 : size_t{i} * locked.Pitch;
            *reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + offset) = texel;
        }
        EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
        return texture;
    }

    // Draws the ramp over the whole screen with 16 texels to a pixel, its texel edges `offset`
    // pixels right of (or below) the pixel centres, and returns the texel each pixel along the
    // middle row (or column) took.
    std::vector<int> TexelsTaken(bool alongU, double offset) {
        constexpr int kTexelsPerPixel = 16;
        constexpr UINT kLength = kSize * kTexelsPerPixel;
        device->SetTexture(0, Ramp(kLength, alongU));
        // Screen 0..kSize is clip -1..1; u x length at screen x is 16 (x - offset).
        const float start = static_cast<float>(-kTexelsPerPixel * offset / kLength);
        const float end = static_cast<float>(kTexelsPerPixel * (kSize - offset) / kLength);
        Begin();
        Draw(alongU ? ColorQuad(-1, -1, 1, 1, 0.5f, 0xFFFFFFFF, start, 0, end, 0)
                    : ColorQuad(-1, -1, 1, 1, 0.5f, 0xFFFFFFFF, 0, start, 0, end),
             kColorVertexFvf);
        End();
        std::vector<int> taken;
        for (int i = 0; i < kSize; ++i) {
            const Rgba pixel = alongU ? Pixel(i, kSize / 2) : Pixel(kSize / 2, i);
            taken.push_back(alongU ? pixel.r : pixel.g);
        }
        return taken;
    }
};

TEST_F(PixelCentrePixelTest, PointSamplingTakesTheTexelUnderTheExactPixelCentre) {
    // Edges a 512th of a pixel (a 32nd of a texel, far above any rounding) either side of the
    // centres, and on them.
    struct Case {
        double offset;
        int texelShift;  // the texel taken, relative to 16 x the pixel's index
    };
    const Case cases[] = {{1.0 / 512, -1}, {0.0, 0}, {-1.0 / 512, 0}};
    for (bool alongU : {true, false}) {
        for (const Case& c : cases) {
            const std::vector<int> taken = TexelsTaken(alongU, c.offset);
            std::vector<int> wrong;
            for (int i = 1; i < kSize; ++i) {
                if (taken[i] != (16 * i + c.texelShift) % 256) {
                    wrong.push_back(i);
                }
            }
            EXPECT_TRUE(wrong.empty())
                << wrong.size() << (alongU ? " columns" : " rows") << " took another texel, the "
                << "first " << wrong.front() << ", with texel edges " << c.offset
                << " px past the centres";
        }
    }
}

TEST_F(PixelCentrePixelTest, EdgesJustPastACentreLeaveItUncovered) {
    // Left and top edges a 256th of a pixel (one step of an 8-bit sub-pixel grid) either side of
    // the centres of column and row 10: only the edge before the centre covers it.
    const float step = 1.0f / 256;
    const auto clipX = [](float x) { return 2.0f * x / kSize - 1.0f; };
    const auto clipY = [](float y) { return 1.0f - 2.0f * y / kSize; };
    Begin();
    // Rows 20 and 40: left edges past and before x = 10.
    Draw(ColorQuad(clipX(10 + step), clipY(21), clipX(30), clipY(19), 0.5f, 0xFFFFFFFF),
         kColorVertexFvf);
    Draw(ColorQuad(clipX(10 - step), clipY(41), clipX(30), clipY(39), 0.5f, 0xFFFFFFFF),
         kColorVertexFvf);
    // Columns 20 and 40: top edges past and before y = 10.
    Draw(ColorQuad(clipX(19), clipY(30), clipX(21), clipY(10 + step), 0.5f, 0xFFFFFFFF),
         kColorVertexFvf);
    Draw(ColorQuad(clipX(39), clipY(30), clipX(41), clipY(10 - step), 0.5f, 0xFFFFFFFF),
         kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Pixel(10, 20), 0, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(11, 20), 255, 255, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(10, 40), 255, 255, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(20, 10), 0, 0, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(20, 11), 255, 255, 255, 0));
    EXPECT_TRUE(ColorNear(Pixel(40, 10), 255, 255, 255, 0));
}

TEST_F(PixelCentrePixelTest, ThePointSampledSkyTakesTheTexelsAPlainRayCastFinds) {
    // A face of the sky as the game draws it: the cube's +x face, 500 units across, around a
    // camera at its centre with the game's projection, turned and tilted so that texel edges cross
    // the picture at every angle. Every pixel is checked against a ray cast through its exact
    // centre in double precision; pixels whose texel coordinate lies within a 512th of a texel of
    // an edge are left out, as either texel is a fair answer there.
    constexpr int kTexels = 128;
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(
        device->CreateTexture(kTexels, kTexels, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture),
        D3D_OK);
    owned.push_back(texture);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (int row = 0; row < kTexels; ++row) {
        auto* line =
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + row * locked.Pitch);
        for (int column = 0; column < kTexels; ++column) {
            line[column] = 0xFF000080 | DWORD(2 * column) << 16 | DWORD(2 * row) << 8;
        }
    }
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    device->SetTexture(0, texture);

    Camera camera;
    camera.Setup(kSize, kSize, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0.17f, 1.85f, 0));
    ASSERT_EQ(camera.Apply(device), D3D_OK);
    const float h = 250;
    // The skybox's front face: u runs along +z, v down the screen.
    const std::vector<ColorVertex> face = {{h, h, -h, 0, 0, -1, 0xFFFFFFFF, 0, 0},
                                           {h, h, h, 0, 0, -1, 0xFFFFFFFF, 1, 0},
                                           {h, -h, -h, 0, 0, -1, 0xFFFFFFFF, 0, 1},
                                           {h, -h, h, 0, 0, -1, 0xFFFFFFFF, 1, 1}};
    Begin(0xFF000000);
    Draw(face, kColorVertexFvf);
    End();

    // The projection is 1 wide and 1 high at distance 1: a centre's view ray is (nx / 2, ny / 2,
    // 1); the view's rotation is orthonormal, so world = view ray x its transpose.
    const D3DXMATRIX view = camera.GetView();
    const std::vector<Rgba> picture = Picture();
    ASSERT_FALSE(picture.empty());
    int judged = 0;
    int wrong = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double ray[3] = {(x * 2.0 / kSize - 1) / 2, (1 - y * 2.0 / kSize) / 2, 1};
            double world[3];
            for (int j = 0; j < 3; ++j) {
                world[j] = ray[0] * view.m[j][0] + ray[1] * view.m[j][1] + ray[2] * view.m[j][2];
            }
            if (world[0] <= 0) {
                continue;
            }
            const double t = h / world[0];
            const double u = (t * world[2] + h) / (2 * h) * kTexels;
            const double v = (h - t * world[1]) / (2 * h) * kTexels;
            const auto nearEdge = [](double s) { return std::fabs(s - std::round(s)) < 1.0 / 512; };
            if (u < 0 || v < 0 || u >= kTexels || v >= kTexels || nearEdge(u) || nearEdge(v)) {
                continue;
            }
            ++judged;
            const Rgba& pixel = picture[static_cast<size_t>(y) * kSize + x];
            if (pixel.r / 2 != static_cast<int>(u) || pixel.g / 2 != static_cast<int>(v)) {
                ADD_FAILURE_AT(__FILE__, __LINE__)
                    << "pixel " << x << ", " << y << " took texel " << pixel.r / 2 << ", "
                    << pixel.g / 2 << ", not " << u << ", " << v;
                if (++wrong == 10) {
                    return;
                }
            }
        }
    }
    EXPECT_GT(judged, kSize * kSize * 9 / 10);
}

}  // namespace
