// The Direct3D 8 object of the Windows capture tool: forwards every call to the system's object
// (SdkForwardingDirect3D), except that the devices it creates come wrapped in a ShotTakingDevice.
// The tool's own Direct3DCreate8 (shot_taking_create.cpp) hands it out, so the game runs
// unchanged on the real Direct3D 8.
#pragma once

#include "tools/capture/sdk_forwarding_direct3d.h"

class ShotTakingDirect3D final : public SdkForwardingDirect3D {
public:
    // Takes over the caller's reference on `system`.
    explicit ShotTakingDirect3D(IDirect3D8* system);

private:
    IDirect3DDevice8* WrapDevice(IDirect3DDevice8* device) override;
};
