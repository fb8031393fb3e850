#include "app/startup_failure.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/fake_direct_input.h"
#include "tests/support/minimal_game_data.h"
#include "tests/support/recording_device.h"
#include "tests/support/scoped_working_directory.h"

namespace {

class StartupFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog::Get().Reset();
        RecordingSetup::Get().Restore();
        FakeInput::Get().Restore();
        ASSERT_TRUE(WriteMinimalGameData());
    }
    void TearDown() override {
        app.Shutdown();
        EXPECT_EQ(RecordingLiveObjects(), 0);
        EXPECT_EQ(FakeInputLiveObjects(), 0);
    }

    // The line the process entry would print after a start-up.
    std::string StartAndDescribe() {
        const bool started = app.Init(reinterpret_cast<HWND>(0x1));
        EXPECT_EQ(started, app.FailedStep() == GameApp::StartupStep::kNone);
        return DescribeStartupFailure(app.FailedStep(), LastContentFailure());
    }

    ScopedWorkingDirectory directory;
    GameApp app;
};

TEST_F(StartupFailureTest, NamesTheContentFileThatStoppedIt) {
    std::filesystem::remove("data/trees.ms3d");
    EXPECT_EQ(StartAndDescribe(), "cannot open \"data/trees.ms3d\"");
    EXPECT_EQ(app.FailedStep(), GameApp::StartupStep::kScene);
}

TEST_F(StartupFailureTest, NamesATextureThatCannotBeDecoded) {
    std::ofstream("data/water.bmp", std::ios::binary | std::ios::trunc) << "BM not a bitmap";
    EXPECT_EQ(StartAndDescribe(), "cannot decode \"data/water.bmp\"");
}

TEST_F(StartupFailureTest, NamesTheCollisionModelOfTheInputStep) {
    std::ofstream("data/levelboundings.ms3d", std::ios::binary | std::ios::trunc) << "MS3D000000";
    EXPECT_EQ(StartAndDescribe(), "cannot decode \"data/levelboundings.ms3d\"");
    EXPECT_EQ(app.FailedStep(), GameApp::StartupStep::kInput);
}

TEST_F(StartupFailureTest, NamesTheStepWhenNoFileIsToBlame) {
    CallLog::Get().FailNth("CreateDevice", 1, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(StartAndDescribe(), "cannot create the full-screen 1024 x 768 graphics device");
}

TEST_F(StartupFailureTest, ALevelTheGameWentWithoutIsNotBlamedForALaterFailure) {
    // The level's own message box has told of it; the keyboard is what stopped the start.
    std::filesystem::remove("data/level.ms3d");
    CallLog::Get().FailNth("IDirectInput8A::CreateDevice", 1, DIERR_GENERIC);
    EXPECT_EQ(StartAndDescribe(), "cannot open the keyboard and mouse");
    EXPECT_EQ(CallLog::Get().Count("MessageBoxA"), 1);
}

TEST_F(StartupFailureTest, AStartThatSucceedsBlamesNothing) {
    std::filesystem::remove("data/level.ms3d");
    EXPECT_TRUE(app.Init(reinterpret_cast<HWND>(0x1)));
    EXPECT_EQ(app.FailedStep(), GameApp::StartupStep::kNone);
    EXPECT_EQ(LastContentFailure().kind, ContentFailureKind::kNone);
}

}  // namespace
