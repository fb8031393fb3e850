// The OpenGL capture tools' Direct3DCreate8: the layer's object behind a StageTimingDirect3D.
// The tools link this in place of the layer's own (skimlark_gl_create), which their build leaves
// out (tools/capture/CMakeLists.txt); a program with both would not link.
#include "platform/gl/gl_direct3d.h"
#include "tools/capture/stage_timing_direct3d.h"

IDirect3D8* WINAPI Direct3DCreate8(UINT sdkVersion) {
    return ForwardingDirect3D::Wrap<StageTimingDirect3D>(GlDirect3DCreate8(sdkVersion));
}
