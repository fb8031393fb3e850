#include "input/input_system.h"

#include <gtest/gtest.h>

#include "platform/posix/message_queue.h"
#include "tests/support/fake_direct_input.h"
#include "tests/support/fake_game_pad.h"
#include "tests/support/scoped_working_directory.h"
#include "tests/support/world_triangles_file.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(0x1);
const char kBoundsPath[] = "data/levelboundings.ms3d";

struct PlayerState {
    D3DXVECTOR3 position;
    float yaw;
    int forward;
    int left;
    int right;
};

// A flat square at `height` covering the start point's surroundings: x in [-20, 20], z in [-30,
// 10].
std::vector<WorldTriangle> FlatSquare(float height) {
    return {{{{-20, height, -30}, {20, height, -30}, {20, height, 10}}},
            {{{-20, height, -30}, {20, height, 10}, {-20, height, 10}}}};
}

class InputSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog::Get().Reset();
        FakeInput::Get().Restore();
        FakeGamePad::Get().Restore();
        while (TakeQuitMessage(nullptr)) {
        }
    }
    void TearDown() override {
        input.Release();
        EXPECT_EQ(FakeInputLiveObjects(), 0);
        EXPECT_EQ(FakeGamePad::Get().openCount, 0);
    }

    void WriteBounds(const std::vector<WorldTriangle>& triangles) {
        ASSERT_TRUE(WriteMs3dFile(kBoundsPath, Ms3dFileOfWorldTriangles(triangles)));
    }
    void StartOverOpenWater() {
        WriteBounds({});
        ASSERT_EQ(input.Init(kWindow), S_OK);
    }

    PlayerState State() const {
        PlayerState state;
        input.GetState(&state.position, &state.yaw, &state.forward, &state.left, &state.right);
        return state;
    }
    void Hold(BYTE code, bool held) { FakeInput::Get().SetKey(code, held ? 0x80 : 0); }
    // Runs `frames` updates; returns the last frame's displacement.
    D3DXVECTOR3 Run(int frames) {
        D3DXVECTOR3 before = State().position;
        for (int i = 0; i < frames; ++i) {
            before = State().position;
            EXPECT_EQ(input.Update(), S_OK);
        }
        return State().position - before;
    }
    // Holding up from rest: full speed is reached on the 25th update.
    void ReachFullSpeed() {
        Hold(DIK_UP, true);
        Run(26);
    }

    ScopedWorkingDirectory directory;
    InputSystem input;
};

TEST_F(InputSystemTest, InitFailsWithoutTheCollisionModelAndOpensNoDevice) {
    EXPECT_EQ(input.Init(kWindow), E_FAIL);
    EXPECT_EQ(CallLog::Get().Count("DirectInput8Create"), 0);
}

TEST_F(InputSystemTest, InitReturnsTheDeviceFailure) {
    WriteBounds({});
    CallLog::Get().FailNth("IDirectInputDevice8A::Acquire", 1, DIERR_GENERIC);
    EXPECT_EQ(input.Init(kWindow), DIERR_GENERIC);
    EXPECT_EQ(FakeInputLiveObjects(), 0);
}

TEST_F(InputSystemTest, AtRestTheCurrentDriftsThePlayerTowardPlusX) {
    StartOverOpenWater();
    const PlayerState start = State();
    EXPECT_EQ(start.position, D3DXVECTOR3(-3, -2, -10));
    EXPECT_EQ(start.yaw, 0.0f);

    Run(1);
    EXPECT_FLOAT_EQ(State().position.x, -2.9f);
    EXPECT_EQ(State().position.y, -2.0f);
    EXPECT_EQ(State().position.z, -10.0f);
}

TEST_F(InputSystemTest, SpeedRisesToHalfAUnitInTwentyFiveFramesAndFallsBackInTwentyFive) {
    StartOverOpenWater();
    Hold(DIK_UP, true);
    // At heading 0 the step along z is the speed itself.
    EXPECT_NEAR(Run(1).z, 0.02f, 1e-5f);
    EXPECT_NEAR(Run(23).z, 0.48f, 1e-4f);
    EXPECT_NEAR(Run(1).z, 0.5f, 1e-4f);
    EXPECT_NEAR(Run(10).z, 0.5f, 1e-4f);

    Hold(DIK_UP, false);
    EXPECT_NEAR(Run(24).z, 0.02f, 1e-4f);
    EXPECT_EQ(Run(1).z, 0.0f);
    EXPECT_EQ(Run(5).z, 0.0f);
}

TEST_F(InputSystemTest, KeysCountAsHeldByTheirTopBitOnly) {
    StartOverOpenWater();
    for (BYTE value : {BYTE{0x80}, BYTE{0xFF}, BYTE{0x7F}, BYTE{0x00}}) {
        FakeInput::Get().SetKey(DIK_UP, value);
        FakeInput::Get().SetKey(DIK_LEFT, value);
        FakeInput::Get().SetKey(DIK_RIGHT, value);
        Run(1);
        const int expected = (value & 0x80) != 0 ? 0x80 : 0;
        EXPECT_EQ(State().forward, expected) << int(value);
        EXPECT_EQ(State().left, expected) << int(value);
        EXPECT_EQ(State().right, expected) << int(value);
    }
}

TEST_F(InputSystemTest, TurningNeedsSpeedAndIsThreeDegreesAFrameAtFullSpeed) {
    StartOverOpenWater();
    Hold(DIK_LEFT, true);
    Run(10);
    EXPECT_EQ(State().yaw, 0.0f);
    Hold(DIK_LEFT, false);
    Hold(DIK_RIGHT, true);
    Run(10);
    EXPECT_EQ(State().yaw, 0.0f);

    Hold(DIK_RIGHT, false);
    ReachFullSpeed();
    Hold(DIK_RIGHT, true);
    Run(1);
    EXPECT_EQ(State().yaw, 3.0f);
    Run(1);
    EXPECT_EQ(State().yaw, 6.0f);
    // Both side arrows cancel out.
    Hold(DIK_LEFT, true);
    Run(1);
    EXPECT_EQ(State().yaw, 6.0f);
}

TEST_F(InputSystemTest, HeadingClampsToTheBoundItCrossesInsteadOfWrapping) {
    StartOverOpenWater();
    ReachFullSpeed();
    Hold(DIK_LEFT, true);
    Run(1);
    EXPECT_EQ(State().yaw, 360.0f);  // not 357
    // A heading of 360 steers as 0 does.
    Hold(DIK_LEFT, false);
    const D3DXVECTOR3 step = Run(1);
    EXPECT_NEAR(step.x, 0.1f, 1e-5f);
    EXPECT_NEAR(step.z, 0.5f, 1e-5f);

    Hold(DIK_RIGHT, true);
    Run(1);
    EXPECT_EQ(State().yaw, 0.0f);  // 363 is not wrapped to 3
}

TEST_F(InputSystemTest, HeadingsZeroNinetyAndTwoSeventyMoveAlongPlusZPlusXAndMinusX) {
    StartOverOpenWater();
    ReachFullSpeed();
    D3DXVECTOR3 step = Run(1);
    EXPECT_NEAR(step.x, 0.1f, 1e-5f);
    EXPECT_NEAR(step.z, 0.5f, 1e-5f);

    Hold(DIK_RIGHT, true);
    Run(30);
    Hold(DIK_RIGHT, false);
    ASSERT_EQ(State().yaw, 90.0f);
    step = Run(1);
    EXPECT_NEAR(step.x, 0.5f + 0.1f, 1e-5f);
    EXPECT_NEAR(step.z, 0.0f, 1e-5f);

    Hold(DIK_LEFT, true);
    Run(61);  // 90 down to 0, then clamped to 360, then 30 more turns
    Hold(DIK_LEFT, false);
    ASSERT_EQ(State().yaw, 270.0f);
    step = Run(1);
    EXPECT_NEAR(step.x, -0.5f + 0.1f, 1e-5f);
    EXPECT_NEAR(step.z, 0.0f, 1e-5f);
    EXPECT_EQ(State().position.y, -2.0f);
}

TEST_F(InputSystemTest, ASurfaceTwoUnitsBelowTheWaterRefusesTheMoveWhole) {
    WriteBounds(FlatSquare(-4.0f));
    ASSERT_EQ(input.Init(kWindow), S_OK);
    Hold(DIK_UP, true);
    Run(5);
    // Speed keeps building while the player stays exactly where it started.
    EXPECT_EQ(State().position, D3DXVECTOR3(-3, -2, -10));
    Hold(DIK_RIGHT, true);
    Run(5);
    EXPECT_EQ(State().position, D3DXVECTOR3(-3, -2, -10));
    EXPECT_GT(State().yaw, 0.0f);
}

TEST_F(InputSystemTest, ASurfaceJustDeeperLetsThePlayerPass) {
    WriteBounds(FlatSquare(-4.01f));
    ASSERT_EQ(input.Init(kWindow), S_OK);
    Run(1);
    EXPECT_FLOAT_EQ(State().position.x, -2.9f);
    EXPECT_EQ(State().position.y, -2.0f);
    EXPECT_EQ(State().position.z, -10.0f);
}

TEST_F(InputSystemTest, TheLaterOfTwoStackedTrianglesDecides) {
    auto blocking = FlatSquare(-3.0f);
    auto open = FlatSquare(-10.0f);

    // The nearer surface blocks, but the deeper one comes later in the list.
    WriteBounds({blocking[0], blocking[1], open[0], open[1]});
    ASSERT_EQ(input.Init(kWindow), S_OK);
    Run(1);
    EXPECT_FLOAT_EQ(State().position.x, -2.9f);

    WriteBounds({open[0], open[1], blocking[0], blocking[1]});
    ASSERT_EQ(input.Init(kWindow), S_OK);
    Run(1);
    EXPECT_EQ(State().position, D3DXVECTOR3(-3, -2, -10));
}

TEST_F(InputSystemTest, OnlyTheFirstGroupCollidesAndAModelWithoutGroupsCollidesNowhere) {
    // The blocking square sits in a second group.
    content::Ms3dFile model = Ms3dFileOfWorldTriangles(FlatSquare(0.0f));
    model.groups.insert(model.groups.begin(), content::Ms3dFileGroup{});
    ASSERT_TRUE(WriteMs3dFile(kBoundsPath, model));
    ASSERT_EQ(input.Init(kWindow), S_OK);
    Run(1);
    EXPECT_FLOAT_EQ(State().position.x, -2.9f);

    model.groups.clear();
    ASSERT_TRUE(WriteMs3dFile(kBoundsPath, model));
    ASSERT_EQ(input.Init(kWindow), S_OK);
    Run(1);
    EXPECT_FLOAT_EQ(State().position.x, -2.9f);
}

TEST_F(InputSystemTest, ThePlayerStaysOnTheWaterWhateverTheKeys) {
    // A ridge the player runs into now and then, and a deep floor everywhere.
    WriteBounds({{{{-200, -12, -200}, {200, -12, -200}, {0, -12, 200}}},
                 {{{5, 1, -300}, {6, 1, -300}, {6, 1, 300}}},
                 {{{5, 1, -300}, {6, 1, 300}, {5, 1, 300}}}});
    ASSERT_EQ(input.Init(kWindow), S_OK);
    for (int frame = 0; frame < 400; ++frame) {
        Hold(DIK_UP, frame % 50 < 40);
        Hold(DIK_LEFT, frame % 70 < 10);
        Hold(DIK_RIGHT, frame % 90 > 75);
        ASSERT_EQ(input.Update(), S_OK);
        ASSERT_EQ(State().position.y, -2.0f) << "frame " << frame;
        ASSERT_LT(State().position.x, 5.0f) << "frame " << frame;
    }
}

TEST_F(InputSystemTest, EscapePostsTheQuitMessageAndTheFrameStillMoves) {
    StartOverOpenWater();
    Hold(DIK_ESCAPE, true);
    Run(1);
    int exitCode = -1;
    ASSERT_TRUE(TakeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_FLOAT_EQ(State().position.x, -2.9f);
    // Posted again on every update that sees the key.
    Run(1);
    EXPECT_TRUE(TakeQuitMessage(nullptr));
    Hold(DIK_ESCAPE, false);
    Run(1);
    EXPECT_FALSE(TakeQuitMessage(nullptr));
}

TEST_F(InputSystemTest, AFailedReadMovesNothingAndKeepsTheKeys) {
    StartOverOpenWater();
    Hold(DIK_UP, true);
    Run(3);
    const PlayerState before = State();
    FakeInput::Get().LoseFocus();
    EXPECT_EQ(input.Update(), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(input.Update(), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(State().position, before.position);
    EXPECT_EQ(State().forward, 0x80);
}

TEST_F(InputSystemTest, AFrameWhoseReadRecoveredCountsAsNoKeyHeld) {
    StartOverOpenWater();
    Hold(DIK_UP, true);
    Run(5);
    CallLog::Get().FailNth("IDirectInputDevice8A::GetDeviceState", 1, DIERR_INPUTLOST);
    const D3DXVECTOR3 step = Run(1);
    EXPECT_EQ(State().forward, 0);
    // Speed fell from 0.1 to 0.08 although the key is still down.
    EXPECT_NEAR(step.z, 0.08f, 1e-5f);
    EXPECT_NEAR(Run(1).z, 0.1f, 1e-5f);
}

TEST_F(InputSystemTest, ReleaseKeepsThePlayerAndCanRunTwice) {
    StartOverOpenWater();
    Run(3);
    const PlayerState before = State();
    EXPECT_EQ(input.Release(), S_OK);
    EXPECT_EQ(FakeInputLiveObjects(), 0);
    EXPECT_EQ(input.Release(), S_OK);
    EXPECT_EQ(State().position, before.position);
}

// A pad-held control must move the player exactly as its key does, frame for frame.
TEST_F(InputSystemTest, APadSteersExactlyAsTheKeysDo) {
    StartOverOpenWater();
    std::vector<PlayerState> byKeys;
    Hold(DIK_UP, true);
    for (int frame = 1; frame <= 40; ++frame) {
        Hold(DIK_LEFT, frame >= 10 && frame < 20);
        Hold(DIK_RIGHT, frame >= 30);
        input.Update();
        byKeys.push_back(State());
    }
    Hold(DIK_UP, false);
    Hold(DIK_LEFT, false);
    Hold(DIK_RIGHT, false);

    ASSERT_EQ(input.Init(kWindow), S_OK);
    GamePadState& pad = FakeGamePad::Get().state;
    for (int frame = 1; frame <= 40; ++frame) {
        pad.southButton = frame < 20;
        pad.rightTrigger = frame < 20 ? 0.0f : 0.9f;
        pad.dpadLeft = frame >= 10 && frame < 15;
        pad.leftStickX = frame >= 15 && frame < 20 ? -0.8f : (frame >= 30 ? 1.0f : 0.2f);
        input.Update();
        const PlayerState state = State();
        ASSERT_EQ(state.position, byKeys[frame - 1].position) << "frame " << frame;
        ASSERT_EQ(state.yaw, byKeys[frame - 1].yaw) << "frame " << frame;
        ASSERT_EQ(state.forward, byKeys[frame - 1].forward) << "frame " << frame;
        ASSERT_EQ(state.left, byKeys[frame - 1].left) << "frame " << frame;
        ASSERT_EQ(state.right, byKeys[frame - 1].right) << "frame " << frame;
    }
}

TEST_F(InputSystemTest, ThePadIsOpenFromInitToReleaseAndItsBackButtonQuits) {
    WriteBounds({});
    CallLog::Get().FailNth("IDirectInputDevice8A::Acquire", 1, DIERR_GENERIC);
    EXPECT_TRUE(FAILED(input.Init(kWindow)));
    EXPECT_EQ(FakeGamePad::Get().openCount, 0);

    ASSERT_EQ(input.Init(kWindow), S_OK);
    ASSERT_EQ(input.Init(kWindow), S_OK);
    EXPECT_EQ(FakeGamePad::Get().openCount, 1);
    FakeGamePad::Get().state.backButton = true;
    EXPECT_EQ(input.Update(), S_OK);
    EXPECT_TRUE(TakeQuitMessage(nullptr));
    input.Release();
    EXPECT_EQ(FakeGamePad::Get().openCount, 0);
}

}  // namespace
