#include "app/game_app.h"

#include <gtest/gtest.h>

#include "tests/support/recording_device.h"

namespace {

class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog::Get().Reset();
        RecordingSetup::Get().Restore();
    }
    void TearDown() override {
        app.Shutdown();
        EXPECT_EQ(RecordingLiveObjects(), 0);
    }

    GameApp app;
};

TEST_F(GameAppTest, InitCreatesTheDeviceAndSetsTheFourGlobalStates) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    EXPECT_EQ(CallLog::Get().Texts({"CreateDevice", "SetRenderState"}),
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
    EXPECT_EQ(CallLog::Get().Texts({"SetTransform", "Clear", "BeginScene", "EndScene", "Present"}),
              (std::vector<std::string>{"SetTransform(2, ptr)", "SetTransform(3, ptr)",
                                        "Clear(0, null, 3, 0xFF646464, 1, 0)", "BeginScene()",
                                        "EndScene()", "Present(null, null, null, null)"}));
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

TEST_F(GameAppTest, ALostDeviceIsResetWithTheStreamUnboundAndTheGlobalStatesSetAgain) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    EXPECT_EQ(app.Frame(), S_OK);
    EXPECT_EQ(
        CallLog::Get().Texts({"Present", "SetStreamSource", "Reset", "SetRenderState"}),
        (std::vector<std::string>{"Present(null, null, null, null)", "SetStreamSource(0, null, 0)",
                                  "Reset(ptr)", "SetRenderState(137, 0)", "SetRenderState(22, 1)",
                                  "SetRenderState(7, 1)", "SetRenderState(40, 1)"}));
    const RecordingDevice* device = RecordingDevice::Latest();
    EXPECT_EQ(device->RenderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
    EXPECT_EQ(device->RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_NONE));
    EXPECT_EQ(device->RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_EQ(device->RenderState(D3DRS_EDGEANTIALIAS), static_cast<DWORD>(TRUE));
}

TEST_F(GameAppTest, WhileTheResetIsRefusedNothingIsMadeAgain) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("Present", 2, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("Reset", 1, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("Reset", 2, D3DERR_DEVICELOST);
    EXPECT_EQ(app.Frame(), D3DERR_DEVICELOST);
    EXPECT_EQ(app.Frame(), D3DERR_DEVICELOST);
    EXPECT_EQ(CallLog::Get().Count("Reset"), 2);
    EXPECT_EQ(CallLog::Get().Count("SetRenderState"), 0);

    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    EXPECT_EQ(app.Frame(), S_OK);
    EXPECT_EQ(CallLog::Get().Count("SetRenderState"), 4);
}

TEST_F(GameAppTest, AFailedRestoreAfterAResetIsReportedAndTriedAgainNextFrame) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("SetRenderState", 2, E_OUTOFMEMORY);
    EXPECT_EQ(app.Frame(), E_OUTOFMEMORY);
    EXPECT_EQ(CallLog::Get().Count("SetRenderState"), 2);

    // The next frame sets the states again before it clears, and then runs as usual.
    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), S_OK);
    EXPECT_EQ(CallLog::Get().Texts({"SetRenderState", "Clear", "Reset"}),
              (std::vector<std::string>{"SetRenderState(137, 0)", "SetRenderState(22, 1)",
                                        "SetRenderState(7, 1)", "SetRenderState(40, 1)",
                                        "Clear(0, null, 3, 0xFF646464, 1, 0)"}));
    CallLog::Get().ClearCalls();
    EXPECT_EQ(app.Frame(), S_OK);
    EXPECT_EQ(CallLog::Get().Count("SetRenderState"), 0);
}

TEST_F(GameAppTest, ShutdownReleasesTheDevice) {
    ASSERT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    app.Shutdown();
    EXPECT_EQ(app.GetDevice(), nullptr);
    EXPECT_EQ(RecordingLiveObjects(), 0);
}

}  // namespace
