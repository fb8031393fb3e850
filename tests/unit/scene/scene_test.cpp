#include "scene/scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "particles/random_sequence.h"
#include "tests/support/minimal_game_data.h"
#include "tests/support/recording_fixture.h"
#include "tests/support/scoped_working_directory.h"

namespace {

class SceneTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        ASSERT_TRUE(WriteMinimalGameData());
        CallLog::Get().ClearCalls();
        // Far above the world looking along +z: no tree and no level group in view.
        camera.Setup(1024, 768, D3DXVECTOR3(0, 5000, -9000), D3DXVECTOR3(0, 0, 0));
    }
    void TearDown() override {
        scene.Release();
        RecordingDeviceTest::TearDown();
    }
    // Lock calls on the spray's buffer, the tenth made (three leaf emitters, the trees, the sky,
    // three level groups, the sea, then the spray).
    int SprayUpdates() const {
        const std::vector<std::string> locks = CallLog::Get().Texts({"Lock"});
        return static_cast<int>(
            std::count(locks.begin(), locks.end(), "Lock(vertexbuffer#10, 0, 0, 0x2000)"));
    }

    ScopedWorkingDirectory directory;
    Camera camera;
    Scene scene;
};

TEST_F(SceneTest, ANormalFrameSetsItsStatesInOrder) {
    ASSERT_EQ(scene.Load(device), S_OK);
    CallLog::Get().ClearCalls();
    ASSERT_EQ(scene.UpdateAndRender(device, camera), S_OK);
    // The scene's own 11 stage states, with the sea's four between them.
    EXPECT_EQ(CallLog::Get().Texts({"SetTextureStageState"}),
              (std::vector<std::string>{
                  "SetTextureStageState(0, 17, 2)", "SetTextureStageState(0, 16, 2)",
                  "SetTextureStageState(0, 13, 1)", "SetTextureStageState(0, 14, 1)",
                  "SetTextureStageState(0, 24, 2)", "SetTextureStageState(0, 24, 0)",
                  "SetTextureStageState(0, 17, 1)", "SetTextureStageState(0, 16, 1)",
                  "SetTextureStageState(0, 17, 2)", "SetTextureStageState(0, 16, 2)",
                  "SetTextureStageState(0, 1, 7)", "SetTextureStageState(0, 4, 4)",
                  "SetTextureStageState(1, 1, 1)", "SetTextureStageState(1, 4, 1)",
                  "SetTextureStageState(0, 1, 4)"}));
    // The scene's own 7 render states come after the sea's six and the trees' three.
    const std::vector<std::string> states = CallLog::Get().Texts({"SetRenderState"});
    ASSERT_EQ(states.size(), 16u);
    EXPECT_EQ(std::vector<std::string>(states.begin() + 9, states.end()),
              (std::vector<std::string>{"SetRenderState(27, 1)", "SetRenderState(14, 0)",
                                        "SetRenderState(14, 0)", "SetRenderState(19, 2)",
                                        "SetRenderState(20, 2)", "SetRenderState(14, 1)",
                                        "SetRenderState(27, 0)"}));
    // One world transform of its own, then the sea's texture matrix, the sky's and the spray's.
    EXPECT_EQ(CallLog::Get().Texts({"SetTransform"}),
              (std::vector<std::string>{"SetTransform(256, ptr)", "SetTransform(16, ptr)",
                                        "SetTransform(256, ptr)", "SetTransform(256, ptr)"}));
    // The spray draws last, with the particle texture, its 2000 triangles.
    const std::vector<std::string> draws = CallLog::Get().Texts({"SetTexture", "DrawPrimitive"});
    EXPECT_EQ(draws[draws.size() - 2], "SetTexture(0, texture#13)");
    EXPECT_EQ(draws.back(), "DrawPrimitive(4, 0, 2000)");
}

TEST_F(SceneTest, AMissingLevelIsReportedOnceAndTheLoadGoesOn) {
    std::filesystem::remove("data/level.ms3d");
    EXPECT_EQ(scene.Load(device), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"MessageBoxA"}),
              (std::vector<std::string>{"MessageBoxA(null, hi, hi, 0)"}));
    EXPECT_EQ(scene.Level().GroupCount(), 0);
    EXPECT_NE(scene.Spray().Particles(), nullptr);
    // Water, sand and the particle image were still loaded after the sky and the sprites.
    EXPECT_EQ(CallLog::Get().Count("CreateTexture"), 2 + 6 + 2 + 1);
}

TEST_F(SceneTest, AMissingParticleImageFailsTheLoadBeforeTheWarmUp) {
    std::filesystem::remove("data/particle.bmp");
    EXPECT_EQ(scene.Load(device), static_cast<HRESULT>(0x88760B59));
    EXPECT_EQ(SprayUpdates(), 0);
    EXPECT_EQ(CallLog::Get().Count("MessageBoxA"), 0);
}

TEST_F(SceneTest, TheSprayIsWarmedUpWithFiveHundredUpdates) {
    ASSERT_EQ(scene.Load(device), S_OK);
    EXPECT_EQ(SprayUpdates(), 500);
    ASSERT_EQ(scene.UpdateAndRender(device, camera), S_OK);
    EXPECT_EQ(SprayUpdates(), 501);
}

// Where every particle stands, to tell whether anything moved.
std::vector<float> ParticleState(const ParticleSystem& emitter) {
    std::vector<float> state;
    for (int32_t i = 0; i < emitter.Settings().count; ++i) {
        const Particle& p = emitter.Particles()[i];
        state.insert(state.end(),
                     {p.position.x, p.position.y, p.position.z, p.velocity.x, p.velocity.y,
                      p.velocity.z, static_cast<float>(p.life), static_cast<float>(p.alive)});
    }
    return state;
}

TEST_F(SceneTest, PrimingDrawsEveryGroupAndTheTreesInViewAndMovesNothing) {
    ASSERT_EQ(scene.Load(device), S_OK);
    // At the start point looking north: the first tree is in view, no level group is.
    camera.Setup(1024, 768, D3DXVECTOR3(0, 5, 0), D3DXVECTOR3(0, 0, 0));
    std::vector<std::vector<float>> before = {ParticleState(scene.Spray())};
    for (int32_t i = 0; i < scene.Trees().TreeCount(); ++i) {
        before.push_back(ParticleState(scene.Trees().Tree(i).leaves));
    }
    CallLog::Get().ClearCalls();

    ASSERT_EQ(scene.Prime(device, camera), S_OK);
    EXPECT_EQ(CallLog::Get().Count("SetMaterial"), scene.Level().GroupCount());
    EXPECT_TRUE(scene.Trees().Tree(0).visible);
    EXPECT_EQ(SprayUpdates(), 0);
    EXPECT_EQ(CallLog::Get().Count("Present"), 0);
    std::vector<std::vector<float>> after = {ParticleState(scene.Spray())};
    for (int32_t i = 0; i < scene.Trees().TreeCount(); ++i) {
        after.push_back(ParticleState(scene.Trees().Tree(i).leaves));
    }
    EXPECT_EQ(after, before);
    // The spray is drawn as it stands, last, with the frame's blending.
    EXPECT_EQ(CallLog::Get().Texts({"DrawPrimitive"}).back(), "DrawPrimitive(4, 0, 2000)");
}

TEST_F(SceneTest, TheFirstParticleOfTheRunIsTheFirstTreesFirstLeaf) {
    RandomSequence::Shared().Restart();
    ASSERT_EQ(scene.Load(device), S_OK);
    // Trees load before the spray, so their emitters draw the first numbers.
    EXPECT_FLOAT_EQ(scene.Trees().Tree(0).leaves.Particles()[0].velocity.x,
                    -0.1f + 0.2f * (41.0f / 32767.0f));
}

TEST_F(SceneTest, AFailingDrawEndsTheFrameThere) {
    ASSERT_EQ(scene.Load(device), S_OK);
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("Lock", 2, D3DERR_INVALIDCALL);  // the spray's update
    EXPECT_EQ(scene.UpdateAndRender(device, camera), D3DERR_INVALIDCALL);
    // Blending stays on and nothing of the spray is drawn.
    EXPECT_EQ(Recording()->RenderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(TRUE));
    EXPECT_NE(CallLog::Get().Texts({"DrawPrimitive"}).back(), "DrawPrimitive(4, 0, 2000)");
    // The next frame starts again from the beginning.
    CallLog::Get().ClearCalls();
    EXPECT_EQ(scene.UpdateAndRender(device, camera), S_OK);
}

TEST_F(SceneTest, ReleaseTwiceGivesUpEverythingOnce) {
    ASSERT_EQ(scene.Load(device), S_OK);
    EXPECT_EQ(scene.Release(), S_OK);
    EXPECT_EQ(RecordingLiveObjects(), 2);
    CallLog::Get().ClearCalls();
    EXPECT_EQ(scene.Release(), S_OK);
    EXPECT_TRUE(CallLog::Get().Calls().empty());
}

}  // namespace
