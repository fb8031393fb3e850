// Every image the content tool generates into data/ loads through the texture loader: plainly,
// and the keyed sprites with the trees' and the spray's arguments, with transparent and opaque
// texels both present. Runs wherever the build has generated data/ beside the tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "d3dx/d3dx_texture.h"
#include "tests/support/recording_device.h"

namespace {

const char* const kDataDirectory = "../data";
const char* const kKeyedTextures[] = {"leaftexture.bmp", "treetexture.bmp", "particle.bmp"};

bool IsImageName(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".bmp" || extension == ".png" || extension == ".jpg" ||
           extension == ".jpeg";
}

class ContentImagesLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(kDataDirectory)) {
            GTEST_SKIP() << "no generated data/ beside the tests";
        }
        CallLog::Get().Reset();
        RecordingSetup::Get().Restore();
        RecordingSetup::Get().caps.TextureCaps |= D3DPTEXTURECAPS_POW2;
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters{};
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &device), S_OK);
    }
    void TearDown() override {
        if (device != nullptr) {
            device->Release();
            d3d->Release();
        }
        RecordingSetup::Get().Restore();
        EXPECT_EQ(RecordingLiveObjects(), 0);
    }

    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
};

TEST_F(ContentImagesLoadTest, EveryGeneratedImageLoadsPlainly) {
    int loaded = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kDataDirectory)) {
        if (!entry.is_regular_file() || !IsImageName(entry.path())) {
            continue;
        }
        IDirect3DTexture8* texture = nullptr;
        EXPECT_EQ(D3DXCreateTextureFromFileA(device, entry.path().string().c_str(), &texture), S_OK)
            << entry.path();
        if (texture != nullptr) {
            texture->Release();
            ++loaded;
        }
        CallLog::Get().Reset();
    }
    EXPECT_GT(loaded, 0);
}

TEST_F(ContentImagesLoadTest, KeyedSpritesCarryTransparentAndOpaqueTexels) {
    for (const char* name : kKeyedTextures) {
        const std::string path = std::string(kDataDirectory) + "/" + name;
        IDirect3DTexture8* texture = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileExA(device, path.c_str(), 300, 300, 0, 0, D3DFMT_UNKNOWN,
                                               D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                               0xFF000000, nullptr, nullptr, &texture),
                  S_OK)
            << name;
        auto* recorded = static_cast<RecordingTexture*>(texture);
        EXPECT_EQ(recorded->Format(), D3DFMT_A8R8G8B8);
        EXPECT_EQ(recorded->GetLevelCount(), 10u);
        int transparent = 0;
        int opaque = 0;
        for (UINT y = 0; y < 512; y += 4) {
            for (UINT x = 0; x < 512; x += 4) {
                const DWORD alpha = recorded->Texel(0, x, y) >> 24;
                transparent += alpha == 0;
                opaque += alpha == 255;
            }
        }
        EXPECT_GT(transparent, 0) << name;
        EXPECT_GT(opaque, 0) << name;
        texture->Release();
        CallLog::Get().Reset();
    }
}

}  // namespace
