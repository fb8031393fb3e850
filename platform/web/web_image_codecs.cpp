// PNG and JPEG in the browser, decoded by the browser itself: before the game starts, the page
// decodes every image of the data pack without premultiplying its alpha (an ImageBitmap into a
// WebGL texture, read back), and keeps the texels by the file's bytes. These functions find a
// file's texels there; bytes the page has not decoded, or could not, are malformed data. Whether
// a PNG carries alpha is read from its own header, as libpng reports it.
#include <emscripten/emscripten.h>

#include <cstring>

#include "platform/system_image_codecs.h"

namespace {

// The page's decode of exactly these bytes: its index, or -1. Width and height set when found.
EM_JS(int, WebFindDecodedImage, (const uint8_t* data, size_t size, int* width, int* height), {
    var find = Module.skimlarkFindDecodedImage;
    var found = find ? find(HEAPU8.subarray(data, data + size)) : -1;
    if (found >= 0) {
        var image = Module.skimlarkDecodedImages[found];
        HEAP32[width >> 2] = image.width;
        HEAP32[height >> 2] = image.height;
    }
    return found;
});

// Writes the decode's texels as A8R8G8B8 (B, G, R, A in memory), top row first.
EM_JS(void, WebCopyDecodedImage, (int index, uint32_t* pixels), {
    var rgba = Module.skimlarkDecodedImages[index].rgba;
    var out = HEAPU8.subarray(pixels, pixels + rgba.length);
    for (var i = 0; i < rgba.length; i += 4) {
        out[i] = rgba[i + 2];
        out[i + 1] = rgba[i + 1];
        out[i + 2] = rgba[i];
        out[i + 3] = rgba[i + 3];
    }
});

uint32_t BigEndian32(const uint8_t* bytes) {
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
           uint32_t{bytes[3]};
}

// Alpha in the colour type (grey or RGB with alpha) or a tRNS chunk before the image data.
bool PngHasAlpha(const uint8_t* data, size_t size) {
    const size_t kColourType = 8 + 8 + 9;
    if (size <= kColourType) {
        return false;
    }
    if ((data[kColourType] & 4) != 0) {
        return true;
    }
    size_t chunk = 8;
    while (size - chunk >= 12) {
        const uint32_t length = BigEndian32(data + chunk);
        if (std::memcmp(data + chunk + 4, "tRNS", 4) == 0) {
            return true;
        }
        if (std::memcmp(data + chunk + 4, "IDAT", 4) == 0 || length > size - chunk - 12) {
            return false;
        }
        chunk += 12 + static_cast<size_t>(length);
    }
    return false;
}

HRESULT TakeDecodedImage(const uint8_t* data, size_t size, UINT maxWidth, UINT maxHeight,
                         bool hasAlpha, SystemImage* image) {
    int width = 0;
    int height = 0;
    const int index = WebFindDecodedImage(data, size, &width, &height);
    if (index < 0 || width <= 0 || height <= 0) {
        return E_FAIL;
    }
    if (static_cast<UINT>(width) > maxWidth || static_cast<UINT>(height) > maxHeight) {
        return kSystemImageTooLarge;
    }
    const HRESULT result = image->AllocatePixels(width, height, hasAlpha);
    if (FAILED(result)) {
        return result;
    }
    WebCopyDecodedImage(index, image->pixels.data());
    return S_OK;
}

}  // namespace

HRESULT DecodePngImage(const uint8_t* data, size_t size, UINT maxWidth, UINT maxHeight,
                       SystemImage* image) {
    return TakeDecodedImage(data, size, maxWidth, maxHeight, PngHasAlpha(data, size), image);
}

HRESULT DecodeJpegImage(const uint8_t* data, size_t size, UINT maxWidth, UINT maxHeight,
                        SystemImage* image) {
    return TakeDecodedImage(data, size, maxWidth, maxHeight, false, image);
}
