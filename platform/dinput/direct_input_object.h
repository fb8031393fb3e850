// IDirectInput8A for the builds without Windows (and the Windows capture tool), and
// DirectInput8Create: hands out the system
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

#ifdef _WIN32
    // The rest of the SDK's interface, which the game never calls: each one is unsupported.
    HRESULT STDMETHODCALLTYPE EnumDevices(DWORD, LPDIENUMDEVICESCALLBACKA, LPVOID, DWORD) override;
    HRESULT STDMETHODCALLTYPE GetDeviceStatus(REFGUID) override;
    HRESULT STDMETHODCALLTYPE RunControlPanel(HWND, DWORD) override;
    HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE, DWORD) override;
    HRESULT STDMETHODCALLTYPE FindDevice(REFGUID, LPCSTR, LPGUID) override;
    HRESULT STDMETHODCALLTYPE EnumDevicesBySemantics(LPCSTR, LPDIACTIONFORMATA,
                                                     LPDIENUMDEVICESBYSEMANTICSCBA, LPVOID,
                                                     DWORD) override;
    HRESULT STDMETHODCALLTYPE ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK,
                                               LPDICONFIGUREDEVICESPARAMSA, DWORD, LPVOID) override;
#endif

private:
    ~DirectInputObject() = default;

    ULONG references;
};
