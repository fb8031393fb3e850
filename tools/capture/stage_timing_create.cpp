// The OpenGL capture tools' Direct3DCreate8: the layer's object behind a StageTimingDirect3D.
// The tools link this in place of the layer's own (skimlark_gl_create), which their build leaves
// out (tools/capture/CMakeLists.txt); a program with both would not link.
#include <new>

#include "platform/gl/gl_direct3d.h"
#include "tools/capture/stage_timing_direct3d.h"

IDirect3D8* WINAPI Direct3DCreate8(UINT sdkVersion) {
    IDirect3D8* layer = GlDirect3DCreate8(sdkVersion);
    if (layer == nullptr) {
        return nullptr;
    }
    StageTimingDirect3D* wrapped = new (std::nothrow) StageTimingDirect3D(layer);
    if (wrapped == nullptr) {
        layer->Release();
    }
    return wrapped;
}
