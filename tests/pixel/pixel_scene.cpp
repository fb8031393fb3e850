#include "tests/pixel/pixel_scene.h"

#include <cstdlib>
#include <cstring>

#include "tests/pixel/pixel_device.h"

void PixelScene::SetUp() {
    const std::optional<int> live = LiveLayerObjects();
    if (live.has_value()) {
        ASSERT_EQ(*live, 0) << "an earlier test left objects alive";
    }
    ASSERT_EQ(CreatePixelDevice(kSize, &d3d, &device), D3D_OK);
}

void PixelScene::TearDown() {
    for (IUnknown* object : owned) {
        object->Release();
    }
    owned.clear();
    if (device != nullptr) {
        EXPECT_EQ(device->Release(), 0u);
        device = nullptr;
    }
    if (d3d != nullptr) {
        EXPECT_EQ(d3d->Release(), 0u);
        d3d = nullptr;
    }
    const std::optional<int> live = LiveLayerObjects();
    if (live.has_value()) {
        EXPECT_EQ(*live, 0);
    }
}

void PixelScene::Begin(D3DCOLOR clearColor) {
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColor, 1.0f, 0),
              D3D_OK);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
}

void PixelScene::End() {
    ASSERT_EQ(device->EndScene(), D3D_OK);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

std::vector<ColorVertex> PixelScene::ColorQuad(float x0, float y0, float x1, float y1, float z,
                                               D3DCOLOR diffuse, float u0, float v0, float u1,
                                               float v1) const {
    // Top-left, top-right, bottom-left, bottom-right: clockwise on screen, so the default
    // counter-clockwise culling keeps it.
    return {{x0, y1, z, 0, 0, -1, diffuse, u0, v0},
            {x1, y1, z, 0, 0, -1, diffuse, u1, v0},
            {x0, y0, z, 0, 0, -1, diffuse, u0, v1},
            {x1, y0, z, 0, 0, -1, diffuse, u1, v1}};
}

void PixelScene::DrawBytes(const void* vertices, UINT stride, size_t count, DWORD fvf,
                           D3DPRIMITIVETYPE type) {
    const UINT length = static_cast<UINT>(stride * count);
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, fvf, D3DPOOL_MANAGED, &buffer),
              D3D_OK);
    owned.push_back(buffer);
    BYTE* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, vertices, length);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, buffer, stride), D3D_OK);
    ASSERT_EQ(device->SetVertexShader(fvf), D3D_OK);
    const UINT primitives =
        type == D3DPT_TRIANGLESTRIP ? static_cast<UINT>(count) - 2 : static_cast<UINT>(count) / 3;
    ASSERT_EQ(device->DrawPrimitive(type, 0, primitives), D3D_OK);
}

IDirect3DTexture8* PixelScene::MakeTexture(UINT width, UINT height,
                                           std::initializer_list<D3DCOLOR> texels,
                                           D3DFORMAT format) {
    IDirect3DTexture8* texture = nullptr;
    EXPECT_EQ(device->CreateTexture(width, height, 1, 0, format, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    if (texture == nullptr) {
        return nullptr;
    }
    owned.push_back(texture);
    EXPECT_EQ(texels.size(), size_t{width} * height);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    auto texel = texels.begin();
    for (UINT row = 0; row < height; ++row) {
        auto* line =
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + row * locked.Pitch);
        for (UINT column = 0; column < width && texel != texels.end(); ++column) {
            line[column] = *texel++;
        }
    }
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
}

void PixelScene::FillLevel(IDirect3DTexture8* texture, UINT level, D3DCOLOR color) {
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
    for (UINT row = 0; row < desc.Height; ++row) {
        auto* line =
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + row * locked.Pitch);
        for (UINT column = 0; column < desc.Width; ++column) {
            line[column] = color;
        }
    }
    ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
}

Rgba PixelScene::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) {
        ADD_FAILURE() << "pixel " << x << ", " << y << " is outside the back buffer";
        return {-1, -1, -1, -1};
    }
    const std::vector<Rgba> picture = Picture();
    if (picture.empty()) {
        return {-1, -1, -1, -1};
    }
    return picture[static_cast<size_t>(y) * kSize + x];
}

std::vector<Rgba> PixelScene::Picture() const {
    std::vector<uint8_t> rgba;
    int width = 0;
    int height = 0;
    if (!ReadPixelRows(device, &rgba, &width, &height) || width != kSize || height != kSize) {
        ADD_FAILURE() << "the back buffer could not be read";
        return {};
    }
    std::vector<Rgba> picture(static_cast<size_t>(kSize) * kSize);
    for (size_t i = 0; i < picture.size(); ++i) {
        picture[i] = {rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2], rgba[4 * i + 3]};
    }
    return picture;
}

::testing::AssertionResult ColorNear(const Rgba& actual, int r, int g, int b, int tolerance) {
    if (std::abs(actual.r - r) <= tolerance && std::abs(actual.g - g) <= tolerance &&
        std::abs(actual.b - b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "got (" << actual.r << ", " << actual.g << ", " << actual.b << "), expected (" << r
           << ", " << g << ", " << b << ") within " << tolerance;
}
