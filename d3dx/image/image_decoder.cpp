#include "d3dx/image/image_decoder.h"

#include <cstring>
#include <utility>

#include "d3dx/image/bmp_decoder.h"
#include "d3dx/image/dds_decoder.h"
#include "d3dx/image/ppm_decoder.h"
#include "d3dx/image/tga_decoder.h"
#include "platform/system_image_codecs.h"

namespace {

bool IsPngData(const uint8_t* data, size_t size) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return size >= sizeof(kSignature) && std::memcmp(data, kSignature, sizeof(kSignature)) == 0;
}

bool IsJpegData(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

// The platform's PNG and JPEG codecs hand back plain A8R8G8B8 pixels; the loader's image also
// records the file's format and takes the pixels without a copy.
template <HRESULT (*Decode)(const uint8_t*, size_t, UINT, UINT, SystemImage*),
          D3DXIMAGE_FILEFORMAT kFileFormat>
HRESULT DecodeWithSystemCodec(const uint8_t* data, size_t size, const ImageLimits& limits,
                              DecodedImage* image) {
    SystemImage decoded;
    const HRESULT result = Decode(data, size, limits.maxWidth, limits.maxHeight, &decoded);
    if (result == kSystemImageTooLarge) {
        return D3DXERR_INVALIDDATA;
    }
    if (FAILED(result)) {
        return result;
    }
    image->width = decoded.width;
    image->height = decoded.height;
    image->format = decoded.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    image->fileFormat = kFileFormat;
    image->pixels = std::move(decoded.pixels);
    image->indices.clear();
    image->palette.clear();
    return S_OK;
}

struct Decoder {
    bool (*recognises)(const uint8_t* data, size_t size);
    HRESULT(*decode)
    (const uint8_t* data, size_t size, const ImageLimits& limits, DecodedImage* image);
};

const Decoder kDecoders[] = {
    {IsBmpData, DecodeBmp},
    {IsPpmData, DecodePpm},
    {IsDdsData, DecodeDds},
    {IsJpegData, DecodeWithSystemCodec<DecodeJpegImage, D3DXIFF_JPG>},
    {IsPngData, DecodeWithSystemCodec<DecodePngImage, D3DXIFF_PNG>},
    {IsTgaData, DecodeTga},
    {IsDibData, DecodeDib},
};

}  // namespace

HRESULT DecodeImage(const uint8_t* data, size_t size, const ImageLimits& limits,
                    DecodedImage* image) {
    if (data == nullptr && size != 0) {
        return D3DXERR_INVALIDDATA;
    }
    for (const Decoder& decoder : kDecoders) {
        if (!decoder.recognises(data, size)) {
            continue;
        }
        DecodedImage decoded;
        const HRESULT result = decoder.decode(data, size, limits, &decoded);
        if (FAILED(result)) {
            return result;
        }
        if (decoded.width == 0 || decoded.height == 0 || decoded.width > limits.maxWidth ||
            decoded.height > limits.maxHeight) {
            return E_FAIL;
        }
        *image = std::move(decoded);
        return S_OK;
    }
    return D3DXERR_INVALIDDATA;
}
