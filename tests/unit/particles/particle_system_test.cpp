#include "particles/particle_system.h"

#include <gtest/gtest.h>

#include "particles/random_sequence.h"
#include "render/color_vertex.h"
#include "scene/scene.h"
#include "tests/support/recording_device.h"

namespace {

ParticleSystemSettings SpraySettings() {
    return Scene::SpraySettings();
}

class ParticleSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog::Get().Reset();
        RandomSequence::Shared().Restart();
        d3d = new RecordingDirect3D();
        D3DPRESENT_PARAMETERS parameters{};
        d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &device);
        CallLog::Get().ClearCalls();
    }
    void TearDown() override {
        system.Release();
        device->Release();
        d3d->Release();
        EXPECT_EQ(RecordingLiveObjects(), 0);
    }

    // The vertices of particle i as last written.
    const ColorVertex* VerticesOf(int i) {
        auto* buffer =
            static_cast<RecordingVertexBuffer*>(RecordingDevice::Latest()->BoundStream());
        if (buffer == nullptr) {
            return nullptr;
        }
        return reinterpret_cast<const ColorVertex*>(buffer->Bytes().data()) + 3 * i;
    }

    RecordingDirect3D* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
    ParticleSystem system;
};

TEST(RandomSequenceTest, StartsFromSeedOne) {
    RandomSequence sequence;
    EXPECT_EQ(sequence.Next(), 41);
    EXPECT_EQ(sequence.Next(), 18467);
    EXPECT_EQ(sequence.Next(), 6334);
    sequence.Restart();
    EXPECT_EQ(sequence.Next(), 41);
}

TEST(RandomSequenceTest, RangeMeasuresItsSpanFromLow) {
    RandomSequence sequence;
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(sequence.Range(1.5f, 1.5f), 1.5f);
        const float reversed = sequence.Range(2.0f, 1.0f);
        EXPECT_GE(reversed, 2.0f);
        EXPECT_LE(reversed, 3.0f);
    }
}

TEST_F(ParticleSystemTest, CreateEmitsEveryParticleFromTheSharedSequence) {
    ParticleSystemSettings leaves = SpraySettings();
    leaves.velocity = D3DXVECTOR3(0, 0, 0);
    leaves.velocitySpread = D3DXVECTOR3(0.1f, 0.1f, 0.1f);
    ASSERT_EQ(system.Create(leaves, device), S_OK);
    EXPECT_EQ(CallLog::Get().Texts(),
              (std::vector<std::string>{"CreateVertexBuffer(216000, 0x208, 0x152, 0)"}));
    const Particle& first = system.Particles()[0];
    EXPECT_FLOAT_EQ(first.velocity.x, -0.1f + 0.2f * (41.0f / 32767.0f));
    EXPECT_EQ(first.alive, 1);
    EXPECT_EQ(first.color, 0xFF1A0000u);  // a red of 0.1 rounds to 26 at birth
    // The eighth draw is the birth z.
    RandomSequence check;
    for (int i = 0; i < 7; ++i) {
        check.Next();
    }
    EXPECT_FLOAT_EQ(first.position.z, 5.0f + 10.0f * (static_cast<float>(check.Next()) / 32767.0f));
}

TEST_F(ParticleSystemTest, UpdateAndRenderBeforeCreateTouchNoDevice) {
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    EXPECT_EQ(system.Update(), E_FAIL);
    EXPECT_EQ(system.Render(device, world), E_FAIL);
    EXPECT_TRUE(CallLog::Get().Calls().empty());
}

TEST_F(ParticleSystemTest, TheRampTruncatesWhereBirthRounds) {
    ParticleSystemSettings spray = SpraySettings();
    spray.count = 1;
    spray.lifeSpread = 0;  // every particle lives exactly 100 updates
    ASSERT_EQ(system.Create(spray, device), S_OK);
    ASSERT_EQ(system.Update(), S_OK);
    // After one update t = 0.01: red 0.104 truncates to 26, green 0.002 to 0.
    EXPECT_EQ(system.Particles()[0].color, 0xFF1A0000u);
    for (int i = 1; i < 100; ++i) {
        ASSERT_EQ(system.Update(), S_OK);
    }
    EXPECT_EQ(system.Particles()[0].life, 0);
    EXPECT_EQ(system.Particles()[0].color, 0xFF7F3300u);  // t = 1

    // Particles that still have at least the mean life left sit at t = 0, where the updated
    // colour truncates red 0.1 to 25.
    ParticleSystem spread;
    ASSERT_EQ(spread.Create(SpraySettings(), device), S_OK);
    ASSERT_EQ(spread.Update(), S_OK);
    int atStart = 0;
    for (int i = 0; i < 2000; ++i) {
        const Particle& p = spread.Particles()[i];
        if (p.life >= 100) {
            EXPECT_EQ(p.color, 0xFF190000u);
            ++atStart;
        }
    }
    EXPECT_GT(atStart, 100);
}

TEST_F(ParticleSystemTest, AParticleIsDrawnOnLifePlusOneUpdatesThenHiddenThenReborn) {
    ParticleSystemSettings spray = SpraySettings();
    spray.count = 1;
    spray.lifeSpread = 0;
    spray.life = 3;
    ASSERT_EQ(system.Create(spray, device), S_OK);
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    ASSERT_EQ(system.Render(device, world), S_OK);  // binds the buffer for inspection

    std::vector<bool> drawn;
    for (int update = 0; update < 9; ++update) {
        ASSERT_EQ(system.Update(), S_OK);
        const ColorVertex* v = VerticesOf(0);
        drawn.push_back(!(v[0].x == 0 && v[2].x == 0 && v[2].diffuse == 0));
    }
    // Born at Create with life 3: drawn after updates 1-3 (lives 2, 1, 0), hidden on the update
    // that takes life below 0, reborn on the next (its birth update is drawn), and so on.
    EXPECT_EQ(drawn, (std::vector<bool>{true, true, true, false, true, true, true, true, false}));
}

TEST_F(ParticleSystemTest, QuadCornersAndRenderCalls) {
    ParticleSystemSettings spray = SpraySettings();
    spray.count = 2;
    ASSERT_EQ(system.Create(spray, device), S_OK);
    ASSERT_EQ(system.Update(), S_OK);
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, 1, 2, 3);
    CallLog::Get().ClearCalls();
    ASSERT_EQ(system.Render(device, world), S_OK);
    EXPECT_EQ(CallLog::Get().Texts(),
              (std::vector<std::string>{"SetTransform(256, ptr)",
                                        "SetStreamSource(0, vertexbuffer#1, 36)",
                                        "SetVertexShader(0x152)", "DrawPrimitive(4, 0, 2)"}));
    const Particle& p = system.Particles()[1];
    const ColorVertex* v = VerticesOf(1);
    EXPECT_FLOAT_EQ(v[0].x, p.position.x - 2.5f);
    EXPECT_FLOAT_EQ(v[0].y, p.position.y - 2.5f);
    EXPECT_FLOAT_EQ(v[2].x, p.position.x + 2.5f);
    EXPECT_FLOAT_EQ(v[2].y, p.position.y + 2.5f);
    EXPECT_EQ(v[1].tu, 1.0f);
    EXPECT_EQ(v[1].tv, 0.0f);
    EXPECT_EQ(v[2].tv, 1.0f);
    EXPECT_EQ(v[0].nz, -1.0f);
    EXPECT_EQ(v[0].diffuse, p.color);
}

TEST_F(ParticleSystemTest, DeadParticlesWithoutRespawnKeepAgeingInvisibly) {
    ParticleSystemSettings spray = SpraySettings();
    spray.count = 1;
    spray.lifeSpread = 0;
    spray.life = 2;
    spray.respawn = 0;
    ASSERT_EQ(system.Create(spray, device), S_OK);
    for (int i = 0; i < 600; ++i) {
        ASSERT_EQ(system.Update(), S_OK);
    }
    EXPECT_EQ(system.Particles()[0].alive, 0);
    EXPECT_EQ(system.Particles()[0].life, 2 - 600);
}

TEST_F(ParticleSystemTest, FailuresAreReturned) {
    CallLog::Get().FailNth("CreateVertexBuffer", 1, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(system.Create(SpraySettings(), device), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(system.Update(), E_FAIL);

    ASSERT_EQ(system.Create(SpraySettings(), device), S_OK);
    CallLog::Get().FailNth("Lock", 1, D3DERR_INVALIDCALL);
    EXPECT_EQ(system.Update(), D3DERR_INVALIDCALL);
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    CallLog::Get().FailNth("SetStreamSource", 1, E_FAIL);
    CallLog::Get().ClearCalls();
    EXPECT_EQ(system.Render(device, world), E_FAIL);
    EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), 0);

    ParticleSystemSettings none = SpraySettings();
    none.count = 0;
    EXPECT_EQ(system.Create(none, device), E_INVALIDARG);
}

TEST_F(ParticleSystemTest, TheBufferGoesAndComesBackAroundAResetAndTheParticlesCarryOn) {
    ASSERT_EQ(system.Create(SpraySettings(), device), S_OK);
    ASSERT_EQ(system.Update(), S_OK);
    const Particle before = system.Particles()[7];
    ASSERT_EQ(before.alive, 1);

    system.ReleaseDefaultPool();
    EXPECT_EQ(RecordingDevice::Latest()->LiveDefaultPoolResources(), 0);
    system.ReleaseDefaultPool();
    // Nothing to draw into while the device resets: no device call, no particle moves.
    CallLog::Get().ClearCalls();
    EXPECT_EQ(system.Update(), E_FAIL);
    EXPECT_TRUE(CallLog::Get().Calls().empty());
    EXPECT_EQ(system.Particles()[7].position, before.position);

    ASSERT_EQ(system.RestoreDefaultPool(device), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"CreateVertexBuffer"}),
              (std::vector<std::string>{"CreateVertexBuffer(216000, 0x208, 0x152, 0)"}));
    EXPECT_EQ(RecordingDevice::Latest()->LiveDefaultPoolResources(), 1);
    ASSERT_EQ(system.Update(), S_OK);
    const Particle& after = system.Particles()[7];
    EXPECT_EQ(after.position, before.position + before.velocity + SpraySettings().drift);
    EXPECT_EQ(after.life, before.life - 1);

    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    ASSERT_EQ(system.Render(device, world), S_OK);
    EXPECT_EQ(VerticesOf(7)[0].x, after.position.x - SpraySettings().halfWidth);
}

TEST_F(ParticleSystemTest, RestoringTheDefaultPoolReportsAFailureAndMakesNothingForAnEmptyEmitter) {
    EXPECT_EQ(system.RestoreDefaultPool(device), S_OK);
    EXPECT_EQ(CallLog::Get().Count("CreateVertexBuffer"), 0);

    ASSERT_EQ(system.Create(SpraySettings(), device), S_OK);
    system.ReleaseDefaultPool();
    CallLog::Get().FailNth("CreateVertexBuffer", 1, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(system.RestoreDefaultPool(device), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(system.Update(), E_FAIL);
    EXPECT_EQ(system.RestoreDefaultPool(device), S_OK);
    EXPECT_EQ(system.Update(), S_OK);
    // A restore over a live buffer replaces it rather than leaking it.
    EXPECT_EQ(system.RestoreDefaultPool(device), S_OK);
    EXPECT_EQ(RecordingDevice::Latest()->LiveDefaultPoolResources(), 1);
}

}  // namespace
