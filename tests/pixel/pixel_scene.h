// A small scene for image tests on whichever Direct3D 8 the build links (pixel_device.h): a
// windowed device with a square back buffer, identity transforms (so positions are clip-space
// coordinates, z in 0..1), helpers that draw quads in the game's vertex formats and make textures
// from texel lists, and read-back of single pixels in Direct3D's orientation.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/direct3d8.h"

struct Rgba {
    int r;
    int g;
    int b;
    int a;
};

// 0x152: position, normal, diffuse, one texture coordinate pair.
struct ColorVertex {
    float x, y, z;
    float nx, ny, nz;
    D3DCOLOR diffuse;
    float u, v;
};

// 0x112: position, normal, one texture coordinate pair; no diffuse.
struct LevelVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

// 0x142: position, diffuse, one texture coordinate pair.
struct SkyVertex {
    float x, y, z;
    D3DCOLOR diffuse;
    float u, v;
};

constexpr DWORD kColorVertexFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr DWORD kLevelVertexFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
constexpr DWORD kSkyVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class PixelScene : public ::testing::Test {
protected:
    static constexpr int kSize = 64;

    void SetUp() override;
    void TearDown() override;

    // Vertex colours as given and both windings drawn: what most image checks start from.
    void UseUnlitTwoSided() {
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    }

    // Clears colour and depth, ready for drawing inside a scene.
    void Begin(D3DCOLOR clearColor = 0xFF000000);
    void End();

    // A quad over clip-space x0..x1, y0..y1 at depth z as a two-triangle strip; texture
    // coordinates run 0..1 from the top-left corner unless given.
    std::vector<ColorVertex> ColorQuad(float x0, float y0, float x1, float y1, float z,
                                       D3DCOLOR diffuse, float u0 = 0, float v0 = 0, float u1 = 1,
                                       float v1 = 1) const;
    std::vector<ColorVertex> FullScreen(float z, D3DCOLOR diffuse) const {
        return ColorQuad(-1, -1, 1, 1, z, diffuse);
    }
    // Draws vertices of any layout as a strip (or list) from a fresh managed buffer.
    template <typename Vertex>
    void Draw(const std::vector<Vertex>& vertices, DWORD fvf,
              D3DPRIMITIVETYPE type = D3DPT_TRIANGLESTRIP) {
        DrawBytes(vertices.data(), sizeof(Vertex), vertices.size(), fvf, type);
    }
    void DrawBytes(const void* vertices, UINT stride, size_t count, DWORD fvf,
                   D3DPRIMITIVETYPE type);

    // An A8R8G8B8 (or other 32-bit) texture of one level, texels row by row from the top.
    IDirect3DTexture8* MakeTexture(UINT width, UINT height, std::initializer_list<D3DCOLOR> texels,
                                   D3DFORMAT format = D3DFMT_A8R8G8B8);
    // Fills one level of an existing texture with a single colour.
    void FillLevel(IDirect3DTexture8* texture, UINT level, D3DCOLOR color);

    Rgba Pixel(int x, int y) const;
    // The whole picture, kSize x kSize pixels row by row from the top (empty when unreadable).
    std::vector<Rgba> Picture() const;
    Rgba Centre() const { return Pixel(kSize / 2, kSize / 2); }

    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    std::vector<IUnknown*> owned;  // released at teardown, before the device
};

// Channels within a small tolerance of the expected 8-bit values (alpha not compared: the back
// buffer has none).
::testing::AssertionResult ColorNear(const Rgba& actual, int r, int g, int b, int tolerance = 2);
