#include "platform/dinput/direct_input_object.h"

#include <new>

#include "platform/dinput/direct_input_device.h"
#include "platform/dinput/input_source.h"

HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid, LPVOID* out,
                                  LPUNKNOWN outer) {
    if (out == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    *out = nullptr;
    if (instance == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    if (version < 0x0800) {
        return DIERR_OLDDIRECTINPUTVERSION;
    }
    if (version > 0x0800) {
        return DIERR_BETADIRECTINPUTVERSION;
    }
    if (riid != IID_IDirectInput8A) {
        return DIERR_NOINTERFACE;
    }
    if (outer != nullptr) {
        return DIERR_NOAGGREGATION;
    }
    DirectInputObject* created = new (std::nothrow) DirectInputObject();
    if (created == nullptr) {
        return DIERR_OUTOFMEMORY;
    }
    InputSourceOpen();
    *out = static_cast<IDirectInput8A*>(created);
    return DI_OK;
}

DirectInputObject::DirectInputObject() : references(1) {}

HRESULT STDMETHODCALLTYPE DirectInputObject::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IDirectInput8A) {
        AddRef();
        *object = static_cast<IDirectInput8A*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DirectInputObject::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE DirectInputObject::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

HRESULT STDMETHODCALLTYPE DirectInputObject::CreateDevice(REFGUID guid,
                                                          LPDIRECTINPUTDEVICE8A* device,
                                                          LPUNKNOWN outer) {
    if (device == nullptr) {
        return DIERR_INVALIDPARAM;
    }
    *device = nullptr;
    if (outer != nullptr) {
        return DIERR_NOAGGREGATION;
    }
    DirectInputDevice::Kind kind;
    if (guid == GUID_SysKeyboard) {
        kind = DirectInputDevice::Kind::Keyboard;
    } else if (guid == GUID_SysMouse) {
        kind = DirectInputDevice::Kind::Mouse;
    } else {
        return DIERR_DEVICENOTREG;
    }
    DirectInputDevice* created = new (std::nothrow) DirectInputDevice(this, kind);
    if (created == nullptr) {
        return DIERR_OUTOFMEMORY;
    }
    *device = created;
    return DI_OK;
}

#ifdef _WIN32
HRESULT STDMETHODCALLTYPE DirectInputObject::EnumDevices(DWORD, LPDIENUMDEVICESCALLBACKA, LPVOID,
                                                         DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputObject::GetDeviceStatus(REFGUID) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputObject::RunControlPanel(HWND, DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputObject::Initialize(HINSTANCE, DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputObject::FindDevice(REFGUID, LPCSTR, LPGUID) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputObject::EnumDevicesBySemantics(LPCSTR, LPDIACTIONFORMATA,
                                                                    LPDIENUMDEVICESBYSEMANTICSCBA,
                                                                    LPVOID, DWORD) {
    return DIERR_UNSUPPORTED;
}
HRESULT STDMETHODCALLTYPE DirectInputObject::ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK,
                                                              LPDICONFIGUREDEVICESPARAMSA, DWORD,
                                                              LPVOID) {
    return DIERR_UNSUPPORTED;
}
#endif
