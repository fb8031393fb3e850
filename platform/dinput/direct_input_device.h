// IDirectInputDevice8A for the builds without Windows: the system keyboard or the system mouse,
// in immediate mode only (GetDeviceState). It keeps DirectInput's acquisition rules: a data format
// before Acquire, no format or cooperative level change while acquired, and in foreground mode no
// acquisition without the keyboard focus and loss of the device as soon as the focus goes.
#pragma once

#include "platform/directinput8.h"

class DirectInputObject;

class DirectInputDevice final : public IDirectInputDevice8A {
public:
    enum class Kind { Keyboard, Mouse };

    // Holds a reference on `parent` until the device is destroyed, as COM children do.
    DirectInputDevice(DirectInputObject* parent, Kind kind);
    DirectInputDevice(const DirectInputDevice&) = delete;
    DirectInputDevice& operator=(const DirectInputDevice&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Acquire() override;
    HRESULT STDMETHODCALLTYPE Unacquire() override;
    HRESULT STDMETHODCALLTYPE GetDeviceState(DWORD dataSize, LPVOID data) override;
    HRESULT STDMETHODCALLTYPE SetDataFormat(LPCDIDATAFORMAT format) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;

private:
    ~DirectInputDevice();

    // In foreground mode, drops the acquisition once the focus has gone since Acquire.
    void NoticeFocusLoss();
    void EndAcquisition();

    DirectInputObject* parent;
    Kind kind;
    ULONG references;
    DWORD dataSize;  // 0 until a data format is set
    HWND window;
    DWORD cooperativeFlags;
    bool acquired;
    bool lost;  // acquisition ended by a focus loss, not yet reported by GetDeviceState
    DWORD focusLossesAtAcquire;
    bool pointerHidden;
};
