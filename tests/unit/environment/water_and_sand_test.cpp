#include "environment/water_and_sand.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "platform/posix/system_clock.h"
#include "render/color_vertex.h"
#include "tests/support/minimal_game_data.h"
#include "tests/support/recording_fixture.h"
#include "tests/support/scoped_working_directory.h"

namespace {

D3DXVECTOR3 TurnTextureCoordinate(const D3DXMATRIX& m, float u, float v) {
    // Two-coordinate texture transform: (u, v, 1, 0) times the matrix.
    return D3DXVECTOR3(u * m.m[0][0] + v * m.m[1][0] + m.m[2][0],
                       u * m.m[0][1] + v * m.m[1][1] + m.m[2][1], 0);
}

TEST(WaterMatrixTest, TheAngleComesFromTheWholeClock) {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_EQ(WaterAndSand::TextureMatrixAt(0), identity);

    // 15708 ms: a quarter turn, (u, v) to about (-v, u).
    const D3DXVECTOR3 quarter = TurnTextureCoordinate(WaterAndSand::TextureMatrixAt(15708), 1, 0);
    EXPECT_NEAR(quarter.x, 0.0f, 1e-4f);
    EXPECT_NEAR(quarter.y, 1.0f, 1e-4f);
    const D3DXVECTOR3 other = TurnTextureCoordinate(WaterAndSand::TextureMatrixAt(15708), 0, 1);
    EXPECT_NEAR(other.x, -1.0f, 1e-4f);

    // A full turn after 62832 ms; the same reading always gives the same matrix.
    const D3DXVECTOR3 full = TurnTextureCoordinate(WaterAndSand::TextureMatrixAt(62832), 3, 2);
    EXPECT_NEAR(full.x, 3.0f, 1e-3f);
    EXPECT_NEAR(full.y, 2.0f, 1e-3f);
    EXPECT_EQ(WaterAndSand::TextureMatrixAt(123456), WaterAndSand::TextureMatrixAt(123456));
    // The largest reading converts as unsigned, not as a negative number.
    const D3DXMATRIX late = WaterAndSand::TextureMatrixAt(0xFFFFFFFFu);
    const float angle = static_cast<float>(4294967295.0 / 10000.0);
    EXPECT_FLOAT_EQ(late.m[0][0], std::cos(angle));
}

class WaterAndSandTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        ASSERT_TRUE(WriteMinimalGameData());
        CallLog::Get().ClearCalls();
        FixSystemClock(15708);
    }
    void TearDown() override {
        ReleaseSystemClock();
        sea.Release();
        RecordingDeviceTest::TearDown();
    }

    ScopedWorkingDirectory directory;
    WaterAndSand sea;
};

TEST_F(WaterAndSandTest, TwoSquaresOfTheSea) {
    ASSERT_EQ(sea.Load(device), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"CreateVertexBuffer"}),
              (std::vector<std::string>{"CreateVertexBuffer(288, 0x8, 0x152, 0)"}));
    ASSERT_EQ(sea.Render(device), S_OK);
    const auto* buffer = static_cast<RecordingVertexBuffer*>(Recording()->BoundStream());
    ColorVertex v[8];
    std::memcpy(v, buffer->Bytes().data(), sizeof(v));
    EXPECT_EQ(v[0].y, -4.9f);
    EXPECT_EQ(v[3].x, 500.0f);
    EXPECT_EQ(v[3].tu, 3.0f);
    EXPECT_EQ(v[4].y, -2.0f);
    EXPECT_EQ(v[7].tv, 15.0f);
    EXPECT_EQ(v[6].z, 500.0f);
    for (const ColorVertex& vertex : v) {
        EXPECT_EQ(vertex.ny, 1.0f);
        EXPECT_EQ(vertex.diffuse, 0xFFFFFFFFu);
    }
}

TEST_F(WaterAndSandTest, RenderBlendsTheWaterAndLeavesBlendingOff) {
    ASSERT_EQ(sea.Load(device), S_OK);
    CallLog::Get().ClearCalls();
    ASSERT_EQ(sea.Render(device), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"SetTextureStageState", "SetRenderState", "DrawPrimitive",
                                    "SetTexture", "SetTransform"}),
              (std::vector<std::string>{
                  "SetTextureStageState(0, 13, 1)", "SetTextureStageState(0, 14, 1)",
                  "SetTexture(0, texture#2)", "DrawPrimitive(5, 0, 2)", "SetRenderState(27, 1)",
                  "SetRenderState(14, 0)", "SetRenderState(19, 3)", "SetRenderState(20, 3)",
                  "SetTransform(16, ptr)", "SetTextureStageState(0, 24, 2)",
                  "SetTexture(0, texture#1)", "DrawPrimitive(5, 4, 2)", "SetRenderState(14, 1)",
                  "SetRenderState(27, 0)", "SetTextureStageState(0, 24, 0)"}));
    D3DMATRIX matrix;
    ASSERT_TRUE(LastTransformSet(D3DTS_TEXTURE0, &matrix));
    EXPECT_EQ(D3DXMATRIX(matrix), WaterAndSand::TextureMatrixAt(15708));
}

TEST_F(WaterAndSandTest, AFailureLeavesTheStatesSetSoFar) {
    ASSERT_EQ(sea.Load(device), S_OK);
    CallLog::Get().FailNth("SetTexture", 2, E_FAIL);  // the water's
    EXPECT_EQ(sea.Render(device), E_FAIL);
    EXPECT_EQ(Recording()->RenderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(TRUE));
    EXPECT_EQ(Recording()->RenderState(D3DRS_ZWRITEENABLE), static_cast<DWORD>(FALSE));
    EXPECT_EQ(Recording()->TextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS),
              static_cast<DWORD>(D3DTTFF_COUNT2));
}

TEST_F(WaterAndSandTest, AMissingImageFailsTheLoad) {
    std::filesystem::remove("data/water.bmp");
    EXPECT_EQ(sea.Load(device), static_cast<HRESULT>(0x88760B59));
    EXPECT_EQ(sea.Release(), S_OK);
    EXPECT_EQ(sea.Release(), S_OK);
}

}  // namespace
