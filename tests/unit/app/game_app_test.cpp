#include "app/game_app.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/posix/message_queue.h"
#include "tests/support/fake_direct_input.h"
#include "tests/support/minimal_game_data.h"
#include "tests/support/recording_device.h"
#include "tests/support/scoped_working_directory.h"
#include "tests/support/world_triangles_file.h"

namespace {

class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog::Get().Reset();
        RecordingSetup::Get().Restore();
        FakeInput::Get().Restore();
        while (TakeQuitMessage(nullptr)) {
        }
        // Open water everywhere: a collision model with no triangles.
        ASSERT_TRUE(WriteMinimalGameData());
    }
    void TearDown() override {
        app.Shutdown();
        EXPECT_EQ(RecordingLiveObjects(), 0);
        EXPECT_EQ(FakeInputLiveObjects(), 0);
    }

    D3DXVECTOR3 PlayerPosition() const {
        D3DXVECTOR3 position;
        float yaw;
        int forward, left, right;
        app.GetInput().GetState(&position, &yaw, &forward, &left, &right);
        return position;
    }

    ScopedWorkingDirectory directory;
    GameApp app;
};

TEST_F(GameAppTest, InitCreatesTheDeviceAndSetsTheFourGlobalStates) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    // First of all; the scene's own states follow only as it is primed, at the end.
    const std::vector<std::string> calls = CallLog::Get().Texts({"CreateDevice", "SetRenderState"});
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 5),
              (std::vector<std::string>{"CreateDevice(0, 1, ptr, 0x20, ptr, ptr)",
                                        "SetRenderState(137, 0)", "SetRenderState(22, 1)",
                                        "SetRenderState(7, 1)", "SetRenderState(40, 1)"}));
}

TEST_F(GameAppTest, InitStopsAtTheFirstFailingState) {
    CallLog::Get().FailNth("SetRenderState", 2, E_FAIL);
    EXPECT_FALSE(app.Init(reinterpret_cast<HWND>(0x1)));
    EXPECT_EQ(CallLog::Get().Count("SetRenderState"), 2);
}

TEST_F(GameAppTest, InitFailsWithoutADevice) {
    CallLog::Get().FailNth("CreateDevice", 1, D3DERR_NOTAVAILABLE);
    EXPECT_FALSE(app.Init(reinterpret_cast<HWND>(0x1)));
    EXPECT_EQ(CallLog::Get().Count("SetRenderState"), 0);
}

TEST_F(GameAppTest, FrameClearsToGreyDrawsAndPresents) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), S_OK);
    const std::vector<std::string> calls = CallLog::Get().Texts();
    ASSERT_GE(calls.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 7),
              (std::vector<std::string>{"IDirectInputDevice8A::GetDeviceState(keyboard#1, 256)",
                                        "IDirectInputDevice8A::GetDeviceState(mouse#1, 16)",
                                        "SetTransform(2, ptr)", "SetTransform(3, ptr)",
                                        "Clear(0, null, 3, 0xFF646464, 1, 0)", "BeginScene()",
                                        "SetTextureStageState(0, 17, 2)"}));
    // The scene draws between begin and end, its first call the level's linear filtering.
    EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
              (std::vector<std::string>{"EndScene()", "Present(null, null, null, null)"}));
}

TEST_F(GameAppTest, AFailedBeginStillEndsAndPresents) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("BeginScene", 1, D3DERR_INVALIDCALL);
    CallLog::Get().FailNth("Present", 1, D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(app.Frame(), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(CallLog::Get().Count("EndScene"), 1);
    EXPECT_EQ(CallLog::Get().Count("Present"), 1);
}

// The calls with the given names from the first Present of the log on.
std::vector<std::string> TextsFromPresent(const std::vector<std::string>& names) {
    std::vector<std::string> all = names;
    all.push_back("Present");
    const std::vector<std::string> texts = CallLog::Get().Texts(all);
    std::vector<std::string> from;
    bool presented = false;
    for (const std::string& text : texts) {
        presented = presented || text.rfind("Present(", 0) == 0;
        if (presented) {
            from.push_back(text);
        }
    }
    return from;
}

const std::vector<std::string> kRestoredBuffers = {
    // Three leaf emitters, the trees' shared buffer, the sea and the spray.
    "CreateVertexBuffer(16200, 0x208, 0x152, 0)", "CreateVertexBuffer(16200, 0x208, 0x152, 0)",
    "CreateVertexBuffer(16200, 0x208, 0x152, 0)", "CreateVertexBuffer(324, 0x208, 0x152, 0)",
    "CreateVertexBuffer(288, 0x8, 0x152, 0)",     "CreateVertexBuffer(216000, 0x208, 0x152, 0)"};

TEST_F(GameAppTest, ALostDeviceGivesUpTheDefaultPoolResetsAndMakesItAgain) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    const int defaultPool = RecordingDevice::Latest()->LiveDefaultPoolResources();
    EXPECT_EQ(defaultPool, 6);
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    EXPECT_EQ(app.Frame(), S_OK);

    std::vector<std::string> expected = {"Present(null, null, null, null)",
                                         "SetStreamSource(0, null, 0)",
                                         "Reset(ptr)",
                                         "SetRenderState(137, 0)",
                                         "SetRenderState(22, 1)",
                                         "SetRenderState(7, 1)",
                                         "SetRenderState(40, 1)"};
    expected.insert(expected.end(), kRestoredBuffers.begin(), kRestoredBuffers.end());
    EXPECT_EQ(
        TextsFromPresent({"SetStreamSource", "Reset", "SetRenderState", "CreateVertexBuffer"}),
        expected);
    const RecordingDevice* device = RecordingDevice::Latest();
    EXPECT_EQ(device->LiveDefaultPoolResources(), defaultPool);
    EXPECT_EQ(device->RenderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
    EXPECT_EQ(device->RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_NONE));
    EXPECT_EQ(device->RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_EQ(device->RenderState(D3DRS_EDGEANTIALIAS), static_cast<DWORD>(TRUE));

    // The next frame draws the whole scene again.
    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"DrawPrimitive"}).back(), "DrawPrimitive(4, 0, 2000)");
}

TEST_F(GameAppTest, WhileTheResetIsRefusedNothingIsMadeOrDrawn) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("Present", 2, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("Reset", 1, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("Reset", 2, D3DERR_DEVICELOST);
    EXPECT_EQ(app.Frame(), D3DERR_DEVICELOST);
    EXPECT_EQ(RecordingDevice::Latest()->LiveDefaultPoolResources(), 0);
    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), D3DERR_DEVICELOST);
    EXPECT_EQ(CallLog::Get().Count("DrawPrimitive"), 0);
    EXPECT_EQ(CallLog::Get().Count("SetRenderState"), 0);
    EXPECT_EQ(CallLog::Get().Count("CreateVertexBuffer"), 0);

    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    EXPECT_EQ(app.Frame(), S_OK);
    EXPECT_EQ(TextsFromPresent({"CreateVertexBuffer"}).size(), 1 + kRestoredBuffers.size());
    EXPECT_EQ(RecordingDevice::Latest()->LiveDefaultPoolResources(), 6);
}

TEST_F(GameAppTest, AFailedRestoreIsReportedAndTriedAgainBeforeTheNextClear) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("CreateVertexBuffer", 5, D3DERR_OUTOFVIDEOMEMORY);  // the sea's
    EXPECT_EQ(app.Frame(), D3DERR_OUTOFVIDEOMEMORY);

    // The next frame makes everything again before it clears, and then draws as usual.
    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), S_OK);
    const std::vector<std::string> order =
        CallLog::Get().Texts({"SetRenderState", "CreateVertexBuffer", "Clear"});
    ASSERT_GE(order.size(), 11u);
    EXPECT_EQ(order[0], "SetRenderState(137, 0)");
    EXPECT_EQ(std::vector<std::string>(order.begin() + 4, order.begin() + 10), kRestoredBuffers);
    EXPECT_EQ(order[10], "Clear(0, null, 3, 0xFF646464, 1, 0)");
    EXPECT_EQ(CallLog::Get().Texts({"DrawPrimitive"}).back(), "DrawPrimitive(4, 0, 2000)");
    EXPECT_EQ(RecordingDevice::Latest()->LiveDefaultPoolResources(), 6);

    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), S_OK);
    EXPECT_EQ(CallLog::Get().Count("CreateVertexBuffer"), 0);
}

TEST_F(GameAppTest, ShutdownReleasesTheDeviceAndThenTheInput) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    CallLog::Get().ClearCalls();
    app.Shutdown();
    EXPECT_EQ(app.GetDevice(), nullptr);
    EXPECT_EQ(RecordingLiveObjects(), 0);
    EXPECT_EQ(FakeInputLiveObjects(), 0);
    EXPECT_EQ(CallLog::Get().Texts({"IDirect3DDevice8::Release", "IDirectInput8A::Release"}),
              (std::vector<std::string>{"IDirect3DDevice8::Release()",
                                        "IDirectInput8A::Release(dinput#1)"}));
}

TEST_F(GameAppTest, InitStartsTheInputLastForTheGameWindowThenPrimesTheScene) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    const std::vector<std::string> calls = CallLog::Get().Texts();
    const auto primed = std::find(calls.begin(), calls.end(), "BeginScene()");
    ASSERT_NE(primed, calls.end());
    const auto lastInput =
        std::find(calls.rbegin(), calls.rend(), "IDirectInputDevice8A::Acquire(mouse#1)");
    ASSERT_NE(lastInput, calls.rend());
    EXPECT_LT(lastInput.base() - calls.begin(), primed - calls.begin());
    // Drawn once and not shown: the first frame clears it.
    EXPECT_EQ(calls.back(), "EndScene()");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "BeginScene()"), 1);
    EXPECT_EQ(CallLog::Get().Count("Present"), 0);
    EXPECT_EQ(CallLog::Get().Count("Clear"), 0);
    const std::vector<std::string> statesThenInput =
        CallLog::Get().Texts({"SetRenderState", "DirectInput8Create"});
    ASSERT_GT(statesThenInput.size(), 4u);
    EXPECT_EQ(statesThenInput[4], "DirectInput8Create(instance, 0x800, IID_IDirectInput8A, null)");
    EXPECT_EQ(CallLog::Get().Texts({"IDirectInputDevice8A::SetCooperativeLevel"}),
              (std::vector<std::string>{
                  "IDirectInputDevice8A::SetCooperativeLevel(keyboard#1, window, 0x5)",
                  "IDirectInputDevice8A::SetCooperativeLevel(mouse#1, window, 0x5)"}));
}

TEST_F(GameAppTest, InitFailsWithoutTheCollisionModelOrTheKeyboard) {
    std::filesystem::remove("data/levelboundings.ms3d");
    EXPECT_FALSE(app.Init(reinterpret_cast<HWND>(0x1)));
    EXPECT_EQ(CallLog::Get().Count("DirectInput8Create"), 0);
    app.Shutdown();

    ASSERT_TRUE(WriteMs3dFile("data/levelboundings.ms3d", Ms3dFileOfWorldTriangles({})));
    CallLog::Get().FailNth("IDirectInputDevice8A::Acquire", 1, DIERR_GENERIC);
    EXPECT_FALSE(app.Init(reinterpret_cast<HWND>(0x1)));
}

// A window that starts without the focus is no failed start: its frames are skipped until the
// focus comes, as after a focus loss.
TEST_F(GameAppTest, StartedWithoutTheFocusTheGameSkipsItsFramesUntilItComes) {
    FakeInput::Get().LoseFocus();
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(CallLog::Get().Count("Present"), 0);

    FakeInput::Get().FocusWindow();
    EXPECT_EQ(app.Frame(), S_OK);
    EXPECT_EQ(CallLog::Get().Count("Present"), 1);
}

TEST_F(GameAppTest, AFailedInputUpdateSkipsClearDrawAndPresent) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    FakeInput::Get().LoseFocus();
    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), DIERR_OTHERAPPHASPRIO);
    EXPECT_TRUE(CallLog::Get()
                    .Texts({"SetTransform", "Clear", "BeginScene", "EndScene", "Present"})
                    .empty());

    // Back in the foreground the next frame is drawn again.
    FakeInput::Get().FocusWindow();
    EXPECT_EQ(app.Frame(), S_OK);
    EXPECT_EQ(CallLog::Get().Count("Present"), 1);
}

TEST_F(GameAppTest, TheCameraRidesAboveAndBehindThePlayerLookingAlongItsHeading) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    ASSERT_EQ(app.Frame(), S_OK);
    D3DXVECTOR3 player = PlayerPosition();
    EXPECT_FLOAT_EQ(player.x, -2.9f);
    EXPECT_EQ(app.GetCamera().GetPosition(), player + D3DXVECTOR3(0, 3, -3));
    EXPECT_EQ(app.GetCamera().GetRotation(), D3DXVECTOR3(0, 0, 0));
    D3DMATRIX view;
    ASSERT_TRUE(LastTransformSet(D3DTS_VIEW, &view));
    EXPECT_EQ(D3DXMATRIX(view), app.GetCamera().GetView());

    // Full speed, then 30 turns of 3 degrees: heading 90.
    FakeInput::Get().SetKey(DIK_UP, 0x80);
    for (int frame = 0; frame < 26; ++frame) {
        app.Frame();
    }
    FakeInput::Get().SetKey(DIK_RIGHT, 0x80);
    for (int frame = 0; frame < 30; ++frame) {
        app.Frame();
    }
    player = PlayerPosition();
    // 90 x 3.14 / 180, not pi / 2; the offset does not turn with the heading.
    EXPECT_FLOAT_EQ(app.GetCamera().GetRotation().y, 1.57f);
    EXPECT_EQ(app.GetCamera().GetRotation().x, 0.0f);
    EXPECT_EQ(app.GetCamera().GetRotation().z, 0.0f);
    EXPECT_EQ(app.GetCamera().GetPosition(), player + D3DXVECTOR3(0, 3, -3));
}

TEST_F(GameAppTest, TheYawIsWorkedOutInDoubleAndStoredAsAFloat) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    FakeInput::Get().SetKey(DIK_UP, 0x80);
    for (int frame = 0; frame < 26; ++frame) {
        app.Frame();
    }
    // 100 turns of 3 degrees: heading 300, where float arithmetic would give a different yaw.
    FakeInput::Get().SetKey(DIK_RIGHT, 0x80);
    for (int frame = 0; frame < 100; ++frame) {
        app.Frame();
    }
    D3DXVECTOR3 position;
    float heading = 0;
    int forward = 0, left = 0, right = 0;
    app.GetInput().GetState(&position, &heading, &forward, &left, &right);
    ASSERT_EQ(heading, 300.0f);
    const float inFloat = static_cast<float>(heading * 3.14f / 180.0);
    const float inDouble = static_cast<float>(heading * 3.14 / 180.0);
    ASSERT_NE(inFloat, inDouble);
    EXPECT_EQ(app.GetCamera().GetRotation().y, inDouble);
}

TEST_F(GameAppTest, EscapePostsTheQuitMessageAndTheFrameIsStillPresented) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    FakeInput::Get().SetKey(DIK_ESCAPE, 0x80);
    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), S_OK);
    int exitCode = -1;
    EXPECT_TRUE(TakeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(CallLog::Get().Count("Present"), 1);
}

}  // namespace
