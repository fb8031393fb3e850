// The Direct3D 8 device of the Windows capture tool: forwards every call to the system's device
// unchanged and in order (SdkForwardingDevice), and when a shot has been asked for, reads the back
// buffer (lockable, as the game creates it) just before the present that shows it. The wrapper
// was chosen over patching the system device's function table: the compiler checks every method
// against the SDK's interface, nothing in the system's library is touched, and the game's own
// calls and their results stay exactly what they would be without the tool.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/capture/sdk_forwarding_device.h"

class ShotTakingDevice final : public SdkForwardingDevice {
public:
    // Takes over the caller's reference on `system`; holds one on `parent`.
    ShotTakingDevice(IDirect3DDevice8* system, IDirect3D8* parent);

    // The next Present reads the back buffer first.
    void RequestShot() { shotRequested = true; }
    // The picture the last requested shot read, RGBA, top row first, handed over; false when
    // the read failed or none was asked for since the last one was taken.
    bool TakeShot(std::vector<uint8_t>* rgba, int* width, int* height);
    // The time the last Present spent reading (0 when it read nothing).
    double ShotMilliseconds() const { return shotMilliseconds; }

    HRESULT STDMETHODCALLTYPE Present(const RECT* srcRect, const RECT* dstRect,
                                      HWND dstWindowOverride, const RGNDATA* dirtyRegion) override;

private:
    // Copies the back buffer into `shot`; false when it cannot be locked or has a format other
    // than 32-bit RGB.
    bool ReadBackBuffer();

    bool shotRequested;
    bool shotReady;
    std::vector<uint8_t> shot;
    int shotWidth;
    int shotHeight;
    double shotMilliseconds;
};
