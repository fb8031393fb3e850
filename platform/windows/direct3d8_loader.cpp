// The library, once loaded, stays loaded for the rest of the process, as an imported one would.
#include "platform/windows/direct3d8_loader.h"

namespace {

typedef IDirect3D8*(WINAPI* Direct3DCreate8Function)(UINT);

Direct3DCreate8Function FindDirect3DCreate8() {
    static HMODULE library = LoadLibraryA("d3d8.dll");
    if (library == nullptr) {
        return nullptr;
    }
    // GetProcAddress hands back a generic function pointer; this is the documented signature.
    return reinterpret_cast<Direct3DCreate8Function>(
        reinterpret_cast<void*>(GetProcAddress(library, "Direct3DCreate8")));
}

}  // namespace

IDirect3D8* SystemDirect3DCreate8(UINT sdkVersion) {
    static const Direct3DCreate8Function create = FindDirect3DCreate8();
    if (create == nullptr) {
        return nullptr;
    }
    return create(sdkVersion);
}
