#include "d3dx/image/decoded_image.h"

#include <algorithm>

#include "platform/safe_size.h"

HRESULT DecodedImage::AllocatePixels(UINT imageWidth, UINT imageHeight, D3DFORMAT imageFormat) {
    const HRESULT result = AssignImageBuffer(&pixels, imageWidth, imageHeight, 0u);
    if (FAILED(result)) {
        return result;
    }
    indices.clear();
    palette.clear();
    width = imageWidth;
    height = imageHeight;
    format = imageFormat;
    return S_OK;
}

HRESULT DecodedImage::AllocateIndices(UINT imageWidth, UINT imageHeight, UINT paletteSize) {
    if (paletteSize == 0 || paletteSize > 256) {
        return E_FAIL;
    }
    const HRESULT result =
        AssignImageBuffer(&indices, imageWidth, imageHeight, static_cast<uint8_t>(0));
    if (FAILED(result)) {
        return result;
    }
    if (!TryAssign(&palette, paletteSize, 0xFF000000u)) {
        return E_OUTOFMEMORY;
    }
    pixels.clear();
    width = imageWidth;
    height = imageHeight;
    format = D3DFMT_P8;
    return S_OK;
}

void DecodedImage::ApplyColorKey(D3DCOLOR colorKey) {
    if (colorKey == 0) {
        return;
    }
    std::vector<uint32_t>& values = IsPalettised() ? palette : pixels;
    std::replace(values.begin(), values.end(), static_cast<uint32_t>(colorKey), 0u);
}

bool DecodedImage::HasTranslucentPaletteEntry() const {
    return std::any_of(palette.begin(), palette.end(),
                       [](uint32_t entry) { return (entry >> 24) != 0xFF; });
}
