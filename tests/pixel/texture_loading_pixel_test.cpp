// The texture loader on the OpenGL layer: what it asks of the device (capabilities, formats,
// levels, locks) is answered so that a plain load keeps the image's size and a keyed load, as the
// trees and the spray make, gives a 300 x 300 texture whose pure black texels the alpha test cuts
// out.
#include <cstdio>
#include <string>
#include <vector>

#include "d3dx/d3dx_texture.h"
#include "tests/pixel/pixel_scene.h"

namespace {

// A 24-bit bottom-up BMP of the given texels (0xRRGGBB), rows from the top.
void WriteBmp(const std::string& path, int width, int height, const std::vector<DWORD>& texels) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const int imageBytes = rowBytes * height;
    std::vector<uint8_t> file(54 + imageBytes, 0);
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            file[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;   // planes
    file[28] = 24;  // bits per pixel
    put32(34, static_cast<uint32_t>(imageBytes));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = file.data() + 54 + (height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const DWORD texel = texels[static_cast<size_t>(y) * width + x];
            row[x * 3] = static_cast<uint8_t>(texel);
            row[x * 3 + 1] = static_cast<uint8_t>(texel >> 8);
            row[x * 3 + 2] = static_cast<uint8_t>(texel >> 16);
        }
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(std::fwrite(file.data(), 1, file.size(), out), file.size());
    std::fclose(out);
}

class TextureLoadingPixelTest : public PixelScene {
protected:
    void SetUp() override {
        PixelScene::SetUp();
        ASSERT_NE(device, nullptr);
        UseUnlitTwoSided();
        // Named after the test: the tests of this suite run in parallel.
        path = ::testing::TempDir() + "skimlark_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp";
    }
    void TearDown() override {
        std::remove(path.c_str());
        PixelScene::TearDown();
    }

    std::string path;
};

TEST_F(TextureLoadingPixelTest, APlainLoadKeepsTheImageSizeWithAFullChain) {
    // Left half red, right half blue, 256 x 128.
    std::vector<DWORD> texels(256 * 128);
    for (size_t i = 0; i < texels.size(); ++i) {
        texels[i] = (i % 256) < 128 ? 0xFF0000 : 0x0000FF;
    }
    WriteBmp(path, 256, 128, texels);
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileA(device, path.c_str(), &texture), D3D_OK);
    owned.push_back(texture);
    EXPECT_EQ(texture->GetLevelCount(), 9u);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 256u);
    EXPECT_EQ(desc.Height, 128u);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);

    device->SetTexture(0, texture);
    Begin();
    Draw(FullScreen(0.5f, 0xFFFFFFFF), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Pixel(kSize / 4, kSize / 2), 255, 0, 0));
    EXPECT_TRUE(ColorNear(Pixel(3 * kSize / 4, kSize / 2), 0, 0, 255));
}

TEST_F(TextureLoadingPixelTest, AKeyedLoadCutsOutPureBlackUnderTheAlphaTest) {
    // 4 x 4: the left half pure black, the right half near-black (1, 0, 0) and green.
    WriteBmp(path, 4, 4,
             {0x000000, 0x000000, 0x010000, 0x00FF00, 0x000000, 0x000000, 0x010000, 0x00FF00,
              0x000000, 0x000000, 0x010000, 0x00FF00, 0x000000, 0x000000, 0x010000, 0x00FF00});
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, path.c_str(), 300, 300, 0, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0xFF000000,
                                           nullptr, nullptr, &texture),
              D3D_OK);
    owned.push_back(texture);
    // No power-of-two restriction here: the requested size stands.
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 300u);
    EXPECT_EQ(desc.Height, 300u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->GetLevelCount(), 9u);

    // The trees' states: alpha test GREATER 0 and point filtering.
    device->SetRenderState(D3DRS_ALPHAREF, 0);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetTexture(0, texture);
    Begin(0xFF000080);
    Draw(FullScreen(0.5f, 0xFFFFFFFF), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Pixel(kSize / 8, kSize / 2), 0, 0, 0x80));  // keyed out
    EXPECT_TRUE(ColorNear(Pixel(7 * kSize / 8, kSize / 2), 0, 255, 0));
}

}  // namespace
