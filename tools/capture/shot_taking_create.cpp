// The Windows capture tool's Direct3DCreate8: the system's object behind a ShotTakingDirect3D.
// The tool links this in place of the game's (platform/windows/direct3d8_entry.cpp), which its
// build leaves out (tools/capture/CMakeLists.txt).
#include "platform/windows/direct3d8_loader.h"
#include "tools/capture/shot_taking_direct3d.h"

extern "C" IDirect3D8* WINAPI Direct3DCreate8(UINT sdkVersion) {
    return ForwardingDirect3D::Wrap<ShotTakingDirect3D>(SystemDirect3DCreate8(sdkVersion));
}
