// The DirectInput 8 subset of the builds without Windows, held to DirectInput's own rules.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/directinput8.h"
#include "tests/platform_input/scripted_input_source.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(0x10);
const HWND kOtherWindow = reinterpret_cast<HWND>(0x20);
const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x30);
void* const kSentinel = reinterpret_cast<void*>(0x5EAF00D);

class DirectInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedInput::Get().Reset();
        ScriptedInput::Get().Focus(kWindow);
        ASSERT_EQ(DirectInput8Create(kInstance, 0x0800, IID_IDirectInput8A,
                                     reinterpret_cast<void**>(&input), nullptr),
                  DI_OK);
        ASSERT_NE(input, nullptr);
    }
    void TearDown() override {
        for (IDirectInputDevice8A* device : {keyboard, mouse}) {
            if (device != nullptr) {
                EXPECT_EQ(device->Release(), 0u);
            }
        }
        EXPECT_EQ(input->Release(), 0u);
    }

    IDirectInputDevice8A* Open(REFGUID guid, LPCDIDATAFORMAT format, DWORD flags) {
        IDirectInputDevice8A* device = nullptr;
        EXPECT_EQ(input->CreateDevice(guid, &device, nullptr), DI_OK);
        EXPECT_EQ(device->SetDataFormat(format), DI_OK);
        EXPECT_EQ(device->SetCooperativeLevel(kWindow, flags), DI_OK);
        return device;
    }
    void OpenKeyboard(DWORD flags = DISCL_EXCLUSIVE | DISCL_FOREGROUND) {
        keyboard = Open(GUID_SysKeyboard, &c_dfDIKeyboard, flags);
    }
    void OpenMouse(DWORD flags = DISCL_EXCLUSIVE | DISCL_FOREGROUND) {
        mouse = Open(GUID_SysMouse, &c_dfDIMouse, flags);
    }

    IDirectInput8A* input = nullptr;
    IDirectInputDevice8A* keyboard = nullptr;
    IDirectInputDevice8A* mouse = nullptr;
};

TEST(DirectInput8CreateTest, RefusesWhatDirectInput8Refuses) {
    struct Case {
        HINSTANCE instance;
        DWORD version;
        const IID* riid;
        bool outer;
        HRESULT expected;
    };
    IUnknown* outer = reinterpret_cast<IUnknown*>(0x40);
    const Case cases[] = {
        {nullptr, 0x0800, &IID_IDirectInput8A, false, DIERR_INVALIDPARAM},
        {kInstance, 0x0700, &IID_IDirectInput8A, false, DIERR_OLDDIRECTINPUTVERSION},
        {kInstance, 0x0900, &IID_IDirectInput8A, false, DIERR_BETADIRECTINPUTVERSION},
        {kInstance, 0x0800, &GUID_SysKeyboard, false, DIERR_NOINTERFACE},
        {kInstance, 0x0800, &IID_IDirectInput8A, true, DIERR_NOAGGREGATION},
    };
    for (const Case& c : cases) {
        void* out = kSentinel;
        EXPECT_EQ(
            DirectInput8Create(c.instance, c.version, *c.riid, &out, c.outer ? outer : nullptr),
            c.expected);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(DirectInput8Create(kInstance, 0x0800, IID_IDirectInput8A, nullptr, nullptr),
              DIERR_INVALIDPARAM);
}

TEST_F(DirectInputTest, DevicesHoldTheirDirectInputObjectUntilTheyGo) {
    OpenKeyboard();
    EXPECT_EQ(input->AddRef(), 3u);  // ours, the keyboard's, this one
    EXPECT_EQ(input->Release(), 2u);
    EXPECT_EQ(keyboard->AddRef(), 2u);
    EXPECT_EQ(keyboard->Release(), 1u);
}

TEST_F(DirectInputTest, OnlyTheSystemKeyboardAndMouseExist) {
    IDirectInputDevice8A* device = reinterpret_cast<IDirectInputDevice8A*>(kSentinel);
    EXPECT_EQ(input->CreateDevice(GUID_Key, &device, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(input->CreateDevice(GUID_SysMouse, nullptr, nullptr), DIERR_INVALIDPARAM);
}

TEST_F(DirectInputTest, EachDeviceTakesItsOwnFormatOrAnExactCopy) {
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM);  // no format yet
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIMouse), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetDataFormat(nullptr), DIERR_INVALIDPARAM);

    DIDATAFORMAT copy = c_dfDIKeyboard;
    EXPECT_EQ(keyboard->SetDataFormat(&copy), DI_OK);
    copy.dwDataSize = 128;
    EXPECT_EQ(keyboard->SetDataFormat(&copy), DIERR_INVALIDPARAM);
}

TEST_F(DirectInputTest, CooperativeLevelsFollowDirectInputsRules) {
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
    EXPECT_EQ(keyboard->SetCooperativeLevel(kWindow, DISCL_EXCLUSIVE), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(
                  kWindow, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
              DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(kWindow, DISCL_EXCLUSIVE | DISCL_BACKGROUND),
              DIERR_UNSUPPORTED);
    EXPECT_EQ(keyboard->SetCooperativeLevel(nullptr, DISCL_EXCLUSIVE | DISCL_FOREGROUND), E_HANDLE);
    EXPECT_EQ(
        keyboard->SetCooperativeLevel(kWindow, DISCL_EXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY),
        DI_OK);
}

TEST_F(DirectInputTest, NothingChangesWhileAcquired) {
    OpenKeyboard();
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), DI_NOEFFECT);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
    EXPECT_EQ(keyboard->SetCooperativeLevel(kWindow, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND),
              DIERR_ACQUIRED);
    EXPECT_EQ(keyboard->Unacquire(), DI_OK);
    EXPECT_EQ(keyboard->Unacquire(), DI_NOEFFECT);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
}

TEST_F(DirectInputTest, HeldKeysReadWithTheTopBitAndTheRestZero) {
    OpenKeyboard();
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    ScriptedInput::Get().held[DIK_UP] = true;
    ScriptedInput::Get().held[DIK_ESCAPE] = true;
    BYTE keys[256];
    std::memset(keys, 0x55, sizeof(keys));
    ASSERT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(keys[code], code == DIK_UP || code == DIK_ESCAPE ? 0x80 : 0) << code;
    }
}

TEST_F(DirectInputTest, AReadOfTheWrongSizeOrWithoutAcquisitionFailsAndWritesNothing) {
    OpenKeyboard();
    BYTE keys[256];
    std::memset(keys, 0x55, sizeof(keys));
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DIERR_NOTACQUIRED);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->GetDeviceState(128, keys), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), nullptr), DIERR_INVALIDPARAM);
    EXPECT_EQ(keys[0], 0x55);
    EXPECT_EQ(keys[255], 0x55);
}

TEST_F(DirectInputTest, ForegroundDevicesNeedTheFocusAndAreLostWithIt) {
    OpenKeyboard();
    ScriptedInput::Get().Focus(kOtherWindow);
    EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);

    ScriptedInput::Get().Focus(kWindow);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    BYTE keys[256];
    ASSERT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);

    ScriptedInput::Get().Unfocus();
    std::memset(keys, 0x55, sizeof(keys));
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DIERR_NOTACQUIRED);
    EXPECT_EQ(keys[0], 0x55);
    EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);

    ScriptedInput::Get().Focus(kWindow);
    EXPECT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
}

TEST_F(DirectInputTest, AFocusLossIsNoticedEvenWhenTheFocusCameBackBeforeTheRead) {
    OpenKeyboard();
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    ScriptedInput::Get().Unfocus();
    ScriptedInput::Get().Focus(kWindow);
    BYTE keys[256];
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
}

TEST_F(DirectInputTest, BackgroundDevicesReadWithoutTheFocus) {
    OpenKeyboard(DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
    ScriptedInput::Get().Unfocus();
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    BYTE keys[256];
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(keys), keys), DI_OK);
}

TEST_F(DirectInputTest, TheMouseReportsMotionSinceAcquisitionAndTheButtons) {
    OpenMouse();
    ScriptedInput::Get().mouse = DIMOUSESTATE{50, 50, 0, {0, 0, 0, 0}};  // before acquisition
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    ScriptedInput::Get().mouse = DIMOUSESTATE{3, -2, 120, {0, 0x80, 0, 0}};
    DIMOUSESTATE state;
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 3);
    EXPECT_EQ(state.lY, -2);
    EXPECT_EQ(state.lZ, 120);
    EXPECT_EQ(state.rgbButtons[1], 0x80);
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 0);
}

TEST_F(DirectInputTest, TheExclusiveMouseHidesThePointerOnlyWhileAcquired) {
    OpenMouse();
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    EXPECT_TRUE(ScriptedInput::Get().pointerHidden);
    ScriptedInput::Get().Unfocus();
    DIMOUSESTATE state;
    EXPECT_EQ(mouse->GetDeviceState(sizeof(state), &state), DIERR_INPUTLOST);
    EXPECT_FALSE(ScriptedInput::Get().pointerHidden);

    ScriptedInput::Get().Focus(kWindow);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    EXPECT_TRUE(ScriptedInput::Get().pointerHidden);
    EXPECT_EQ(mouse->Release(), 0u);
    mouse = nullptr;
    EXPECT_FALSE(ScriptedInput::Get().pointerHidden);
}

TEST(DirectInputFormatsTest, KeyboardAndMouseFormatsHaveTheStandardLayout) {
    EXPECT_EQ(c_dfDIKeyboard.dwDataSize, 256u);
    EXPECT_EQ(c_dfDIKeyboard.dwNumObjs, 256u);
    EXPECT_EQ(c_dfDIKeyboard.dwFlags, DIDF_RELAXIS);
    for (DWORD code = 0; code < 256; ++code) {
        ASSERT_EQ(c_dfDIKeyboard.rgodf[code].dwOfs, code);
        ASSERT_EQ(*c_dfDIKeyboard.rgodf[code].pguid, GUID_Key);
    }
    EXPECT_EQ(c_dfDIMouse.dwDataSize, sizeof(DIMOUSESTATE));
    EXPECT_EQ(c_dfDIMouse.dwNumObjs, 7u);
    EXPECT_EQ(c_dfDIMouse.dwFlags, DIDF_RELAXIS);
    EXPECT_EQ(c_dfDIMouse.rgodf[2].dwOfs, 8u);  // the wheel
    EXPECT_EQ(c_dfDIMouse.rgodf[6].dwOfs, 15u);
}

}  // namespace
