// Direct3DCreate8 for the Windows build. mingw-w64 ships the Direct3D 8 header but no import
// library for d3d8.dll, so the entry is found at run time; the library then stays loaded for the
// rest of the process, as an imported one would.
#include "platform/direct3d8.h"

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

extern "C" IDirect3D8* WINAPI Direct3DCreate8(UINT sdkVersion) {
    static const Direct3DCreate8Function create = FindDirect3DCreate8();
    if (create == nullptr) {
        return nullptr;
    }
    return create(sdkVersion);
}
