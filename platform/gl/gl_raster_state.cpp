#include "platform/gl/gl_raster_state.h"

#include "platform/gl/gl_translate.h"

GlRasterState GlRasterStateFor(const DeviceState& state, bool hasDepthBuffer) {
    GlRasterState raster{};
    // Without a depth test nothing is written either, as in Direct3D.
    raster.depthTest = hasDepthBuffer && state.RenderState(D3DRS_ZENABLE) != D3DZB_FALSE;
    raster.depthWrite = state.RenderState(D3DRS_ZWRITEENABLE) != FALSE;
    raster.depthFunc = GlCompareFunctionFor(state.RenderState(D3DRS_ZFUNC));

    raster.blend = state.RenderState(D3DRS_ALPHABLENDENABLE) != FALSE;
    const GlBlendFactors factors =
        GlBlendFactorsFor(state.RenderState(D3DRS_SRCBLEND), state.RenderState(D3DRS_DESTBLEND));
    raster.blendSource = factors.source;
    raster.blendDestination = factors.destination;
    raster.blendEquation = GlBlendEquationFor(state.RenderState(D3DRS_BLENDOP));

    // Both judge winding as it looks on screen, and the device keeps glFrontFace(GL_CW) for its
    // top-row-first picture: Direct3D's counter-clockwise faces are OpenGL's front faces.
    switch (state.RenderState(D3DRS_CULLMODE)) {
        case D3DCULL_NONE:
            raster.cull = false;
            raster.cullFace = GL_FRONT;
            break;
        case D3DCULL_CW:
            raster.cull = true;
            raster.cullFace = GL_BACK;
            break;
        default:
            raster.cull = true;
            raster.cullFace = GL_FRONT;
            break;
    }

    const DWORD mask = state.RenderState(D3DRS_COLORWRITEENABLE);
    raster.colorWrite[0] = (mask & D3DCOLORWRITEENABLE_RED) != 0;
    raster.colorWrite[1] = (mask & D3DCOLORWRITEENABLE_GREEN) != 0;
    raster.colorWrite[2] = (mask & D3DCOLORWRITEENABLE_BLUE) != 0;
    raster.colorWrite[3] = (mask & D3DCOLORWRITEENABLE_ALPHA) != 0;

    switch (state.RenderState(D3DRS_FILLMODE)) {
        case D3DFILL_POINT:
            raster.polygonMode = GL_POINT;
            break;
        case D3DFILL_WIREFRAME:
            raster.polygonMode = GL_LINE;
            break;
        default:
            raster.polygonMode = GL_FILL;
            break;
    }
    // Edge antialiasing smooths lines only; triangles are never touched by it.
    raster.lineSmooth = state.RenderState(D3DRS_EDGEANTIALIAS) != FALSE;
    return raster;
}
