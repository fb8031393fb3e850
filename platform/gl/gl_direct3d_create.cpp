// Direct3DCreate8 on its own, in a library of its own: a program that defines its own (the capture
// tools, which wrap the layer's object) links the layer without this one.
#include "platform/gl/gl_direct3d.h"

IDirect3D8* WINAPI Direct3DCreate8(UINT sdkVersion) {
    return GlDirect3DCreate8(sdkVersion);
}
