#include "d3dx/d3dx_texture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/image_file_writers.h"
#include "tests/support/recording_device.h"
#include "tests/support/scoped_working_directory.h"

namespace {

const D3DCOLOR kOpaqueBlack = 0xFF000000;
IDirect3DTexture8* const kSentinel = reinterpret_cast<IDirect3DTexture8*>(0x5E47);

class D3dxTextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog::Get().Reset();
        RecordingSetup::Get().Restore();
        std::filesystem::create_directories(kDirectory);
        d3d = Direct3DCreate8(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters{};
        ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &device), S_OK);
        baselineObjects = RecordingLiveObjects();
    }
    void TearDown() override {
        if (texture != nullptr && texture != kSentinel) {
            texture->Release();
        }
        EXPECT_EQ(RecordingLiveObjects(), baselineObjects);
        device->Release();
        d3d->Release();
        RecordingSetup::Get().Restore();
        EXPECT_EQ(RecordingLiveObjects(), 0);
    }

    std::string Save(const std::string& name, const Bytes& bytes) {
        const std::string path = kDirectory + "/" + name;
        EXPECT_TRUE(WriteBytesToFile(path, bytes));
        return path;
    }
    // The keyed argument set of the trees and the spray.
    HRESULT LoadKeyed(const std::string& path, D3DXIMAGE_INFO* info = nullptr) {
        return D3DXCreateTextureFromFileExA(device, path.c_str(), 300, 300, 0, 0, D3DFMT_UNKNOWN,
                                            D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                            kOpaqueBlack, info, nullptr, &texture);
    }
    HRESULT LoadPlain(const std::string& path) {
        return D3DXCreateTextureFromFileA(device, path.c_str(), &texture);
    }
    RecordingTexture* Recorded() const { return static_cast<RecordingTexture*>(texture); }
    void ExpectNoTextureLeft() {
        EXPECT_EQ(texture, kSentinel);
        EXPECT_EQ(RecordingLiveObjects(), baselineObjects);
    }

    // Each test writes its images into a fresh directory of its own: tests run in parallel.
    ScopedWorkingDirectory workingDirectory;
    const std::string kDirectory = "d3dx_texture_test";
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    IDirect3DTexture8* texture = nullptr;
    int baselineObjects = 0;
};

TEST_F(D3dxTextureTest, PlainLoadKeepsTheSizeWithAFullChain) {
    const TestImage image = PatternImage(256, 128);
    ASSERT_EQ(LoadPlain(Save("plain.bmp", WriteBmp24(image))), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"CreateTexture"}),
              (std::vector<std::string>{"CreateTexture(256, 128, 9, 0, 22, 1)"}));
    RecordingTexture* recorded = Recorded();
    EXPECT_EQ(recorded->Format(), D3DFMT_X8R8G8B8);
    ASSERT_EQ(recorded->GetLevelCount(), 9u);
    EXPECT_EQ(recorded->LevelData(8).width, 1u);
    EXPECT_EQ(recorded->LevelData(8).height, 1u);
    for (UINT y = 0; y < 128; y += 7) {
        for (UINT x = 0; x < 256; x += 5) {
            ASSERT_EQ(recorded->Texel(0, x, y), image.At(x, y)) << x << "," << y;
        }
    }
    // Level 1 is the box average of level 0.
    for (int shift : {16, 8, 0}) {
        uint32_t sum = 0;
        for (UINT y : {20u, 21u}) {
            for (UINT x : {30u, 31u}) {
                sum += (image.At(x, y) >> shift) & 0xFF;
            }
        }
        EXPECT_EQ((recorded->Texel(1, 15, 10) >> shift) & 0xFF, (sum + 2) / 4);
    }
    EXPECT_EQ(recorded->Texel(1, 15, 10) >> 24, 0xFFu);
    for (UINT level = 0; level < 9; ++level) {
        EXPECT_FALSE(recorded->LevelData(level).locked);
    }
}

TEST_F(D3dxTextureTest, KeyClearsPureBlackOnly) {
    TestImage image{2, 2, {0xFF000000, 0xFF010000, 0xFF000100, 0xFF808080}};
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, Save("key.bmp", WriteBmp24(image)).c_str(),
                                           D3DX_DEFAULT, D3DX_DEFAULT, 1, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                           kOpaqueBlack, nullptr, nullptr, &texture),
              S_OK);
    EXPECT_EQ(Recorded()->Format(), D3DFMT_A8R8G8B8);
    EXPECT_EQ(Recorded()->Texel(0, 0, 0), 0x00000000u);
    EXPECT_EQ(Recorded()->Texel(0, 1, 0), 0xFF010000u);
    EXPECT_EQ(Recorded()->Texel(0, 0, 1), 0xFF000100u);
    EXPECT_EQ(Recorded()->Texel(0, 1, 1), 0xFF808080u);
}

TEST_F(D3dxTextureTest, KeyedLoadOnAPowerOfTwoDevice) {
    RecordingSetup::Get().caps.TextureCaps |= D3DPTEXTURECAPS_POW2;
    // A white disc on black: the black becomes transparent before the image is stretched.
    TestImage image{64, 64, {}};
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const int dx = x - 32;
            const int dy = y - 32;
            image.argb.push_back(dx * dx + dy * dy < 20 * 20 ? 0xFFFFFFFF : 0xFF000000);
        }
    }
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(LoadKeyed(Save("disc.bmp", WriteBmp24(image)), &info), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"CreateTexture"}),
              (std::vector<std::string>{"CreateTexture(512, 512, 10, 0, 21, 1)"}));
    RecordingTexture* recorded = Recorded();
    ASSERT_EQ(recorded->GetLevelCount(), 10u);
    EXPECT_EQ(recorded->LevelData(9).width, 1u);
    EXPECT_EQ(recorded->Texel(0, 256, 256), 0xFFFFFFFFu);
    EXPECT_EQ(recorded->Texel(0, 5, 5), 0x00000000u);
    EXPECT_EQ(recorded->Texel(0, 500, 256), 0x00000000u);
    // The edge of the disc blends white with transparent black.
    const DWORD edge = recorded->Texel(0, 256 + 160, 256);
    EXPECT_GT(edge >> 24, 0u);
    EXPECT_LT(edge >> 24, 255u);
    EXPECT_EQ(info.Width, 64u);
    EXPECT_EQ(info.Height, 64u);
    EXPECT_EQ(info.Format, D3DFMT_R8G8B8);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_BMP);
}

TEST_F(D3dxTextureTest, KeyedLoadWithoutPowerOfTwoRulesIsThreeHundredSquare) {
    ASSERT_EQ(LoadKeyed(Save("small.bmp", WriteBmp24(PatternImage(64, 64)))), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"CreateTexture"}),
              (std::vector<std::string>{"CreateTexture(300, 300, 9, 0, 21, 1)"}));
}

TEST_F(D3dxTextureTest, KeyedPaletteEntriesAndFormats) {
    BmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bitCount = 8;
    layout.palette = {0x000000, 0x010203};
    layout.colorsUsed = 2;
    layout.pixels = PackIndexRows({1, 0}, 2, 1, 8);
    const std::string path = Save("palette.bmp", AssembleBmp(layout));
    ASSERT_EQ(LoadPlain(path), S_OK);
    EXPECT_EQ(Recorded()->Format(), D3DFMT_X8R8G8B8);
    EXPECT_EQ(Recorded()->Texel(0, 1, 0), 0xFF000000u);
    texture->Release();
    texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, path.c_str(), 0, 0, 1, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                           kOpaqueBlack, nullptr, nullptr, &texture),
              S_OK);
    EXPECT_EQ(Recorded()->Format(), D3DFMT_A8R8G8B8);
    EXPECT_EQ(Recorded()->Texel(0, 0, 0), 0xFF010203u);
    EXPECT_EQ(Recorded()->Texel(0, 1, 0), 0x00000000u);
}

TEST_F(D3dxTextureTest, SixteenBitFormatsWhenTheDeviceOffersThem) {
    RecordingSetup::Get().textureFormats = {D3DFMT_A1R5G5B5, D3DFMT_R5G6B5};
    TestImage image{2, 1, {0xFF000000, 0xFFFFFFFF}};
    const std::string path = Save("white.bmp", WriteBmp24(image));
    ASSERT_EQ(LoadKeyed(path), S_OK);
    RecordingTexture* recorded = Recorded();
    EXPECT_EQ(recorded->Format(), D3DFMT_A1R5G5B5);
    ASSERT_EQ(recorded->LevelData(0).pitch, 600u);
    const auto& bytes = recorded->LevelData(0).bytes;
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 0x0000);      // keyed texel: transparent
    EXPECT_EQ(bytes[598] | bytes[599] << 8, 0xFFFF);  // white
    texture->Release();
    texture = nullptr;
    ASSERT_EQ(LoadPlain(path), S_OK);
    EXPECT_EQ(Recorded()->Format(), D3DFMT_R5G6B5);
    const auto& plain = Recorded()->LevelData(0).bytes;
    EXPECT_EQ(plain[0] | plain[1] << 8, 0x0000);
    EXPECT_EQ(plain[2] | plain[3] << 8, 0xFFFF);
}

TEST_F(D3dxTextureTest, FormatIsRecognisedByContentNotName) {
    const TestImage image = PatternImage(16, 8, true);
    ASSERT_EQ(LoadPlain(Save("really_a_png.bmp", WritePng(image, PngKind::kRgba))), S_OK);
    EXPECT_EQ(Recorded()->Format(), D3DFMT_A8R8G8B8);
    EXPECT_EQ(Recorded()->Texel(0, 3, 5), image.At(3, 5));
    texture->Release();
    texture = nullptr;
    ASSERT_EQ(LoadPlain(Save("photo.bmp", WriteJpeg(image))), S_OK);
    EXPECT_EQ(Recorded()->Format(), D3DFMT_X8R8G8B8);
}

TEST_F(D3dxTextureTest, BackslashesInPathsOpenTheFile) {
    Save("slashes.bmp", WriteBmp24(PatternImage(4, 4)));
    ASSERT_EQ(LoadPlain(kDirectory + "\\slashes.bmp"), S_OK);
}

TEST_F(D3dxTextureTest, ArgumentsAndFilesThatCannotLoad) {
    const std::string good = Save("good.bmp", WriteBmp24(PatternImage(4, 4)));
    texture = kSentinel;
    EXPECT_EQ(D3DXCreateTextureFromFileA(nullptr, good.c_str(), &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, nullptr, &texture), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileA(device, good.c_str(), nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileExA(device, good.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, 0, D3DX_DEFAULT, 0, nullptr, nullptr,
                                           &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(static_cast<uint32_t>(LoadPlain(kDirectory + "/missing.bmp")), 0x88760B59u);
    EXPECT_EQ(LoadPlain(kDirectory), D3DXERR_INVALIDDATA);
    EXPECT_EQ(LoadPlain(Save("text.bmp", Bytes{'h', 'e', 'l', 'l', 'o'})), D3DXERR_INVALIDDATA);
    Bytes broken = WriteBmp24(PatternImage(4, 4));
    broken.resize(broken.size() - 10);
    broken[2] = static_cast<uint8_t>(broken.size());
    EXPECT_EQ(LoadPlain(Save("broken.bmp", broken)), E_FAIL);
    BmpLayout jpegInBmp;
    jpegInBmp.width = 4;
    jpegInBmp.height = 4;
    jpegInBmp.compression = 4;
    EXPECT_EQ(LoadPlain(Save("compressed.bmp", AssembleBmp(jpegInBmp))), E_NOTIMPL);
    EXPECT_EQ(CallLog::Get().Count("CreateTexture"), 0);
    ExpectNoTextureLeft();
}

TEST_F(D3dxTextureTest, ImagesLargerThanTheDeviceTakesAreScaledDownToFit) {
    RecordingSetup::Get().caps.MaxTextureWidth = 64;
    TestImage halves{128, 4, {}};
    for (uint32_t y = 0; y < halves.height; ++y) {
        for (uint32_t x = 0; x < halves.width; ++x) {
            halves.argb.push_back(x < 64 ? 0xFFFF0000u : 0xFF0000FFu);
        }
    }
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXCreateTextureFromFileExA(device, Save("wide.bmp", WriteBmp24(halves)).c_str(),
                                           D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                           D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, &info, nullptr, &texture),
              S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"CreateTexture"}),
              (std::vector<std::string>{"CreateTexture(64, 4, 7, 0, 22, 1)"}));
    EXPECT_EQ(info.Width, 128u);  // the file's own size
    // Half the texels each side: the whole picture, squeezed, not its left part.
    for (UINT y = 0; y < 4; ++y) {
        for (UINT x = 0; x < 28; ++x) {
            ASSERT_EQ(Recorded()->Texel(0, x, y), 0xFFFF0000u) << x << "," << y;
            ASSERT_EQ(Recorded()->Texel(0, 63 - x, y), 0xFF0000FFu) << x << "," << y;
        }
    }
    texture->Release();
    // A requested size above the maximum is clamped too.
    texture = nullptr;
    ASSERT_EQ(LoadKeyed(Save("fits.bmp", WriteBmp24(PatternImage(64, 2)))), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"CreateTexture"}).back(),
              "CreateTexture(64, 300, 9, 0, 21, 1)");
}

TEST_F(D3dxTextureTest, ImagesBeyondTheLargestSideAreRefusedBeforeDecoding) {
    texture = kSentinel;
    EXPECT_EQ(LoadPlain(Save("wide.bmp", WriteBmp24(PatternImage(16385, 1)))), D3DXERR_INVALIDDATA);
    EXPECT_EQ(LoadPlain(Save("tall.bmp", WriteBmp24(PatternImage(1, 16385)))), D3DXERR_INVALIDDATA);
    EXPECT_EQ(CallLog::Get().Count("CreateTexture"), 0);
    ExpectNoTextureLeft();
}

TEST_F(D3dxTextureTest, DeviceFailuresReleaseTheTextureAndWriteNothing) {
    const std::string path = Save("fail.bmp", WriteBmp24(PatternImage(32, 32)));
    texture = kSentinel;
    CallLog::Get().FailNth("CreateTexture", 1, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(LoadPlain(path), D3DERR_OUTOFVIDEOMEMORY);
    ExpectNoTextureLeft();

    CallLog::Get().FailNth("LockRect", 4, D3DERR_INVALIDCALL);
    EXPECT_EQ(LoadPlain(path), D3DERR_INVALIDCALL);
    ExpectNoTextureLeft();
    EXPECT_EQ(CallLog::Get().Count("IDirect3DTexture8::Release"), 1);

    CallLog::Get().FailNth("UnlockRect", 1, E_FAIL);
    EXPECT_EQ(LoadPlain(path), E_FAIL);
    ExpectNoTextureLeft();

    CallLog::Get().FailNth("GetDeviceCaps", 1, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(LoadPlain(path), D3DERR_NOTAVAILABLE);
    ExpectNoTextureLeft();

    CallLog::Get().FailNth("GetDisplayMode", 1, D3DERR_DEVICELOST);
    EXPECT_EQ(LoadPlain(path), D3DERR_DEVICELOST);
    ExpectNoTextureLeft();
}

}  // namespace
