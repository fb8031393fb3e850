#include "d3dx/texture_fitting.h"

#include <gtest/gtest.h>

#include "tests/support/recording_device.h"

namespace {

D3DCAPS8 Caps(DWORD textureCaps, DWORD maxSide = 4096, DWORD aspect = 4096) {
    D3DCAPS8 caps{};
    caps.TextureCaps = textureCaps;
    caps.MaxTextureWidth = maxSide;
    caps.MaxTextureHeight = maxSide;
    caps.MaxTextureAspectRatio = aspect;
    return caps;
}

void ExpectShape(const TextureShape& shape, UINT width, UINT height, UINT levels) {
    EXPECT_EQ(shape.width, width);
    EXPECT_EQ(shape.height, height);
    EXPECT_EQ(shape.levels, levels);
}

const DWORD kMip = D3DPTEXTURECAPS_MIPMAP;

TEST(TextureFittingTest, SizeAndLevels) {
    ExpectShape(FitTextureShape(Caps(kMip), 64, 64, 300, 300, 0), 300, 300, 9);
    ExpectShape(FitTextureShape(Caps(kMip), 256, 128, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT),
                256, 128, 9);
    ExpectShape(FitTextureShape(Caps(kMip), 256, 128, 0, 0, 3), 256, 128, 3);
    ExpectShape(FitTextureShape(Caps(kMip), 4, 4, 0, 0, 40), 4, 4, 3);
    ExpectShape(FitTextureShape(Caps(0), 64, 64, 0, 0, 0), 64, 64, 1);
}

TEST(TextureFittingTest, PowersOfTwoRoundUp) {
    const D3DCAPS8 pow2 = Caps(kMip | D3DPTEXTURECAPS_POW2);
    ExpectShape(FitTextureShape(pow2, 64, 64, 300, 300, 0), 512, 512, 10);
    ExpectShape(FitTextureShape(pow2, 256, 256, 0, 0, 0), 256, 256, 9);
    ExpectShape(FitTextureShape(pow2, 100, 3, 0, 0, 0), 128, 4, 8);
    // Rounding up past the maximum steps back below it.
    ExpectShape(FitTextureShape(Caps(kMip | D3DPTEXTURECAPS_POW2, 300), 64, 64, 300, 300, 0), 256,
                256, 9);
}

TEST(TextureFittingTest, ConditionalNonPowerOfTwoKeepsTheSizeWithOneLevel) {
    const D3DCAPS8 caps = Caps(kMip | D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_NONPOW2CONDITIONAL);
    ExpectShape(FitTextureShape(caps, 64, 64, 300, 300, 0), 300, 300, 1);
    ExpectShape(FitTextureShape(caps, 64, 64, 256, 256, 0), 256, 256, 9);
}

TEST(TextureFittingTest, MaximumSizeAspectRatioAndSquareOnly) {
    ExpectShape(FitTextureShape(Caps(kMip, 256), 1000, 300, 0, 0, 1), 256, 256, 1);
    ExpectShape(FitTextureShape(Caps(kMip, 4096, 2), 256, 32, 0, 0, 1), 256, 128, 1);
    ExpectShape(FitTextureShape(Caps(kMip, 4096, 2), 32, 256, 0, 0, 1), 128, 256, 1);
    ExpectShape(FitTextureShape(Caps(kMip, 4096, 4), 257, 64, 0, 0, 1), 257, 65, 1);
    ExpectShape(FitTextureShape(Caps(kMip | D3DPTEXTURECAPS_SQUAREONLY), 256, 128, 0, 0, 0), 128,
                128, 8);
}

DecodedImage ImageOf(D3DFORMAT format) {
    DecodedImage image;
    image.AllocatePixels(2, 2, format);
    return image;
}

TEST(TextureFittingTest, PreferredFormats) {
    EXPECT_EQ(PreferredTextureFormat(ImageOf(D3DFMT_R8G8B8), 0), D3DFMT_X8R8G8B8);
    EXPECT_EQ(PreferredTextureFormat(ImageOf(D3DFMT_R8G8B8), 0xFF000000), D3DFMT_A8R8G8B8);
    EXPECT_EQ(PreferredTextureFormat(ImageOf(D3DFMT_X8R8G8B8), 0xFF000000), D3DFMT_A8R8G8B8);
    EXPECT_EQ(PreferredTextureFormat(ImageOf(D3DFMT_A8R8G8B8), 0), D3DFMT_A8R8G8B8);
    EXPECT_EQ(PreferredTextureFormat(ImageOf(D3DFMT_R5G6B5), 0), D3DFMT_R5G6B5);
    EXPECT_EQ(PreferredTextureFormat(ImageOf(D3DFMT_X1R5G5B5), 0xFF000000), D3DFMT_A1R5G5B5);
    EXPECT_EQ(PreferredTextureFormat(ImageOf(D3DFMT_X4R4G4B4), 0xFF000000), D3DFMT_A4R4G4B4);
    EXPECT_EQ(PreferredTextureFormat(ImageOf(D3DFMT_L8), 0xFF000000), D3DFMT_A8L8);
    EXPECT_EQ(PreferredTextureFormat(ImageOf(D3DFMT_A2B10G10R10), 0), D3DFMT_A2B10G10R10);

    DecodedImage palettised;
    ASSERT_EQ(palettised.AllocateIndices(2, 2, 4), S_OK);
    EXPECT_EQ(PreferredTextureFormat(palettised, 0), D3DFMT_X8R8G8B8);
    palettised.ApplyColorKey(0xFF000000);  // every entry starts as opaque black
    EXPECT_EQ(PreferredTextureFormat(palettised, 0xFF000000), D3DFMT_A8R8G8B8);
}

TEST(TextureFittingTest, CandidatesFallBackToThirtyTwoBitFirst) {
    D3DFORMAT candidates[8];
    ASSERT_GE(TextureFormatCandidates(D3DFMT_A1R5G5B5, candidates), 2);
    EXPECT_EQ(candidates[0], D3DFMT_A1R5G5B5);
    EXPECT_EQ(candidates[1], D3DFMT_A8R8G8B8);
    ASSERT_GE(TextureFormatCandidates(D3DFMT_L8, candidates), 2);
    EXPECT_EQ(candidates[1], D3DFMT_X8R8G8B8);
    const int count = TextureFormatCandidates(D3DFMT_DXT1, candidates);
    EXPECT_EQ(candidates[0], D3DFMT_A8R8G8B8);
    for (int i = 0; i < count; ++i) {
        EXPECT_NE(candidates[i], D3DFMT_DXT1);
    }
}

class ChooseTextureFormatTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog::Get().Reset();
        RecordingSetup::Get().Restore();
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters{};
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &device), S_OK);
    }
    void TearDown() override {
        device->Release();
        d3d->Release();
        RecordingSetup::Get().Restore();
        EXPECT_EQ(RecordingLiveObjects(), 0);
    }
    D3DFORMAT Choose(D3DFORMAT preferred) {
        D3DFORMAT chosen = D3DFMT_UNKNOWN;
        EXPECT_EQ(ChooseTextureFormat(device, 0, preferred, &chosen), S_OK);
        return chosen;
    }

    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
};

TEST_F(ChooseTextureFormatTest, TheDeviceHasTheLastWord) {
    EXPECT_EQ(Choose(D3DFMT_X8R8G8B8), D3DFMT_X8R8G8B8);
    EXPECT_EQ(Choose(D3DFMT_A1R5G5B5), D3DFMT_A8R8G8B8);
    EXPECT_EQ(Choose(D3DFMT_L8), D3DFMT_X8R8G8B8);
    RecordingSetup::Get().textureFormats = {D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_L8};
    EXPECT_EQ(Choose(D3DFMT_L8), D3DFMT_L8);
    EXPECT_EQ(Choose(D3DFMT_X8R8G8B8), D3DFMT_A8R8G8B8);
    RecordingSetup::Get().textureFormats = {D3DFMT_R5G6B5, D3DFMT_A4R4G4B4};
    EXPECT_EQ(Choose(D3DFMT_X8R8G8B8), D3DFMT_R5G6B5);
    EXPECT_EQ(Choose(D3DFMT_A8R8G8B8), D3DFMT_A4R4G4B4);
    RecordingSetup::Get().textureFormats.clear();
    EXPECT_EQ(Choose(D3DFMT_R5G6B5), D3DFMT_X8R8G8B8);
    EXPECT_EQ(Choose(D3DFMT_A4R4G4B4), D3DFMT_A8R8G8B8);
    // Asked against the current display format, for a texture.
    EXPECT_EQ(CallLog::Get().Texts({"CheckDeviceFormat"}).front(),
              "CheckDeviceFormat(0, 1, 22, 0, 3, 22)");
}

TEST_F(ChooseTextureFormatTest, AFailedQueryIsReported) {
    CallLog::Get().FailNth("GetDirect3D", 1, E_FAIL);
    D3DFORMAT chosen = D3DFMT_P8;
    EXPECT_EQ(ChooseTextureFormat(device, 0, D3DFMT_X8R8G8B8, &chosen), E_FAIL);
    EXPECT_EQ(chosen, D3DFMT_P8);
}

}  // namespace
