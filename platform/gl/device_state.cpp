#include "platform/gl/device_state.h"

#include <cstring>

DWORD FloatStateValue(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

namespace {

const D3DMATRIX kIdentity = {{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}};

}  // namespace

DeviceState::DeviceState(bool autoDepthStencil)
    : renderStates{},
      stageStates{},
      material{},
      renderStateVersion(0),
      stageStateVersion(0),
      transformVersion(0),
      materialVersion(0) {
    auto& rs = renderStates;
    rs[D3DRS_ZENABLE] = autoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRS_LINEPATTERN] = 0;
    rs[D3DRS_ZWRITEENABLE] = TRUE;
    rs[D3DRS_ALPHATESTENABLE] = FALSE;
    rs[D3DRS_LASTPIXEL] = TRUE;
    rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRS_ALPHAREF] = 0;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_DITHERENABLE] = FALSE;
    rs[D3DRS_ALPHABLENDENABLE] = FALSE;
    rs[D3DRS_FOGENABLE] = FALSE;
    rs[D3DRS_SPECULARENABLE] = FALSE;
    rs[D3DRS_ZVISIBLE] = 0;
    rs[D3DRS_FOGCOLOR] = 0;
    rs[D3DRS_FOGTABLEMODE] = D3DFOG_NONE;
    rs[D3DRS_FOGSTART] = FloatStateValue(0.0f);
    rs[D3DRS_FOGEND] = FloatStateValue(1.0f);
    rs[D3DRS_FOGDENSITY] = FloatStateValue(1.0f);
    rs[D3DRS_EDGEANTIALIAS] = FALSE;
    rs[D3DRS_ZBIAS] = 0;
    rs[D3DRS_RANGEFOGENABLE] = FALSE;
    rs[D3DRS_STENCILENABLE] = FALSE;
    rs[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_STENCILREF] = 0;
    rs[D3DRS_STENCILMASK] = 0xFFFFFFFFu;
    rs[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFFu;
    rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    for (DWORD wrap = D3DRS_WRAP0; wrap <= D3DRS_WRAP7; ++wrap) {
        rs[wrap] = 0;
    }
    rs[D3DRS_CLIPPING] = TRUE;
    rs[D3DRS_LIGHTING] = TRUE;
    rs[D3DRS_AMBIENT] = 0;
    rs[D3DRS_FOGVERTEXMODE] = D3DFOG_NONE;
    rs[D3DRS_COLORVERTEX] = TRUE;
    rs[D3DRS_LOCALVIEWER] = TRUE;
    rs[D3DRS_NORMALIZENORMALS] = FALSE;
    rs[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    rs[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    rs[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
    rs[D3DRS_VERTEXBLEND] = D3DVBF_DISABLE;
    rs[D3DRS_CLIPPLANEENABLE] = 0;
    rs[D3DRS_SOFTWAREVERTEXPROCESSING] = FALSE;
    rs[D3DRS_POINTSIZE] = FloatStateValue(1.0f);
    rs[D3DRS_POINTSIZE_MIN] = FloatStateValue(0.0f);
    rs[D3DRS_POINTSPRITEENABLE] = FALSE;
    rs[D3DRS_POINTSCALEENABLE] = FALSE;
    rs[D3DRS_POINTSCALE_A] = FloatStateValue(1.0f);
    rs[D3DRS_POINTSCALE_B] = FloatStateValue(0.0f);
    rs[D3DRS_POINTSCALE_C] = FloatStateValue(0.0f);
    rs[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    rs[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFFu;
    rs[D3DRS_PATCHEDGESTYLE] = D3DPATCHEDGE_DISCRETE;
    rs[D3DRS_PATCHSEGMENTS] = FloatStateValue(1.0f);
    rs[D3DRS_DEBUGMONITORTOKEN] = D3DDMT_ENABLE;
    rs[D3DRS_POINTSIZE_MAX] = FloatStateValue(64.0f);
    rs[D3DRS_INDEXEDVERTEXBLENDENABLE] = FALSE;
    rs[D3DRS_COLORWRITEENABLE] = 0x0000000Fu;
    rs[D3DRS_TWEENFACTOR] = FloatStateValue(0.0f);
    rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    rs[D3DRS_POSITIONORDER] = 3;  // D3DORDER_CUBIC
    rs[D3DRS_NORMALORDER] = 1;    // D3DORDER_LINEAR

    for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
        auto& ss = stageStates[stage];
        ss[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        ss[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ss[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        ss[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        ss[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ss[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        ss[D3DTSS_TEXCOORDINDEX] = stage;
        ss[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
        ss[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
        ss[D3DTSS_ADDRESSW] = D3DTADDRESS_WRAP;
        ss[D3DTSS_BORDERCOLOR] = 0;
        ss[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
        ss[D3DTSS_MINFILTER] = D3DTEXF_POINT;
        ss[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
        ss[D3DTSS_MIPMAPLODBIAS] = FloatStateValue(0.0f);
        ss[D3DTSS_MAXMIPLEVEL] = 0;
        ss[D3DTSS_MAXANISOTROPY] = 1;
        ss[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
        ss[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        ss[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        ss[D3DTSS_RESULTARG] = D3DTA_CURRENT;
    }

    for (auto& transform : transforms) {
        transform = kIdentity;
    }
}

bool DeviceState::IsValidRenderState(D3DRENDERSTATETYPE state) {
    switch (state) {
        case D3DRS_ZENABLE:
        case D3DRS_FILLMODE:
        case D3DRS_SHADEMODE:
        case D3DRS_LINEPATTERN:
        case D3DRS_ZWRITEENABLE:
        case D3DRS_ALPHATESTENABLE:
        case D3DRS_LASTPIXEL:
        case D3DRS_SRCBLEND:
        case D3DRS_DESTBLEND:
        case D3DRS_CULLMODE:
        case D3DRS_ZFUNC:
        case D3DRS_ALPHAREF:
        case D3DRS_ALPHAFUNC:
        case D3DRS_DITHERENABLE:
        case D3DRS_ALPHABLENDENABLE:
        case D3DRS_FOGENABLE:
        case D3DRS_SPECULARENABLE:
        case D3DRS_ZVISIBLE:
        case D3DRS_FOGCOLOR:
        case D3DRS_FOGTABLEMODE:
        case D3DRS_FOGSTART:
        case D3DRS_FOGEND:
        case D3DRS_FOGDENSITY:
        case D3DRS_EDGEANTIALIAS:
        case D3DRS_ZBIAS:
        case D3DRS_RANGEFOGENABLE:
        case D3DRS_STENCILENABLE:
        case D3DRS_STENCILFAIL:
        case D3DRS_STENCILZFAIL:
        case D3DRS_STENCILPASS:
        case D3DRS_STENCILFUNC:
        case D3DRS_STENCILREF:
        case D3DRS_STENCILMASK:
        case D3DRS_STENCILWRITEMASK:
        case D3DRS_TEXTUREFACTOR:
        case D3DRS_WRAP0:
        case D3DRS_WRAP1:
        case D3DRS_WRAP2:
        case D3DRS_WRAP3:
        case D3DRS_WRAP4:
        case D3DRS_WRAP5:
        case D3DRS_WRAP6:
        case D3DRS_WRAP7:
        case D3DRS_CLIPPING:
        case D3DRS_LIGHTING:
        case D3DRS_AMBIENT:
        case D3DRS_FOGVERTEXMODE:
        case D3DRS_COLORVERTEX:
        case D3DRS_LOCALVIEWER:
        case D3DRS_NORMALIZENORMALS:
        case D3DRS_DIFFUSEMATERIALSOURCE:
        case D3DRS_SPECULARMATERIALSOURCE:
        case D3DRS_AMBIENTMATERIALSOURCE:
        case D3DRS_EMISSIVEMATERIALSOURCE:
        case D3DRS_VERTEXBLEND:
        case D3DRS_CLIPPLANEENABLE:
        case D3DRS_SOFTWAREVERTEXPROCESSING:
        case D3DRS_POINTSIZE:
        case D3DRS_POINTSIZE_MIN:
        case D3DRS_POINTSPRITEENABLE:
        case D3DRS_POINTSCALEENABLE:
        case D3DRS_POINTSCALE_A:
        case D3DRS_POINTSCALE_B:
        case D3DRS_POINTSCALE_C:
        case D3DRS_MULTISAMPLEANTIALIAS:
        case D3DRS_MULTISAMPLEMASK:
        case D3DRS_PATCHEDGESTYLE:
        case D3DRS_PATCHSEGMENTS:
        case D3DRS_DEBUGMONITORTOKEN:
        case D3DRS_POINTSIZE_MAX:
        case D3DRS_INDEXEDVERTEXBLENDENABLE:
        case D3DRS_COLORWRITEENABLE:
        case D3DRS_TWEENFACTOR:
        case D3DRS_BLENDOP:
        case D3DRS_POSITIONORDER:
        case D3DRS_NORMALORDER:
            return true;
        default:
            return false;
    }
}

bool DeviceState::IsValidTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) {
    return stage < kTextureStageCount && type >= D3DTSS_COLOROP && type <= D3DTSS_RESULTARG &&
           type != 12;  // 12 is unused between TEXCOORDINDEX and ADDRESSU
}

bool DeviceState::IsValidTransform(D3DTRANSFORMSTATETYPE state) {
    const DWORD value = static_cast<DWORD>(state);
    return value == D3DTS_VIEW || value == D3DTS_PROJECTION ||
           (value >= D3DTS_TEXTURE0 && value <= D3DTS_TEXTURE7) ||
           (value >= 256 && value < kTransformCount);
}

void DeviceState::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    if (renderStates[state] != value) {
        renderStates[state] = value;
        ++renderStateVersion;
    }
}

void DeviceState::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    if (stageStates[stage][type] != value) {
        stageStates[stage][type] = value;
        ++stageStateVersion;
    }
}

void DeviceState::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX& matrix) {
    transforms[state] = matrix;
    ++transformVersion;
}
