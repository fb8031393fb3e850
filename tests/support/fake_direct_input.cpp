#include "tests/support/fake_direct_input.h"

#include <cstring>
#include <set>

namespace {

int liveObjects = 0;

class FakeDevice;
std::set<FakeDevice*>& Devices() {
    static std::set<FakeDevice*> devices;
    return devices;
}

std::string ArgGuid(REFGUID guid) {
    if (guid == GUID_SysKeyboard) {
        return "GUID_SysKeyboard";
    }
    if (guid == GUID_SysMouse) {
        return "GUID_SysMouse";
    }
    return "other";
}

std::string ArgFormat(LPCDIDATAFORMAT format) {
    if (format == &c_dfDIKeyboard) {
        return "c_dfDIKeyboard";
    }
    if (format == &c_dfDIMouse) {
        return "c_dfDIMouse";
    }
    return format == nullptr ? "null" : "other";
}

class FakeDevice final : public IDirectInputDevice8A {
public:
    FakeDevice(bool isKeyboard)
        : isKeyboard(isKeyboard),
          references(1),
          dataSize(0),
          foreground(false),
          acquired(false),
          lost(false) {
        ++liveObjects;
        RegisterObjectName(this, isKeyboard ? "keyboard" : "mouse");
        Devices().insert(this);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        CallLog::Get().Record("IDirectInputDevice8A::Release", {ObjectName(this)});
        const ULONG remaining = --references;
        if (remaining == 0) {
            delete this;
        }
        return remaining;
    }

    HRESULT STDMETHODCALLTYPE Acquire() override {
        const HRESULT result =
            CallLog::Get().Record("IDirectInputDevice8A::Acquire", {ObjectName(this)});
        if (FAILED(result)) {
            return result;
        }
        if (dataSize == 0) {
            return DIERR_INVALIDPARAM;
        }
        if (acquired) {
            return DI_NOEFFECT;
        }
        if (foreground && !FakeInput::Get().focused) {
            return DIERR_OTHERAPPHASPRIO;
        }
        acquired = true;
        lost = false;
        return DI_OK;
    }

    HRESULT STDMETHODCALLTYPE Unacquire() override {
        const HRESULT result =
            CallLog::Get().Record("IDirectInputDevice8A::Unacquire", {ObjectName(this)});
        if (FAILED(result)) {
            return result;
        }
        lost = false;
        if (!acquired) {
            return DI_NOEFFECT;
        }
        acquired = false;
        return DI_OK;
    }

    HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD size, LPVOID data) override {
        const HRESULT result = CallLog::Get().Record("IDirectInputDevice8A::GetDeviceState",
                                                     {ObjectName(this), ArgOf(size)});
        if (FAILED(result)) {
            return result;
        }
        if (!acquired) {
            if (lost) {
                lost = false;
                return DIERR_INPUTLOST;
            }
            return DIERR_NOTACQUIRED;
        }
        if (data == nullptr || size != dataSize) {
            return DIERR_INVALIDPARAM;
        }
        if (isKeyboard) {
            std::memcpy(data, FakeInput::Get().keys.data(), 256);
        } else {
            std::memcpy(data, &FakeInput::Get().mouse, sizeof(DIMOUSESTATE));
        }
        return DI_OK;
    }

    HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT format) override {
        const HRESULT result = CallLog::Get().Record("IDirectInputDevice8A::SetDataFormat",
                                                     {ObjectName(this), ArgFormat(format)});
        if (FAILED(result)) {
            return result;
        }
        if (acquired) {
            return DIERR_ACQUIRED;
        }
        if (format != (isKeyboard ? &c_dfDIKeyboard : &c_dfDIMouse)) {
            return DIERR_INVALIDPARAM;
        }
        dataSize = format->dwDataSize;
        return DI_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override {
        const HRESULT result = CallLog::Get().Record(
            "IDirectInputDevice8A::SetCooperativeLevel",
            {ObjectName(this), window == nullptr ? "null" : "window", ArgHex(flags)});
        if (FAILED(result)) {
            return result;
        }
        if (acquired) {
            return DIERR_ACQUIRED;
        }
        foreground = (flags & DISCL_FOREGROUND) != 0;
        return DI_OK;
    }

    void FocusLost() {
        if (acquired && foreground) {
            acquired = false;
            lost = true;
        }
    }

private:
    ~FakeDevice() {
        Devices().erase(this);
        ForgetObjectName(this);
        --liveObjects;
    }

    bool isKeyboard;
    ULONG references;
    DWORD dataSize;
    bool foreground;
    bool acquired;
    bool lost;
};

class FakeDirectInput final : public IDirectInput8A {
public:
    FakeDirectInput() : references(1) {
        ++liveObjects;
        RegisterObjectName(this, "dinput");
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        CallLog::Get().Record("IDirectInput8A::Release", {ObjectName(this)});
        const ULONG remaining = --references;
        if (remaining == 0) {
            delete this;
        }
        return remaining;
    }

    HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* device,
                                           LPUNKNOWN outer) override {
        const HRESULT result = CallLog::Get().Record(
            "IDirectInput8A::CreateDevice", {ArgGuid(guid), outer == nullptr ? "null" : "outer"});
        *device = nullptr;
        if (FAILED(result)) {
            return result;
        }
        if (guid == GUID_SysKeyboard || guid == GUID_SysMouse) {
            *device = new FakeDevice(guid == GUID_SysKeyboard);
            return DI_OK;
        }
        return DIERR_DEVICENOTREG;
    }

private:
    ~FakeDirectInput() {
        ForgetObjectName(this);
        --liveObjects;
    }

    ULONG references;
};

}  // namespace

HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid, LPVOID* out,
                                  LPUNKNOWN outer) {
    const HRESULT result = CallLog::Get().Record(
        "DirectInput8Create", {instance == nullptr ? "null" : "instance", ArgHex(version),
                               riid == IID_IDirectInput8A ? "IID_IDirectInput8A" : "other",
                               outer == nullptr ? "null" : "outer"});
    *out = nullptr;
    if (FAILED(result)) {
        return result;
    }
    *out = static_cast<IDirectInput8A*>(new FakeDirectInput());
    return DI_OK;
}

FakeInput& FakeInput::Get() {
    static FakeInput input = [] {
        FakeInput fresh;
        fresh.Restore();
        return fresh;
    }();
    return input;
}

void FakeInput::Restore() {
    keys.fill(0);
    std::memset(&mouse, 0, sizeof(mouse));
    focused = true;
}

void FakeInput::LoseFocus() {
    focused = false;
    for (FakeDevice* device : Devices()) {
        device->FocusLost();
    }
}

int FakeInputLiveObjects() {
    return liveObjects;
}
