// An image as every decoder hands it to the texture loader: its size, the pixel format the file
// stores (which the loader starts from when it picks the texture's format), and its pixels with
// the top row first. True-colour images hold A8R8G8B8 values (alpha 255 where the file has none);
// palettised images keep their indices and palette apart so that a colour key is tested once per
// palette entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "d3dx/d3dx_texture.h"
#include "platform/safe_size.h"

// The largest image a decoder may accept: anything wider or taller is refused with
// D3DXERR_INVALIDDATA before its pixels are allocated.
struct ImageLimits {
    UINT maxWidth;
    UINT maxHeight;
};

struct DecodedImage {
    UINT width = 0;
    UINT height = 0;
    // The file's own layout: D3DFMT_P8 for palettised images, D3DFMT_R8G8B8 for 24-bit
    // true colour, D3DFMT_L8 for greyscale, and so on.
    D3DFORMAT format = D3DFMT_UNKNOWN;
    D3DXIMAGE_FILEFORMAT fileFormat = D3DXIFF_BMP;
    // True colour: width * height A8R8G8B8 values. Empty for a palettised image.
    std::vector<uint32_t> pixels;
    // Palettised: width * height indices, each below palette.size(); palette entries are
    // A8R8G8B8. Both empty for a true-colour image.
    std::vector<uint8_t> indices;
    std::vector<uint32_t> palette;

    // Sizes a true-colour image, every pixel 0. E_OUTOFMEMORY when the memory is not there,
    // E_FAIL for an empty or impossibly large size.
    HRESULT AllocatePixels(UINT imageWidth, UINT imageHeight, D3DFORMAT imageFormat);
    // Sizes a palettised image (format D3DFMT_P8): every index 0, `paletteSize` (1 to 256)
    // entries of opaque black.
    HRESULT AllocateIndices(UINT imageWidth, UINT imageHeight, UINT paletteSize);

    bool IsPalettised() const { return !palette.empty(); }
    // The pixel at (x, y) as A8R8G8B8, through the palette where there is one.
    uint32_t Pixel(UINT x, UINT y) const {
        const size_t at = static_cast<size_t>(y) * width + x;
        return IsPalettised() ? palette[indices[at]] : pixels[at];
    }
    uint32_t* PixelRow(UINT y) { return pixels.data() + static_cast<size_t>(y) * width; }
    uint8_t* IndexRow(UINT y) { return indices.data() + static_cast<size_t>(y) * width; }

    // Every pixel (or palette entry) equal to `colorKey` becomes transparent black. A key of 0
    // means none.
    void ApplyColorKey(D3DCOLOR colorKey);
    // True when some palette entry has alpha below 255.
    bool HasTranslucentPaletteEntry() const;
};
