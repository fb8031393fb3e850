#include "input/input_devices.h"

#include <cstring>

namespace {

const DWORD kCooperativeFlags = DISCL_EXCLUSIVE | DISCL_FOREGROUND;
const DWORD kKeyStateSize = 256;

// What Acquire says of a foreground device while another window has the focus.
bool LacksTheFocus(HRESULT acquired) {
    return acquired == DIERR_OTHERAPPHASPRIO || acquired == DIERR_NOTACQUIRED;
}

}  // namespace

InputDevices::InputDevices()
    : directInput(nullptr), keyboard(nullptr), mouse(nullptr), window(nullptr), lastResult(S_OK) {}

InputDevices::~InputDevices() {
    Release();
}

HRESULT InputDevices::Create(HWND newWindow) {
    Release();
    window = newWindow;
    bool atAcquire = false;
    const HRESULT opened = Open(&atAcquire);
    return atAcquire && LacksTheFocus(opened) ? S_OK : opened;
}

HRESULT InputDevices::Open(bool* atAcquire) {
    *atAcquire = false;
    lastResult =
        DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                           reinterpret_cast<void**>(&directInput), nullptr);
    if (FAILED(lastResult)) {
        directInput = nullptr;
        return lastResult;
    }

    // Each step in turn; the first failure undoes everything and is what the caller sees.
    const auto failed = [this](HRESULT result) {
        lastResult = result;
        return FAILED(result);
    };
    if (failed(directInput->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr)) ||
        failed(directInput->CreateDevice(GUID_SysMouse, &mouse, nullptr)) ||
        failed(keyboard->SetDataFormat(&c_dfDIKeyboard)) ||
        failed(mouse->SetDataFormat(&c_dfDIMouse)) ||
        failed(keyboard->SetCooperativeLevel(window, kCooperativeFlags)) ||
        failed(mouse->SetCooperativeLevel(window, kCooperativeFlags))) {
        const HRESULT failure = lastResult;
        Release();
        return failure;
    }
    if (failed(keyboard->Acquire()) || failed(mouse->Acquire())) {
        const HRESULT failure = lastResult;
        *atAcquire = true;
        Release();
        return failure;
    }
    return S_OK;
}

HRESULT InputDevices::Read(BYTE keys[256], DIMOUSESTATE* mouseState) {
    if (keyboard == nullptr) {
        // An earlier recovery failed (the window is in the background): never touch absent
        // devices, skip this frame, and try again on the next one until the window is back.
        return Recover(keys, mouseState);
    }
    lastResult = keyboard->GetDeviceState(kKeyStateSize, keys);
    if (FAILED(lastResult)) {
        // Lost input, not acquired or anything else: start again with a fresh set of devices.
        lastResult = Release();
        if (FAILED(lastResult)) {
            return lastResult;
        }
        return Recover(keys, mouseState);
    }
    lastResult = mouse->GetDeviceState(sizeof(DIMOUSESTATE), mouseState);
    if (FAILED(lastResult)) {
        return lastResult;
    }
    return S_OK;
}

HRESULT InputDevices::Recover(BYTE keys[256], DIMOUSESTATE* mouseState) {
    bool atAcquire = false;
    const HRESULT opened = Open(&atAcquire);
    if (FAILED(opened)) {
        return opened;
    }
    std::memset(keys, 0, kKeyStateSize);
    std::memset(mouseState, 0, sizeof(*mouseState));
    return S_OK;
}

HRESULT InputDevices::Release() {
    if (mouse != nullptr) {
        lastResult = mouse->Unacquire();
        if (FAILED(lastResult)) {
            return lastResult;
        }
        lastResult = static_cast<HRESULT>(mouse->Release());
        if (FAILED(lastResult)) {
            return lastResult;
        }
        mouse = nullptr;
    }
    if (keyboard != nullptr) {
        lastResult = keyboard->Unacquire();
        if (FAILED(lastResult)) {
            return lastResult;
        }
        lastResult = static_cast<HRESULT>(keyboard->Release());
        if (FAILED(lastResult)) {
            return lastResult;
        }
        keyboard = nullptr;
    }
    if (directInput != nullptr) {
        lastResult = static_cast<HRESULT>(directInput->Release());
        if (FAILED(lastResult)) {
            return lastResult;
        }
        directInput = nullptr;
    }
    return S_OK;
}
