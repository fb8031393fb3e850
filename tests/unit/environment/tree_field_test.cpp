#include "environment/tree_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "tests/support/minimal_game_data.h"
#include "tests/support/recording_fixture.h"
#include "tests/support/scoped_working_directory.h"
#include "tests/support/world_triangles_file.h"

namespace {

const float kPi = 3.14159265f;

class TreeFieldTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        ASSERT_TRUE(WriteMinimalGameData());
        CallLog::Get().ClearCalls();
    }
    void TearDown() override {
        trees.Release();
        RecordingDeviceTest::TearDown();
    }
    // A frustum looking from `eye` along +z (or along +x when `alongX`).
    static Frustum ViewFrom(D3DXVECTOR3 eye, float yaw = 0.0f) {
        D3DXMATRIX translation;
        D3DXMatrixTranslation(&translation, -eye.x, -eye.y, -eye.z);
        D3DXMATRIX turn;
        D3DXMatrixRotationY(&turn, -yaw);
        D3DXMATRIX projection;
        D3DXMatrixPerspectiveLH(&projection, 1024.0f / 768.0f, 1.0f, 1.0f, 10000.0f);
        Frustum frustum;
        frustum.Build(translation * turn * projection);
        return frustum;
    }
    // The trees' shared buffer, made after the three leaf emitters' buffers.
    std::vector<ColorVertex> DrawnVertices(UINT triangles) const {
        const auto* buffer = dynamic_cast<const RecordingVertexBuffer*>(
            static_cast<const RecordingObject*>(ObjectNamed("vertexbuffer#4")));
        EXPECT_NE(buffer, nullptr);
        if (buffer == nullptr) {
            return {};
        }
        std::vector<ColorVertex> vertices(triangles * 3);
        std::memcpy(vertices.data(), buffer->Bytes().data(), vertices.size() * sizeof(ColorVertex));
        return vertices;
    }

    ScopedWorkingDirectory directory;
    TreeField trees;
};

void ExpectPosition(const ColorVertex& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-4f);
    EXPECT_NEAR(v.y, y, 1e-4f);
    EXPECT_NEAR(v.z, z, 1e-4f);
}

TEST_F(TreeFieldTest, EveryPointButTheLastPlantsATree) {
    ASSERT_EQ(trees.Load(device), S_OK);
    ASSERT_EQ(trees.TreeCount(), 3);
    EXPECT_EQ(trees.Tree(0).position, D3DXVECTOR3(10, -2, 30));
    EXPECT_EQ(trees.Tree(2).position, D3DXVECTOR3(0, -2, -400));
    // Leaves first, then the tree image, then the shared buffer: three 36-byte vertices a tree.
    EXPECT_EQ(CallLog::Get().Texts({"CreateTexture", "CreateVertexBuffer"}).back(),
              "CreateVertexBuffer(324, 0x208, 0x152, 0)");
    EXPECT_EQ(CallLog::Get().Count("CreateVertexBuffer"), 4);  // three emitters and the trees
}

TEST_F(TreeFieldTest, ATreeSeenStraightOnAndItsLeaves) {
    ASSERT_EQ(trees.Load(device), S_OK);
    CallLog::Get().ClearCalls();
    ASSERT_EQ(trees.Render(D3DXVECTOR3(0, 0, 0), ViewFrom(D3DXVECTOR3(10, 5, 0)), device), S_OK);
    // Only the tree at (10, -2, 30) is in front of a camera at (10, 5, 0) looking along +z.
    EXPECT_EQ(CallLog::Get().Texts({"DrawPrimitive"}).front(), "DrawPrimitive(4, 0, 1)");
    const std::vector<ColorVertex> v = DrawnVertices(1);
    ExpectPosition(v[0], 0, 16, 30);
    ExpectPosition(v[1], 20, 16, 30);
    ExpectPosition(v[2], 20, -4, 30);
    EXPECT_EQ(v[0].nz, -1.0f);
    EXPECT_EQ(v[2].tu, 1.0f);
    EXPECT_EQ(v[2].tv, 1.0f);
    // The leaf emitter draws translated to 16 above the foot.
    D3DMATRIX world;
    ASSERT_TRUE(LastTransformSet(D3DTS_WORLD, &world));
    EXPECT_EQ(world.m[3][0], 10.0f);
    EXPECT_EQ(world.m[3][1], 14.0f);
    EXPECT_EQ(world.m[3][2], 30.0f);
    EXPECT_EQ(CallLog::Get().Texts({"SetTexture"}),
              (std::vector<std::string>{"SetTexture(0, texture#2)", "SetTexture(0, texture#1)"}));
    // The alpha test stays on for what follows.
    EXPECT_EQ(Recording()->RenderState(D3DRS_ALPHATESTENABLE), static_cast<DWORD>(TRUE));
    EXPECT_EQ(Recording()->RenderState(D3DRS_ALPHAREF), 0u);
    EXPECT_EQ(Recording()->RenderState(D3DRS_ALPHAFUNC), static_cast<DWORD>(D3DCMP_GREATER));
}

TEST_F(TreeFieldTest, LookingAlongXTheTriangleTurnsToFaceTheCamera) {
    ASSERT_EQ(trees.Load(device), S_OK);
    ASSERT_EQ(trees.Render(D3DXVECTOR3(0, kPi / 2, 0), ViewFrom(D3DXVECTOR3(-20, 5, 30), kPi / 2),
                           device),
              S_OK);
    const std::vector<ColorVertex> v = DrawnVertices(1);
    // Relative to the triangle's centre (10, 6, 30).
    ExpectPosition(v[0], 10, 16, 40);
    ExpectPosition(v[1], 10, 16, 20);
    ExpectPosition(v[2], 10, -4, 20);
    EXPECT_NEAR(v[0].nx, -1.0f, 1e-6f);
    EXPECT_NEAR(v[0].nz, 0.0f, 1e-6f);
}

TEST_F(TreeFieldTest, TheCullingSphereHasARadiusOfTen) {
    // One tree whose foot lies 9 units left of the left plane, then 11.
    for (float outside : {9.0f, 11.0f}) {
        content::Ms3dFile points = MinimalTrees();
        // The left plane of a camera at the origin looking along +z passes through the origin
        // with normal (0.83205, 0, 0.5547); step out along the negated normal from (0, 0, 100).
        const D3DXVECTOR3 onPlane(-100.0f * 0.5547f / 0.83205f, 0, 100);
        const D3DXVECTOR3 foot = onPlane - D3DXVECTOR3(0.83205f, 0, 0.5547f) * outside;
        points.vertices.resize(2);
        points.vertices[0].x = foot.x;
        points.vertices[0].y = foot.y;
        points.vertices[0].z = -foot.z;
        ASSERT_TRUE(WriteMs3dFile("data/trees.ms3d", points));
        ASSERT_EQ(trees.Load(device), S_OK);
        ASSERT_EQ(trees.TreeCount(), 1);
        CallLog::Get().ClearCalls();
        ASSERT_EQ(trees.Render(D3DXVECTOR3(0, 0, 0), ViewFrom(D3DXVECTOR3(0, 0, 0)), device), S_OK);
        EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), outside < 10.0f ? 2 : 0) << outside;
    }
}

TEST_F(TreeFieldTest, TwoVisibleTreesOfThreeShareOneDraw) {
    content::Ms3dFile points = MinimalTrees();
    points.vertices[1].x = -10;  // (-10, -2, 30): in view beside tree 0
    points.vertices[1].z = -30;
    ASSERT_TRUE(WriteMs3dFile("data/trees.ms3d", points));
    ASSERT_EQ(trees.Load(device), S_OK);
    ASSERT_EQ(trees.Render(D3DXVECTOR3(0, 0, 0), ViewFrom(D3DXVECTOR3(0, 5, 0)), device), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"DrawPrimitive"}).front(), "DrawPrimitive(4, 0, 2)");
    const std::vector<ColorVertex> v = DrawnVertices(2);
    ExpectPosition(v[0], 0, 16, 30);    // tree 0 first
    ExpectPosition(v[3], -20, 16, 30);  // then tree 1
    EXPECT_EQ(trees.Tree(2).visible, 0);
}

TEST_F(TreeFieldTest, LeavesStayFrozenWhileTheirTreeIsOutOfView) {
    ASSERT_EQ(trees.Load(device), S_OK);
    const Frustum seeing = ViewFrom(D3DXVECTOR3(10, 5, 0));
    const Frustum away = ViewFrom(D3DXVECTOR3(10, 5, 0), kPi);
    ASSERT_EQ(trees.Render(D3DXVECTOR3(0, 0, 0), seeing, device), S_OK);
    const Particle before = trees.Tree(0).leaves.Particles()[7];
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(trees.Render(D3DXVECTOR3(0, kPi, 0), away, device), S_OK);
    }
    const Particle after = trees.Tree(0).leaves.Particles()[7];
    EXPECT_EQ(after.position, before.position);
    EXPECT_EQ(after.life, before.life);
    ASSERT_EQ(trees.Render(D3DXVECTOR3(0, 0, 0), seeing, device), S_OK);
    EXPECT_EQ(trees.Tree(0).leaves.Particles()[7].life, before.life - 1);
}

TEST_F(TreeFieldTest, WithNoTreeInViewNothingIsBoundOrDrawn) {
    ASSERT_EQ(trees.Load(device), S_OK);
    CallLog::Get().ClearCalls();
    ASSERT_EQ(trees.Render(D3DXVECTOR3(0, 0, 0), ViewFrom(D3DXVECTOR3(0, 5000, 0)), device), S_OK);
    EXPECT_EQ(CallLog::Get().Texts(),
              (std::vector<std::string>{
                  "SetRenderState(24, 0)", "SetRenderState(15, 1)", "SetRenderState(25, 5)",
                  "Lock(vertexbuffer#4, 0, 0, 0x2000)", "Unlock(vertexbuffer#4)"}));
}

TEST_F(TreeFieldTest, LoadFailures) {
    std::filesystem::remove("data/leaftexture.bmp");
    EXPECT_EQ(trees.Load(device), static_cast<HRESULT>(0x88760B59));
    EXPECT_EQ(CallLog::Get().Count("CreateTexture"), 0);  // the tree image was never opened

    std::filesystem::remove("data/trees.ms3d");
    EXPECT_EQ(trees.Load(device), E_FAIL);
    EXPECT_EQ(trees.TreeCount(), 0);
}

TEST_F(TreeFieldTest, APointModelTooSmallPlantsNothingAndNeedsNoBuffer) {
    content::Ms3dFile points = MinimalTrees();
    points.vertices.resize(1);
    ASSERT_TRUE(WriteMs3dFile("data/trees.ms3d", points));
    ASSERT_EQ(trees.Load(device), S_OK);
    EXPECT_EQ(trees.TreeCount(), 0);
    EXPECT_EQ(CallLog::Get().Count("CreateVertexBuffer"), 0);
    EXPECT_EQ(trees.Render(D3DXVECTOR3(0, 0, 0), ViewFrom(D3DXVECTOR3(0, 0, 0)), device), S_OK);
    EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), 0);
}

}  // namespace
