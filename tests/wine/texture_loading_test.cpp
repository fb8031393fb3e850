// Texture loading on real Direct3D 8 (Wine's): every image the content tool makes, PNG and JPEG
// through the Windows Imaging Component included, becomes a texture with its mip chain, with the
// device's own formats, pitches and caps rather than the test double's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "d3dx/d3dx_texture.h"
#include "platform/direct3d8.h"

namespace {

std::vector<std::string> ContentImages() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("data\\*", &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::string name = found.cFileName;
        const size_t dot = name.rfind('.');
        const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
        if (extension == ".bmp" || extension == ".png" || extension == ".jpg") {
            names.push_back("data/" + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class TextureLoadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExA(0, "STATIC", "textures", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DDISPLAYMODE mode;
        ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.BackBufferFormat = mode.Format;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                    D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device),
                  D3D_OK);
    }
    void TearDown() override {
        if (device != nullptr) {
            EXPECT_EQ(device->Release(), 0u);
        }
        if (d3d != nullptr) {
            d3d->Release();
        }
        if (window != nullptr) {
            DestroyWindow(window);
        }
    }

    HWND window = nullptr;
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
};

TEST_F(TextureLoadingTest, EveryContentImageLoadsWithItsMipChain) {
    const std::vector<std::string> images = ContentImages();
    ASSERT_GT(images.size(), 10u) << "no data/ directory beside the tests";
    int pngs = 0;
    int jpegs = 0;
    for (const std::string& path : images) {
        IDirect3DTexture8* texture = nullptr;
        ASSERT_EQ(D3DXCreateTextureFromFileA(device, path.c_str(), &texture), D3D_OK) << path;
        D3DSURFACE_DESC top;
        ASSERT_EQ(texture->GetLevelDesc(0, &top), D3D_OK);
        EXPECT_GT(top.Width, 0u) << path;
        // A full chain down to one texel along the longer side.
        UINT longest = top.Width > top.Height ? top.Width : top.Height;
        DWORD levels = 1;
        while (longest > 1) {
            longest /= 2;
            ++levels;
        }
        EXPECT_EQ(texture->GetLevelCount(), levels) << path;
        // Something was written: a loaded level is not all zero bytes.
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        const BYTE* bytes = static_cast<const BYTE*>(locked.pBits);
        bool written = false;
        for (UINT y = 0; y < top.Height && !written; ++y) {
            for (INT x = 0; x < locked.Pitch && !written; ++x) {
                written = bytes[y * locked.Pitch + x] != 0;
            }
        }
        texture->UnlockRect(0);
        EXPECT_TRUE(written) << path;
        EXPECT_EQ(texture->Release(), 0u);
        pngs += path.rfind(".png") != std::string::npos;
        jpegs += path.rfind(".jpg") != std::string::npos;
    }
    EXPECT_GT(pngs, 0);
    EXPECT_GT(jpegs, 0);
}

TEST_F(TextureLoadingTest, AKeyedSpriteLoadsAtTheAskedSizeWithTransparentTexels) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, "data/particle.bmp", 300, 300, 0, 0,
                                           D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0xFF000000, nullptr, nullptr, &texture),
              D3D_OK);
    D3DSURFACE_DESC top;
    ASSERT_EQ(texture->GetLevelDesc(0, &top), D3D_OK);
    EXPECT_GE(top.Width, 256u);
    EXPECT_LE(top.Width, 512u);
    EXPECT_EQ(top.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(texture->Release(), 0u);
}

TEST_F(TextureLoadingTest, AMissingFileFailsAndCreatesNothing) {
    IDirect3DTexture8* texture = reinterpret_cast<IDirect3DTexture8*>(0x1);
    EXPECT_LT(D3DXCreateTextureFromFileA(device, "data/no_such_image.bmp", &texture), 0);
    EXPECT_EQ(texture, reinterpret_cast<IDirect3DTexture8*>(0x1));
}

}  // namespace
