// What the render device calls around the reset of a lost device. Real Direct3D 8 refuses Reset
// while any D3DPOOL_DEFAULT resource exists, and a successful Reset returns every render state to
// its default; so whoever owns such resources and states gives them up before each reset attempt
// and makes them again after a reset that succeeded.
#pragma once

#include "platform/direct3d8.h"

class DeviceResetHandler {
public:
    // Before every reset attempt: release every D3DPOOL_DEFAULT resource made on the device, and
    // unbind any the device still holds (a bound stream keeps its buffer alive).
    virtual void BeforeReset(IDirect3DDevice8* device) = 0;
    // After a successful reset: create those resources and set the lasting states again. A failure
    // is what the reset reports.
    virtual HRESULT AfterReset(IDirect3DDevice8* device) = 0;

protected:
    ~DeviceResetHandler() = default;
};
