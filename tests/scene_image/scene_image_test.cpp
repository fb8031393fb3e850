// The game's own frames from the generated world, drawn through the OpenGL layer without a window,
// checked for what must be on the screen: sky above, water over the sand, the spray adding light,
// palms standing with their black background keyed away.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "app/game_app.h"
#include "platform/directinput8.h"
#include "platform/gl/gl_device.h"
#include "platform/posix/system_clock.h"
#include "platform/scripted_keyboard.h"

namespace {

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;

    const uint8_t* At(int x, int y) const {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }

    // Pixels in the rectangle for which the test holds.
    template <typename Test>
    int Count(int left, int top, int right, int bottom, Test test) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const uint8_t* p = At(x, y);
                count += test(p[0], p[1], p[2]) ? 1 : 0;
            }
        }
        return count;
    }
};

struct HeldKey {
    BYTE key;
    int first;
    int last;
};

// Runs the game for `frames` frames with keys held as given and returns the last picture.
Frame Play(int frames, const std::vector<HeldKey>& keys) {
    Frame frame;
    FixSystemClock(20000);
    GameApp app;
    int window = 0;
    if (!app.Init(reinterpret_cast<HWND>(&window))) {
        ADD_FAILURE() << "the game did not start (run from the build directory, beside data/)";
        app.Shutdown();
        return frame;
    }
    for (int f = 1; f <= frames; ++f) {
        ScriptedKeyboardReleaseAll();
        for (const HeldKey& held : keys) {
            if (f >= held.first && f <= held.last) {
                ScriptedKeyboardSetHeld(held.key, true);
            }
        }
        app.Frame();
    }
    ScriptedKeyboardReleaseAll();
    dynamic_cast<GlDevice*>(app.GetDevice())
        ->ReadBackBuffer(&frame.rgba, &frame.width, &frame.height);
    app.Shutdown();
    ReleaseSystemClock();
    return frame;
}

bool Bluish(int r, int g, int b) {
    return b > r + 40 && b > g;
}
// Red light added over a bright blue sky: leaves and trunks are red or brown on little blue.
bool Glowing(int r, int, int b) {
    return r > b + 10 && b > 150;
}
bool Black(int r, int g, int b) {
    return r == 0 && g == 0 && b == 0;
}
bool Leafy(int r, int g, int b) {
    return g > r + 40 && g > b + 20;
}
bool Sea(int r, int g, int b) {
    return g > r + 50 && b > r + 50;
}

class SceneImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists("data/level.ms3d")) {
            GTEST_SKIP() << "no generated data/ in the working directory";
        }
    }
};

TEST_F(SceneImageTest, TheStartViewHasSkyAboveAndWaterOverTheSand) {
    const Frame frame = Play(3, {});
    ASSERT_EQ(frame.width, 1024);
    // The sky cube fills the top of the picture: blue, not the grey of the clear.
    EXPECT_GT(frame.Count(300, 0, 1024, 100, Bluish), 700 * 100 * 9 / 10);
    // Below the horizon, in front of the camera, the turquoise of the water blended over the
    // sand, not the sand itself.
    EXPECT_GT(frame.Count(400, 600, 1024, 768, Sea), 624 * 168 * 7 / 10);
}

TEST_F(SceneImageTest, TheSprayAddsWarmLightOverTheSky) {
    // Turned towards the volcano, its spray brightens the blue sky towards red.
    const Frame volcano = Play(55, {{DIK_UP, 1, 20}, {DIK_LEFT, 18, 38}});
    // Turned east, away from it, the sky stays blue.
    const Frame east = Play(70, {{DIK_UP, 1, 20}, {DIK_RIGHT, 18, 48}});
    ASSERT_EQ(volcano.width, 1024);
    ASSERT_EQ(east.width, 1024);
    EXPECT_GT(volcano.Count(0, 0, 1024, 300, Glowing), 5000);
    EXPECT_LT(east.Count(0, 0, 1024, 300, Glowing), 500);
}

TEST_F(SceneImageTest, PalmsStandWithTheirBlackKeyedAway) {
    const Frame trees = Play(150, {{DIK_UP, 1, 150}, {DIK_RIGHT, 125, 150}});
    ASSERT_EQ(trees.width, 1024);
    EXPECT_GT(trees.Count(0, 0, 512, 400, Leafy), 2000);
    // Keyed texels drawn would blacken half of every palm's triangle. Only a few edge texels,
    // darkened where the resampling mixed the key into them, may show black.
    EXPECT_LT(trees.Count(0, 0, 1024, 768, Black), 500);
}

}  // namespace
