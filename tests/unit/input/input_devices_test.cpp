#include "input/input_devices.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/fake_direct_input.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(0x1);

const std::vector<std::string> kCreateCalls = {
    "DirectInput8Create(instance, 0x800, IID_IDirectInput8A, null)",
    "IDirectInput8A::CreateDevice(GUID_SysKeyboard, null)",
    "IDirectInput8A::CreateDevice(GUID_SysMouse, null)",
    "IDirectInputDevice8A::SetDataFormat(keyboard#1, c_dfDIKeyboard)",
    "IDirectInputDevice8A::SetDataFormat(mouse#1, c_dfDIMouse)",
    "IDirectInputDevice8A::SetCooperativeLevel(keyboard#1, window, 0x5)",
    "IDirectInputDevice8A::SetCooperativeLevel(mouse#1, window, 0x5)",
    "IDirectInputDevice8A::Acquire(keyboard#1)",
    "IDirectInputDevice8A::Acquire(mouse#1)",
};

class InputDevicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog::Get().Reset();
        FakeInput::Get().Restore();
        std::memset(keys, 0xAA, sizeof(keys));
        std::memset(&mouse, 0xAA, sizeof(mouse));
    }
    void TearDown() override {
        devices.Release();
        EXPECT_EQ(FakeInputLiveObjects(), 0);
    }

    bool KeysAll(BYTE value) const {
        for (BYTE key : keys) {
            if (key != value) {
                return false;
            }
        }
        return true;
    }

    InputDevices devices;
    BYTE keys[256];
    DIMOUSESTATE mouse;
};

TEST_F(InputDevicesTest, CreateOpensKeyboardAndMouseExclusivelyInTheForeground) {
    EXPECT_EQ(devices.Create(kWindow), S_OK);
    EXPECT_EQ(CallLog::Get().Texts(), kCreateCalls);
    EXPECT_EQ(FakeInputLiveObjects(), 3);
}

TEST_F(InputDevicesTest, AFailingDirectInput8CreateIsReturnedWithNothingToRelease) {
    CallLog::Get().FailNth("DirectInput8Create", 1, DIERR_OLDDIRECTINPUTVERSION);
    EXPECT_EQ(devices.Create(kWindow), DIERR_OLDDIRECTINPUTVERSION);
    EXPECT_EQ(CallLog::Get().Calls().size(), 1u);
}

// Steps 2 to 9 of creation, each failing in turn.
class InputDevicesCreateStepTest : public InputDevicesTest,
                                   public ::testing::WithParamInterface<size_t> {};

TEST_P(InputDevicesCreateStepTest, AFailingStepReleasesEverythingAndIsReturned) {
    const size_t step = GetParam();
    const std::string call = kCreateCalls[step];
    const std::string callName = call.substr(0, call.find('('));
    // The step is the nth call of its name within creation.
    int nth = 0;
    for (size_t i = 0; i <= step; ++i) {
        if (kCreateCalls[i].compare(0, callName.size() + 1, callName + "(") == 0) {
            ++nth;
        }
    }
    const HRESULT failure = static_cast<HRESULT>(0x80070000u + static_cast<unsigned>(step));
    CallLog::Get().FailNth(callName, nth, failure);

    EXPECT_EQ(devices.Create(kWindow), failure);
    EXPECT_EQ(FakeInputLiveObjects(), 0);
    const std::vector<std::string> calls = CallLog::Get().Texts();
    ASSERT_GT(calls.size(), step);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + step + 1),
              std::vector<std::string>(kCreateCalls.begin(), kCreateCalls.begin() + step + 1));

    // Every reference is gone: a later release touches nothing.
    CallLog::Get().ClearCalls();
    EXPECT_EQ(devices.Release(), S_OK);
    EXPECT_TRUE(CallLog::Get().Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryStep, InputDevicesCreateStepTest,
                         ::testing::Range(size_t{1}, size_t{9}));

TEST_F(InputDevicesTest, ReleaseGoesMouseKeyboardThenDirectInputAndTwiceIsHarmless) {
    ASSERT_EQ(devices.Create(kWindow), S_OK);
    CallLog::Get().ClearCalls();
    EXPECT_EQ(devices.Release(), S_OK);
    EXPECT_EQ(CallLog::Get().Texts(), (std::vector<std::string>{
                                          "IDirectInputDevice8A::Unacquire(mouse#1)",
                                          "IDirectInputDevice8A::Release(mouse#1)",
                                          "IDirectInputDevice8A::Unacquire(keyboard#1)",
                                          "IDirectInputDevice8A::Release(keyboard#1)",
                                          "IDirectInput8A::Release(dinput#1)",
                                      }));
    CallLog::Get().ClearCalls();
    EXPECT_EQ(devices.Release(), S_OK);
    EXPECT_TRUE(CallLog::Get().Calls().empty());
}

TEST_F(InputDevicesTest, ReadDeliversTheKeysAndTheMouse) {
    ASSERT_EQ(devices.Create(kWindow), S_OK);
    FakeInput::Get().SetKey(DIK_UP, 0x80);
    FakeInput::Get().SetKey(DIK_ESCAPE, 0xFF);
    FakeInput::Get().mouse = DIMOUSESTATE{3, -4, 120, {0x80, 0, 0, 0}};
    CallLog::Get().ClearCalls();

    EXPECT_EQ(devices.Read(keys, &mouse), S_OK);
    EXPECT_EQ(keys[DIK_UP], 0x80);
    EXPECT_EQ(keys[DIK_ESCAPE], 0xFF);
    EXPECT_EQ(keys[DIK_LEFT], 0);
    EXPECT_EQ(mouse.lX, 3);
    EXPECT_EQ(mouse.lY, -4);
    EXPECT_EQ(mouse.lZ, 120);
    EXPECT_EQ(mouse.rgbButtons[0], 0x80);
    EXPECT_EQ(CallLog::Get().Texts(), (std::vector<std::string>{
                                          "IDirectInputDevice8A::GetDeviceState(keyboard#1, 256)",
                                          "IDirectInputDevice8A::GetDeviceState(mouse#1, 16)",
                                      }));
}

TEST_F(InputDevicesTest, AFailedKeyboardReadBringsAFreshSetOfDevicesAndNoKeyState) {
    ASSERT_EQ(devices.Create(kWindow), S_OK);
    FakeInput::Get().SetKey(DIK_UP, 0x80);
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("IDirectInputDevice8A::GetDeviceState", 1, DIERR_GENERIC);

    EXPECT_EQ(devices.Read(keys, &mouse), S_OK);
    std::vector<std::string> expected = {
        "IDirectInputDevice8A::GetDeviceState(keyboard#1, 256)",
        "IDirectInputDevice8A::Unacquire(mouse#1)",
        "IDirectInputDevice8A::Release(mouse#1)",
        "IDirectInputDevice8A::Unacquire(keyboard#1)",
        "IDirectInputDevice8A::Release(keyboard#1)",
        "IDirectInput8A::Release(dinput#1)",
    };
    for (std::string call : kCreateCalls) {
        const size_t serial = call.find("#1");
        if (serial != std::string::npos) {
            call.replace(serial, 2, "#2");
        }
        expected.push_back(call);
    }
    EXPECT_EQ(CallLog::Get().Texts(), expected);
    // No state was delivered: nothing counts as held, the mouse is still.
    EXPECT_TRUE(KeysAll(0));
    EXPECT_EQ(mouse.lX, 0);
    EXPECT_EQ(mouse.rgbButtons[0], 0);
    EXPECT_EQ(FakeInputLiveObjects(), 3);

    EXPECT_EQ(devices.Read(keys, &mouse), S_OK);
    EXPECT_EQ(keys[DIK_UP], 0x80);
}

TEST_F(InputDevicesTest, AFailedMouseReadIsReturnedWithoutRecovery) {
    ASSERT_EQ(devices.Create(kWindow), S_OK);
    CallLog::Get().ClearCalls();
    CallLog::Get().FailNth("IDirectInputDevice8A::GetDeviceState", 2, DIERR_INPUTLOST);
    EXPECT_EQ(devices.Read(keys, &mouse), DIERR_INPUTLOST);
    EXPECT_EQ(CallLog::Get().Count("IDirectInputDevice8A::Release"), 0);
    EXPECT_EQ(CallLog::Get().Count("DirectInput8Create"), 0);
}

TEST_F(InputDevicesTest, InTheBackgroundReadFailsAndRetriesCreationEveryFrameUntilFocusReturns) {
    ASSERT_EQ(devices.Create(kWindow), S_OK);
    FakeInput::Get().SetKey(DIK_UP, 0x80);
    FakeInput::Get().LoseFocus();

    // The lost keyboard triggers a recovery, which cannot acquire in the background.
    EXPECT_EQ(devices.Read(keys, &mouse), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(FakeInputLiveObjects(), 0);

    // Absent devices are never called; creation is tried again on each frame.
    for (int frame = 0; frame < 3; ++frame) {
        CallLog::Get().ClearCalls();
        EXPECT_EQ(devices.Read(keys, &mouse), DIERR_OTHERAPPHASPRIO);
        EXPECT_EQ(CallLog::Get().Count("DirectInput8Create"), 1);
        EXPECT_EQ(CallLog::Get().Count("IDirectInputDevice8A::GetDeviceState"), 0);
        EXPECT_EQ(FakeInputLiveObjects(), 0);
    }

    FakeInput::Get().FocusWindow();
    std::memset(keys, 0xAA, sizeof(keys));
    EXPECT_EQ(devices.Read(keys, &mouse), S_OK);
    EXPECT_TRUE(KeysAll(0));
    EXPECT_EQ(devices.Read(keys, &mouse), S_OK);
    EXPECT_EQ(keys[DIK_UP], 0x80);
}

// A desktop that hands the focus over late, or keeps it with another window, starts the game
// without it: the devices wait for it as after a focus loss, whichever device says so and
// however (real DirectInput says "another application has priority"; some say "not acquired").
TEST_F(InputDevicesTest, WithoutTheFocusAtStartCreateSucceedsAndReadAcquiresOnceItComes) {
    FakeInput::Get().SetKey(DIK_UP, 0x80);
    FakeInput::Get().LoseFocus();
    EXPECT_EQ(devices.Create(kWindow), S_OK);
    EXPECT_EQ(FakeInputLiveObjects(), 0);
    EXPECT_EQ(devices.Read(keys, &mouse), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(FakeInputLiveObjects(), 0);

    FakeInput::Get().FocusWindow();
    EXPECT_EQ(devices.Read(keys, &mouse), S_OK);
    EXPECT_TRUE(KeysAll(0));
    EXPECT_EQ(devices.Read(keys, &mouse), S_OK);
    EXPECT_EQ(keys[DIK_UP], 0x80);

    // The keyboard's Acquire, then the mouse's.
    for (int nth : {1, 2}) {
        ASSERT_EQ(devices.Release(), S_OK);
        CallLog::Get().FailNth("IDirectInputDevice8A::Acquire", nth, DIERR_NOTACQUIRED);
        EXPECT_EQ(devices.Create(kWindow), S_OK) << nth;
        EXPECT_EQ(FakeInputLiveObjects(), 0) << nth;
        EXPECT_EQ(devices.Read(keys, &mouse), S_OK) << nth;
        EXPECT_EQ(FakeInputLiveObjects(), 3) << nth;
    }
}

// Only the focus is waited for: the same answers from any step but Acquire, or any other answer
// from Acquire, still end the start.
TEST_F(InputDevicesTest, OtherFailuresAtStartAreReturnedEvenWhereTheFocusIsMissing) {
    FakeInput::Get().LoseFocus();
    CallLog::Get().FailNth("IDirectInputDevice8A::SetCooperativeLevel", 1, DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(devices.Create(kWindow), DIERR_OTHERAPPHASPRIO);
    FakeInput::Get().FocusWindow();
    CallLog::Get().Reset();
    CallLog::Get().FailNth("IDirectInputDevice8A::Acquire", 2, DIERR_INPUTLOST);
    EXPECT_EQ(devices.Create(kWindow), DIERR_INPUTLOST);
    EXPECT_EQ(FakeInputLiveObjects(), 0);
}

}  // namespace
