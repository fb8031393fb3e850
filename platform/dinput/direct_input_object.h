// IDirectInput8A for the builds without Windows, and DirectInput8Create: hands out the system
// keyboard and the system mouse, nothing else. The input itself comes from the build's
// InputSource (platform/dinput/input_source.h).
#pragma once

#include "platform/directinput8.h"

class DirectInputObject final : public IDirectInput8A {
public:
    DirectInputObject();
    DirectInputObject(const DirectInputObject&) = delete;
    DirectInputObject& operator=(const DirectInputObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* device,
                                           LPUNKNOWN outer) override;

private:
    ~DirectInputObject() = default;

    ULONG references;
};
