#include "environment/skybox.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/minimal_game_data.h"
#include "tests/support/recording_fixture.h"
#include "tests/support/scoped_working_directory.h"

namespace {

TEST(SkyboxGeometryTest, TheCubeSpansHalfItsSizeEachWay) {
    SkyVertex v[Skybox::kVertexCount];
    Skybox::BuildVertices(D3DXVECTOR3(500, 500, 500), v);
    for (const SkyVertex& vertex : v) {
        EXPECT_EQ(std::abs(vertex.x), 250.0f);
        EXPECT_EQ(std::abs(vertex.y), 250.0f);
        EXPECT_EQ(std::abs(vertex.z), 250.0f);
        EXPECT_EQ(vertex.diffuse, 0xFFFFFFFFu);
    }
    Skybox::BuildVertices(D3DXVECTOR3(100, 50, 20), v);
    EXPECT_EQ(v[0].x, -50.0f);
    EXPECT_EQ(v[0].y, 25.0f);
    EXPECT_EQ(v[0].z, -10.0f);
    EXPECT_EQ(v[0].tu, 0.0f);
    EXPECT_EQ(v[0].tv, 1.0f);
    EXPECT_EQ(v[8].x, -50.0f);
    EXPECT_EQ(v[8].tu, 1.0f);
    EXPECT_EQ(v[8].tv, 0.0f);
    EXPECT_EQ(v[23].x, 50.0f);
    EXPECT_EQ(v[23].y, -25.0f);
    EXPECT_EQ(v[23].z, -10.0f);
    EXPECT_EQ(v[23].tu, 1.0f);
    EXPECT_EQ(v[23].tv, 1.0f);
    // Each face lies in its own plane: top y+, bottom y-, back x-, front x+, left z+, right z-.
    const float planes[6] = {25, -25, -50, 50, 10, -10};
    for (int face = 0; face < 6; ++face) {
        for (int k = 0; k < 4; ++k) {
            const SkyVertex& vertex = v[4 * face + k];
            const float coordinate = face < 2 ? vertex.y : face < 4 ? vertex.x : vertex.z;
            EXPECT_EQ(coordinate, planes[face]) << "face " << face;
        }
    }
}

class SkyboxTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        ASSERT_TRUE(WriteMinimalGameData());
        CallLog::Get().ClearCalls();
    }
    void TearDown() override {
        sky.Release();
        RecordingDeviceTest::TearDown();
    }
    HRESULT Load() {
        return sky.Load(D3DXVECTOR3(500, 500, 500), "data/skybox_top.bmp", "data/skybox_bottom.bmp",
                        "data/skybox_left.bmp", "data/skybox_right.bmp", "data/skybox_front.bmp",
                        "data/skybox_back.bmp", device);
    }

    ScopedWorkingDirectory directory;
    Skybox sky;
};

TEST_F(SkyboxTest, RenderTranslatesToTheCameraAndDrawsSixStrips) {
    ASSERT_EQ(Load(), S_OK);
    CallLog::Get().ClearCalls();
    ASSERT_EQ(sky.Render(D3DXVECTOR3(10, 8, -3), device), S_OK);
    D3DMATRIX world;
    ASSERT_TRUE(LastTransformSet(D3DTS_WORLD, &world));
    D3DXMATRIX expected;
    D3DXMatrixTranslation(&expected, 10, 8, -3);
    EXPECT_EQ(D3DXMATRIX(world), expected);
    // Textures were made in face order: top, bottom, back, front, left, right.
    EXPECT_EQ(CallLog::Get().Texts(),
              (std::vector<std::string>{
                  "SetTransform(256, ptr)", "SetStreamSource(0, vertexbuffer#1, 24)",
                  "SetVertexShader(0x142)", "SetTexture(0, texture#1)", "DrawPrimitive(5, 0, 2)",
                  "SetTexture(0, texture#2)", "DrawPrimitive(5, 4, 2)", "SetTexture(0, texture#3)",
                  "DrawPrimitive(5, 8, 2)", "SetTexture(0, texture#4)", "DrawPrimitive(5, 12, 2)",
                  "SetTexture(0, texture#5)", "DrawPrimitive(5, 16, 2)", "SetTexture(0, texture#6)",
                  "DrawPrimitive(5, 20, 2)"}));
}

TEST_F(SkyboxTest, TheBackImageLoadsThirdAndItsAbsenceStopsTheLoad) {
    std::filesystem::remove("data/skybox_back.bmp");
    EXPECT_EQ(Load(), static_cast<HRESULT>(0x88760B59));
    // Top and bottom were made; front, left and right never opened.
    EXPECT_EQ(CallLog::Get().Count("CreateTexture"), 2);
}

TEST_F(SkyboxTest, LoadingAgainReplacesEverything) {
    ASSERT_EQ(Load(), S_OK);
    EXPECT_EQ(RecordingLiveObjects(), 2 + 7);
    ASSERT_EQ(Load(), S_OK);
    EXPECT_EQ(RecordingLiveObjects(), 2 + 7);
    EXPECT_EQ(sky.Release(), S_OK);
    EXPECT_EQ(RecordingLiveObjects(), 2);
    EXPECT_EQ(sky.Release(), S_OK);
}

TEST_F(SkyboxTest, AFailingDrawStopsTheRemainingFaces) {
    ASSERT_EQ(Load(), S_OK);
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("DrawPrimitive", 3, D3DERR_INVALIDCALL);
    EXPECT_EQ(sky.Render(D3DXVECTOR3(0, 0, 0), device), D3DERR_INVALIDCALL);
    EXPECT_EQ(CallLog::Get().Count("SetTexture"), 3);
}

}  // namespace
