#include "model/level_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/support/minimal_game_data.h"
#include "tests/support/recording_fixture.h"
#include "tests/support/scoped_working_directory.h"
#include "tests/support/world_triangles_file.h"

namespace {

content::Ms3dFileVertex FileVertex(float x, float y, float worldZ) {
    content::Ms3dFileVertex v;
    v.x = x;
    v.y = y;
    v.z = -worldZ;
    return v;
}

class LevelModelTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        ASSERT_TRUE(WriteSolidBitmap("data/grass.bmp", 10, 200, 10));
        CallLog::Get().ClearCalls();
    }
    void TearDown() override {
        level.Release();
        RecordingDeviceTest::TearDown();
    }
    HRESULT Load(const content::Ms3dFile& file) {
        EXPECT_TRUE(WriteMs3dFile("data/level.ms3d", file));
        return level.Load("level.ms3d", "data/", device);
    }
    const std::vector<BYTE>& BufferBytes(int group) const {
        return static_cast<RecordingVertexBuffer*>(level.Group(group).vertexBuffer)->Bytes();
    }
    std::vector<std::string> DrawCalls() const {
        return CallLog::Get().Texts(
            {"SetTexture", "SetMaterial", "SetStreamSource", "SetVertexShader", "DrawPrimitive"});
    }

    ScopedWorkingDirectory directory;
    LevelModel level;
};

TEST_F(LevelModelTest, EveryGroupBecomesARecordInFileOrder) {
    ASSERT_EQ(Load(MinimalLevel()), S_OK);
    ASSERT_EQ(level.GroupCount(), 3);
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(level.Group(g).triangleCount, 1);
        EXPECT_EQ(BufferBytes(g).size(), 96u);
        const auto* buffer = static_cast<RecordingVertexBuffer*>(level.Group(g).vertexBuffer);
        EXPECT_EQ(buffer->Pool(), D3DPOOL_MANAGED);
        EXPECT_EQ(buffer->Usage(), static_cast<DWORD>(D3DUSAGE_WRITEONLY));
        EXPECT_EQ(buffer->Fvf(), 0x112u);
    }
    // Groups 0 and 1 name the same image (1 with folders of both kinds), each with its own
    // texture object; group 2 names a file that is missing and stays untextured.
    EXPECT_NE(level.Group(0).texture, nullptr);
    EXPECT_NE(level.Group(1).texture, nullptr);
    EXPECT_NE(level.Group(0).texture, level.Group(1).texture);
    EXPECT_EQ(level.Group(2).texture, nullptr);
    EXPECT_EQ(CallLog::Get().Count("SetMaterial"), 3);
}

TEST_F(LevelModelTest, VerticesFollowTheTriangleIndexListAndCornerOrder) {
    content::Ms3dFile file;
    for (int i = 0; i < 18; ++i) {
        file.vertices.push_back(FileVertex(static_cast<float>(i), 0, 0));
    }
    for (int t = 0; t < 6; ++t) {
        content::Ms3dFileTriangle triangle;
        triangle.vertexIndices = {static_cast<uint16_t>(3 * t), static_cast<uint16_t>(3 * t + 1),
                                  static_cast<uint16_t>(3 * t + 2)};
        triangle.normals = {{{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}};
        triangle.s = {0.25f, 0.5f, 0.75f};
        triangle.t = {0.1f, 0.2f, 0.3f};
        file.triangles.push_back(triangle);
    }
    content::Ms3dFileGroup group;
    group.triangleIndices = {5, 2};
    group.materialIndex = 0;
    file.groups.push_back(group);
    file.materials.emplace_back();
    file.materials[0].textureName = "grass.bmp";
    ASSERT_EQ(Load(file), S_OK);

    ASSERT_EQ(BufferBytes(0).size(), 2u * 96u);
    LevelVertex vertices[6];
    std::memcpy(vertices, BufferBytes(0).data(), sizeof(vertices));
    const float expectedX[6] = {15, 16, 17, 6, 7, 8};
    for (int j = 0; j < 6; ++j) {
        EXPECT_EQ(vertices[j].x, expectedX[j]) << j;
    }
    // Corner 0's normal (0, 0, 1) in the file reads (0, 0, -1) in the world.
    EXPECT_EQ(vertices[0].nz, -1.0f);
    EXPECT_EQ(vertices[1].ny, 1.0f);
    EXPECT_EQ(vertices[2].tu, 0.75f);
    EXPECT_EQ(vertices[2].tv, 0.3f);
}

TEST_F(LevelModelTest, BoundsOfAOneTriangleGroup) {
    content::Ms3dFile file = Ms3dFileOfWorldTriangles({{{{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}}});
    file.groups[0].materialIndex = 0;
    file.materials.emplace_back();
    ASSERT_EQ(Load(file), S_OK);
    const LevelGroup& group = level.Group(0);
    EXPECT_EQ(group.box.center, D3DXVECTOR3(1, 1, 0));
    EXPECT_EQ(group.box.extent, D3DXVECTOR3(2, 2, 0));
    EXPECT_NEAR(group.sphere.center.x, 2.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(group.sphere.center.y, 2.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(group.sphere.radius, std::sqrt(20.0f) / 3.0f, 1e-5f);
    // The flat level groups of the minimal level have no height.
    ASSERT_EQ(Load(MinimalLevel()), S_OK);
    EXPECT_EQ(level.Group(0).box.extent.y, 0.0f);
    EXPECT_EQ(level.Group(0).box.center.y, 0.0f);
}

TEST_F(LevelModelTest, EmptyTextureNameOrMissingFileLeavesTheGroupUntextured) {
    content::Ms3dFile file = MinimalLevel();
    file.materials[0].textureName = "";
    ASSERT_EQ(Load(file), S_OK);
    EXPECT_EQ(level.Group(0).texture, nullptr);
    EXPECT_EQ(level.Group(2).texture, nullptr);
}

TEST_F(LevelModelTest, AMissingFileLeavesTheModelEmpty) {
    EXPECT_EQ(level.Load("level.ms3d", "data/", device), E_FAIL);
    EXPECT_EQ(level.GroupCount(), 0);
    Frustum frustum;
    EXPECT_EQ(level.Draw(frustum, false, false, device), S_OK);
    EXPECT_TRUE(CallLog::Get().Calls().empty());
}

TEST_F(LevelModelTest, GroupsWithoutMaterialOrTrianglesAreDrawnSafely) {
    content::Ms3dFile file = MinimalLevel();
    file.groups[0].materialIndex = -1;
    file.groups[1].triangleIndices.clear();
    ASSERT_EQ(Load(file), S_OK);
    // No material: plain white, untextured. No triangles: no buffer, nothing drawn.
    EXPECT_EQ(level.Group(0).material.Diffuse.r, 1.0f);
    EXPECT_EQ(level.Group(0).texture, nullptr);
    EXPECT_EQ(level.Group(1).vertexBuffer, nullptr);
    EXPECT_EQ(CallLog::Get().Count("CreateVertexBuffer"), 2);

    CallLog::Get().ClearCalls();
    Frustum frustum;
    ASSERT_EQ(level.Draw(frustum, false, false, device), S_OK);
    EXPECT_EQ(DrawCalls(), (std::vector<std::string>{
                               "SetTexture(0, null)", "SetMaterial(ptr)",
                               "SetStreamSource(0, vertexbuffer#1, 32)", "SetVertexShader(0x112)",
                               "DrawPrimitive(4, 0, 1)", "SetTexture(0, null)", "SetMaterial(ptr)",
                               "SetStreamSource(0, vertexbuffer#2, 32)", "SetVertexShader(0x112)",
                               "DrawPrimitive(4, 0, 1)"}));
}

TEST_F(LevelModelTest, ADeviceFailureEndsTheLoadKeepingTheRecordsMadeSoFar) {
    CallLog::Get().FailNth("Lock", 2, D3DERR_INVALIDCALL);
    EXPECT_EQ(Load(MinimalLevel()), D3DERR_INVALIDCALL);
    EXPECT_EQ(level.GroupCount(), 3);
    EXPECT_NE(level.Group(0).vertexBuffer, nullptr);
    EXPECT_NE(level.Group(1).vertexBuffer, nullptr);  // created, then its lock failed
    EXPECT_EQ(level.Group(2).vertexBuffer, nullptr);

    CallLog::Get().FailNth("CreateVertexBuffer", 1, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(Load(MinimalLevel()), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(level.Group(0).vertexBuffer, nullptr);
}

class LevelDrawTest : public LevelModelTest {
protected:
    void SetUp() override {
        LevelModelTest::SetUp();
        // Five groups of one triangle each, at x = 0, 100, ..., 400.
        content::Ms3dFile file;
        for (int g = 0; g < 5; ++g) {
            const float x = 100.0f * static_cast<float>(g);
            const content::Ms3dFile one =
                Ms3dFileOfWorldTriangles({{{{x, 0, 10}, {x + 1, 0, 10}, {x, 1, 10}}}});
            const uint16_t first = static_cast<uint16_t>(file.vertices.size());
            for (const auto& v : one.vertices) {
                file.vertices.push_back(v);
            }
            content::Ms3dFileTriangle triangle = one.triangles[0];
            for (auto& index : triangle.vertexIndices) {
                index = static_cast<uint16_t>(index + first);
            }
            content::Ms3dFileGroup group;
            group.triangleIndices = {static_cast<uint16_t>(file.triangles.size())};
            group.materialIndex = 0;
            file.triangles.push_back(triangle);
            file.groups.push_back(group);
        }
        file.materials.emplace_back();
        file.materials[0].textureName = "grass.bmp";
        ASSERT_EQ(Load(file), S_OK);
        CallLog::Get().ClearCalls();
    }
};

TEST_F(LevelDrawTest, WithoutTestsEveryGroupIsDrawn) {
    Frustum unbuilt;  // would reject every box
    ASSERT_EQ(level.Draw(unbuilt, false, false, device), S_OK);
    EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), 5);
    EXPECT_EQ(DrawCalls()[0], "SetTexture(0, texture#1)");
}

TEST_F(LevelDrawTest, BoxCullingSkipsGroupsOutsideTheView) {
    // Looking along +z from the origin: only the groups at x = 0 (and not 100 and beyond, more
    // than the view's width away at z = 10) can be seen.
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveLH(&projection, 1024.0f / 768.0f, 1.0f, 1.0f, 10000.0f);
    Frustum frustum;
    frustum.Build(projection);
    ASSERT_EQ(level.Draw(frustum, true, false, device), S_OK);
    EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), 1);
    CallLog::Get().ClearCalls();
    ASSERT_EQ(level.Draw(frustum, true, true, device), S_OK);
    EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), 1);
    CallLog::Get().ClearCalls();
    // Built for a camera 200 units to the right, group 2 is in view and group 0 is not.
    D3DXMATRIX view;
    D3DXMatrixTranslation(&view, -200, 0, 0);
    frustum.Build(view * projection);
    ASSERT_EQ(level.Draw(frustum, false, true, device), S_OK);
    EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), 1);
}

TEST_F(LevelDrawTest, AFailureStopsTheDrawForThisFrame) {
    CallLog::Get().FailNth("SetMaterial", 4, E_FAIL);  // group 3's
    Frustum frustum;
    EXPECT_EQ(level.Draw(frustum, false, false, device), E_FAIL);
    EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), 3);
    CallLog::Get().ClearCalls();
    EXPECT_EQ(level.Draw(frustum, false, false, device), S_OK);
    EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), 5);
}

TEST_F(LevelDrawTest, ReleaseGivesUpEverythingAndIsSafeTwice) {
    EXPECT_EQ(level.Release(), S_OK);
    EXPECT_EQ(level.GroupCount(), 0);
    EXPECT_EQ(RecordingLiveObjects(), 2);  // only the Direct3D object and the device
    EXPECT_EQ(level.Release(), S_OK);
}

}  // namespace
