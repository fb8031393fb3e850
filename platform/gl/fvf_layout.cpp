#include "platform/gl/fvf_layout.h"

namespace {

constexpr UINT kFloat = 4;

// D3DFVF_TEXCOORDSIZEn packs two bits per set from bit 16: 0 is two floats, 1 three, 2 four, 3 one.
UINT TexCoordComponents(DWORD fvf, UINT set) {
    switch ((fvf >> (16 + set * 2)) & 3u) {
        case 1:
            return 3;
        case 2:
            return 4;
        case 3:
            return 1;
        default:
            return 2;
    }
}

}  // namespace

bool DecodeFvf(DWORD fvf, FvfLayout* layout) {
    FvfLayout decoded;
    switch (fvf & D3DFVF_POSITION_MASK) {
        case D3DFVF_XYZ:
            decoded.positionComponents = 3;
            break;
        case D3DFVF_XYZRHW:
            decoded.transformed = true;
            decoded.positionComponents = 4;
            break;
        default:
            return false;
    }
    UINT offset = decoded.positionComponents * kFloat;
    if (fvf & D3DFVF_NORMAL) {
        decoded.normalOffset = static_cast<int>(offset);
        offset += 3 * kFloat;
    }
    if (fvf & D3DFVF_PSIZE) {
        offset += kFloat;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        decoded.diffuseOffset = static_cast<int>(offset);
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        decoded.specularOffset = static_cast<int>(offset);
        offset += 4;
    }
    decoded.texCoordCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (decoded.texCoordCount > kMaxTexCoordSets) {
        return false;
    }
    for (UINT set = 0; set < decoded.texCoordCount; ++set) {
        decoded.texCoordOffset[set] = offset;
        decoded.texCoordComponents[set] = TexCoordComponents(fvf, set);
        offset += decoded.texCoordComponents[set] * kFloat;
    }
    decoded.stride = offset;
    *layout = decoded;
    return true;
}
