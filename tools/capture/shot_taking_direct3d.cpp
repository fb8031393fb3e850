#include "tools/capture/shot_taking_direct3d.h"

#include <new>

#include "tools/capture/shot_taking_device.h"

ShotTakingDirect3D::ShotTakingDirect3D(IDirect3D8* system) : SdkForwardingDirect3D(system) {}

IDirect3DDevice8* ShotTakingDirect3D::WrapDevice(IDirect3DDevice8* device) {
    return new (std::nothrow) ShotTakingDevice(device, this);
}
