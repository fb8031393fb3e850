#include "platform/dinput/direct_input_device.h"

#include "platform/dinput/direct_input_object.h"
#include "platform/dinput/input_source.h"

namespace {

bool SameGuid(const GUID* a, const GUID* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    return *a == *b;
}

// A copy of a predefined format is as good as the original, as with DirectInput.
bool SameFormat(const DIDATAFORMAT& a, const DIDATAFORMAT& b) {
    if (a.dwSize != b.dwSize || a.dwObjSize != b.dwObjSize || a.dwFlags != b.dwFlags ||
        a.dwDataSize != b.dwDataSize || a.dwNumObjs != b.dwNumObjs) {
        return false;
    }
    if (a.dwNumObjs > 0 && (a.rgodf == nullptr || b.rgodf == nullptr)) {
        return false;
    }
    for (DWORD i = 0; i < a.dwNumObjs; ++i) {
        const DIOBJECTDATAFORMAT& x = a.rgodf[i];
        const DIOBJECTDATAFORMAT& y = b.rgodf[i];
        if (!SameGuid(x.pguid, y.pguid) || x.dwOfs != y.dwOfs || x.dwType != y.dwType ||
            x.dwFlags != y.dwFlags) {
            return false;
        }
    }
    return true;
}

}  // namespace

DirectInputDevice::DirectInputDevice(DirectInputObject* parent, Kind kind)
    : parent(parent),
      kind(kind),
      references(1),
      dataSize(0),
      window(nullptr),
      cooperativeFlags(DISCL_NONEXCLUSIVE | DISCL_BACKGROUND),
      acquired(false),
      lost(false),
      focusLossesAtAcquire(0),
      pointerHidden(false) {
    parent->AddRef();
}

DirectInputDevice::~DirectInputDevice() {
    EndAcquisition();
    parent->Release();
}

HRESULT STDMETHODCALLTYPE DirectInputDevice::QueryInterface(REFIID, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DirectInputDevice::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE DirectInputDevice::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

void DirectInputDevice::NoticeFocusLoss() {
    if (!acquired || (cooperativeFlags & DISCL_FOREGROUND) == 0) {
        return;
    }
    if (InputSourceFocusLosses() != focusLossesAtAcquire || !InputSourceHasFocus(window)) {
        EndAcquisition();
        lost = true;
    }
}

void DirectInputDevice::EndAcquisition() {
    acquired = false;
    if (pointerHidden) {
        InputSourceHidePointer(false);
        pointerHidden = false;
    }
}

HRESULT STDMETHODCALLTYPE DirectInputDevice::Acquire() {
    if (dataSize == 0) {
        return DIERR_INVALIDPARAM;
    }
    NoticeFocusLoss();
    if (acquired) {
        return DI_NOEFFECT;
    }
    if ((cooperativeFlags & DISCL_FOREGROUND) != 0 && !InputSourceHasFocus(window)) {
        return DIERR_OTHERAPPHASPRIO;
    }
    acquired = true;
    lost = false;
    focusLossesAtAcquire = InputSourceFocusLosses();
    if (kind == Kind::Mouse) {
        // The first read reports the motion since acquisition, not what came before.
        DIMOUSESTATE discarded;
        InputSourceTakeMouse(&discarded);
        if ((cooperativeFlags & DISCL_EXCLUSIVE) != 0) {
            InputSourceHidePointer(true);
            pointerHidden = true;
        }
    }
    return DI_OK;
}

HRESULT STDMETHODCALLTYPE DirectInputDevice::Unacquire() {
    NoticeFocusLoss();
    lost = false;
    if (!acquired) {
        return DI_NOEFFECT;
    }
    EndAcquisition();
    return DI_OK;
}

HRESULT STDMETHODCALLTYPE DirectInputDevice::GetDeviceState(DWORD size, LPVOID data) {
    if (data == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    NoticeFocusLoss();
    if (!acquired) {
        if (lost) {
            lost = false;
            return DIERR_INPUTLOST;
        }
        return DIERR_NOTACQUIRED;
    }
    if (size != dataSize) {
        return DIERR_INVALIDPARAM;
    }
    if (kind == Kind::Keyboard) {
        InputSourceReadKeys(static_cast<BYTE*>(data));
    } else {
        InputSourceTakeMouse(static_cast<DIMOUSESTATE*>(data));
    }
    return DI_OK;
}

HRESULT STDMETHODCALLTYPE DirectInputDevice::SetDataFormat(LPCDIDATAFORMAT format) {
    if (format == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    NoticeFocusLoss();
    if (acquired) {
        return DIERR_ACQUIRED;
    }
    // Each device delivers only its own predefined layout.
    const DIDATAFORMAT& expected = kind == Kind::Keyboard ? c_dfDIKeyboard : c_dfDIMouse;
    if (!SameFormat(*format, expected)) {
        return DIERR_INVALIDPARAM;
    }
    dataSize = expected.dwDataSize;
    return DI_OK;
}

HRESULT STDMETHODCALLTYPE DirectInputDevice::SetCooperativeLevel(HWND newWindow, DWORD flags) {
    NoticeFocusLoss();
    if (acquired) {
        return DIERR_ACQUIRED;
    }
    const DWORD sharing = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
    const DWORD scope = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
    if ((sharing != DISCL_EXCLUSIVE && sharing != DISCL_NONEXCLUSIVE) ||
        (scope != DISCL_FOREGROUND && scope != DISCL_BACKGROUND)) {
        return DIERR_INVALIDPARAM;
    }
    if ((flags & ~(DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND |
                   DISCL_NOWINKEY)) != 0) {
        return DIERR_INVALIDPARAM;
    }
    // DirectInput 8 never lets one program take the keyboard from every other.
    if (kind == Kind::Keyboard && sharing == DISCL_EXCLUSIVE && scope == DISCL_BACKGROUND) {
        return DIERR_UNSUPPORTED;
    }
    if (scope == DISCL_FOREGROUND && newWindow == nullptr) {
        return E_HANDLE;
    }
    window = newWindow;
    cooperativeFlags = flags;
    return DI_OK;
}

#ifdef _WIN32
HRESULT STDMETHODCALLTYPE DirectInputDevice::GetCapabilities(LPDIDEVCAPS) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID,
                                                         DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::GetProperty(REFGUID, LPDIPROPHEADER) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::SetProperty(REFGUID, LPCDIPROPHEADER) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::GetDeviceData(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD,
                                                           DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::SetEventNotification(HANDLE) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::GetObjectInfo(LPDIDEVICEOBJECTINSTANCEA, DWORD,
                                                           DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::GetDeviceInfo(LPDIDEVICEINSTANCEA) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::RunControlPanel(HWND, DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::Initialize(HINSTANCE, DWORD, REFGUID) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::CreateEffect(REFGUID, LPCDIEFFECT,
                                                          LPDIRECTINPUTEFFECT*, LPUNKNOWN) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::EnumEffects(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::GetEffectInfo(LPDIEFFECTINFOA, REFGUID) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::GetForceFeedbackState(LPDWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::SendForceFeedbackCommand(DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE
DirectInputDevice::EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::Escape(LPDIEFFESCAPE) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::Poll() {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::SendDeviceData(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD,
                                                            DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::EnumEffectsInFile(LPCSTR,
                                                               LPDIENUMEFFECTSINFILECALLBACK,
                                                               LPVOID, DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::WriteEffectToFile(LPCSTR, DWORD, LPDIFILEEFFECT,
                                                               DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::BuildActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::SetActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputDevice::GetImageInfo(LPDIDEVICEIMAGEINFOHEADERA) {
    return DIERR_UNSUPPORTED;
}
#endif
