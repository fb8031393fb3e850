// Direct3DCreate8 for the Windows game: the system's own.
#include "platform/direct3d8.h"
#include "platform/windows/direct3d8_loader.h"

extern "C" IDirect3D8* WINAPI Direct3DCreate8(UINT sdkVersion) {
    return SystemDirect3DCreate8(sdkVersion);
}
