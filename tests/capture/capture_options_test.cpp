#include "tools/capture/capture_options.h"

#include <gtest/gtest.h>

namespace {

bool Parse(const std::vector<std::string>& arguments, CaptureOptions* options,
           std::string* error = nullptr) {
    std::string ignored;
    return ParseCaptureOptions(arguments, options, error != nullptr ? error : &ignored);
}

TEST(CaptureOptionsTest, EveryOptionTogether) {
    CaptureOptions options;
    ASSERT_TRUE(
        Parse({"--frames", "300", "--hold", "UP@1-100", "--hold", "LEFT@50-60", "--clock-ms",
               "15708", "--shot", "3=level.png", "--shot", "300=end.png", "--trace", "run.csv",
               "--frame-times", "times.csv", "--stage-times", "stages.csv"},
              &options));
    EXPECT_EQ(options.frames, 300);
    ASSERT_EQ(options.holds.size(), 2u);
    EXPECT_EQ(options.holds[0].dikCode, 0xC8);
    EXPECT_EQ(options.holds[0].firstFrame, 1);
    EXPECT_EQ(options.holds[0].lastFrame, 100);
    EXPECT_EQ(options.holds[1].dikCode, 0xCB);
    EXPECT_TRUE(options.clockFixed);
    EXPECT_EQ(options.clockMilliseconds, 15708u);
    ASSERT_EQ(options.shots.size(), 2u);
    EXPECT_EQ(options.shots[0].frame, 3);
    EXPECT_EQ(options.shots[0].path, "level.png");
    EXPECT_EQ(options.shots[1].frame, 300);
    EXPECT_EQ(options.tracePath, "run.csv");
    EXPECT_EQ(options.frameTimesPath, "times.csv");
    EXPECT_EQ(options.stageTimesPath, "stages.csv");
}

TEST(CaptureOptionsTest, FramesAloneRunsTheRealClock) {
    CaptureOptions options;
    ASSERT_TRUE(Parse({"--frames", "1"}, &options));
    EXPECT_FALSE(options.clockFixed);
    EXPECT_TRUE(options.holds.empty());
    EXPECT_TRUE(options.shots.empty());
    EXPECT_TRUE(options.tracePath.empty());
}

TEST(CaptureOptionsTest, ClockTakesTheWholeUnsignedRange) {
    CaptureOptions options;
    ASSERT_TRUE(Parse({"--frames", "1", "--clock-ms", "4294967295"}, &options));
    EXPECT_EQ(options.clockMilliseconds, 4294967295u);
    EXPECT_FALSE(Parse({"--frames", "1", "--clock-ms", "4294967296"}, &options));
    EXPECT_FALSE(Parse({"--frames", "1", "--clock-ms", "-1"}, &options));
}

TEST(CaptureOptionsTest, UnusableArgumentsAreRefusedWithAReason) {
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"--frames"},
        {"--frames", "0"},
        {"--frames", "ten"},
        {"--frames", "10x"},
        {"--frames", "3", "--hold", "SPACE@1-2"},
        {"--frames", "3", "--hold", "UP@2-1"},
        {"--frames", "3", "--hold", "UP@0-1"},
        {"--frames", "3", "--hold", "UP1-2"},
        {"--frames", "3", "--hold", "UP@1"},
        {"--frames", "3", "--shot", "4=late.png"},
        {"--frames", "3", "--shot", "3="},
        {"--frames", "3", "--shot", "=a.png"},
        {"--frames", "3", "--trace", ""},
        {"--frames", "3", "--frame-times", ""},
        {"--frames", "3", "--frame-times"},
        {"--frames", "3", "--stage-times", ""},
        {"--frames", "3", "extra"},
        {"--frames", "3", "--speed", "2"},
        {"--frames", "3", "--particles", "4=late.csv"},
        {"--frames", "3", "--particles", "3"},
        {"--frames", "3", "--particles", "x=a.csv"},
        {"--frames", "3", "--hold", "PAD_X@1-2"},
        {"--frames", "3", "--stick", "1.5@1-2"},
        {"--frames", "3", "--stick", "-1.01@1-2"},
        {"--frames", "3", "--stick", "left@1-2"},
        {"--frames", "3", "--stick", "1e0@1-2"},
        {"--frames", "3", "--stick", "0.5@2-1"},
        {"--frames", "3", "--stick", "@1-2"},
        {"--frames", "3", "--trigger", "-0.1@1-2"},
        {"--frames", "3", "--trigger", "1.1@1-2"},
        {"--frames", "3", "--trigger", "0.5"},
    };
    for (const auto& arguments : refused) {
        CaptureOptions options;
        options.frames = 77;
        std::string error;
        EXPECT_FALSE(Parse(arguments, &options, &error)) << testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(options.frames, 77);  // untouched on failure
    }
}

TEST(CaptureOptionsTest, ParticleDumpsAreKeptApartFromShots) {
    CaptureOptions options;
    ASSERT_TRUE(Parse({"--frames", "20", "--particles", "20=end.csv", "--shot", "5=a.png",
                       "--particles", "1=start.csv"},
                      &options));
    ASSERT_EQ(options.particleDumps.size(), 2u);
    EXPECT_EQ(options.particleDumps[0].frame, 20);
    EXPECT_EQ(options.particleDumps[0].path, "end.csv");
    EXPECT_EQ(options.particleDumps[1].frame, 1);
    ASSERT_EQ(options.shots.size(), 1u);
    EXPECT_EQ(options.shots[0].path, "a.png");
}

TEST(CaptureOptionsTest, KeysHeldFromFirstToLastInclusive) {
    CaptureOptions options;
    ASSERT_TRUE(Parse({"--frames", "10", "--hold", "up@2-4", "--hold", "RIGHT@4-4", "--hold",
                       "UP@3-6", "--hold", "Escape@10-10"},
                      &options));
    EXPECT_TRUE(KeysHeldOnFrame(options, 1).empty());
    EXPECT_EQ(KeysHeldOnFrame(options, 2), std::vector<uint8_t>{0xC8});
    EXPECT_EQ(KeysHeldOnFrame(options, 4), (std::vector<uint8_t>{0xC8, 0xCD}));
    EXPECT_EQ(KeysHeldOnFrame(options, 6), std::vector<uint8_t>{0xC8});  // overlapping holds
    EXPECT_TRUE(KeysHeldOnFrame(options, 7).empty());
    EXPECT_EQ(KeysHeldOnFrame(options, 10), std::vector<uint8_t>{0x01});
}

TEST(CaptureOptionsTest, ThePadIsScriptedBesideTheKeys) {
    CaptureOptions options;
    ASSERT_TRUE(Parse({"--frames",       "10",        "--hold",       "PAD_A@1-5", "--hold",
                       "pad_back@10-10", "--hold",    "PAD_LEFT@2-3", "--hold",    "PAD_RIGHT@3-3",
                       "--stick",        "-1@4-6",    "--stick",      "0.3@6-7",   "--trigger",
                       "0.5@1-2",        "--trigger", "1@2-2",        "--hold",    "UP@1-1"},
                      &options));
    EXPECT_EQ(KeysHeldOnFrame(options, 1), std::vector<uint8_t>{0xC8});  // pad holds apart

    const GamePadState first = PadOnFrame(options, 1);
    EXPECT_TRUE(first.southButton);
    EXPECT_FALSE(first.backButton || first.dpadLeft || first.dpadRight);
    EXPECT_EQ(first.leftStickX, 0.0f);
    // Taken down to XInput's step at or below: exactly half stays short of past half.
    EXPECT_EQ(first.rightTrigger, 127.0f / 255.0f);
    EXPECT_EQ(PadOnFrame(options, 2).rightTrigger, 1.0f);  // the later setting counts
    EXPECT_TRUE(PadOnFrame(options, 3).dpadLeft && PadOnFrame(options, 3).dpadRight);
    EXPECT_EQ(PadOnFrame(options, 4).leftStickX, -1.0f);
    EXPECT_EQ(PadOnFrame(options, 6).leftStickX, 0.3f);
    EXPECT_EQ(PadOnFrame(options, 8).leftStickX, 0.0f);
    EXPECT_EQ(PadOnFrame(options, 8).rightTrigger, 0.0f);
    EXPECT_TRUE(PadOnFrame(options, 10).backButton);
    EXPECT_FALSE(PadOnFrame(options, 10).southButton);
}

}  // namespace
