#include "render/image/image_decoder.h"

#include <cstring>
#include <utility>

#include "render/image/bmp_decoder.h"
#include "render/image/dds_decoder.h"
#include "render/image/ppm_decoder.h"
#include "render/image/system_image_codecs.h"
#include "render/image/tga_decoder.h"

namespace {

bool IsPngData(const uint8_t* data, size_t size) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return size >= sizeof(kSignature) && std::memcmp(data, kSignature, sizeof(kSignature)) == 0;
}

bool IsJpegData(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

struct Decoder {
    bool (*recognises)(const uint8_t* data, size_t size);
    HRESULT(*decode)
    (const uint8_t* data, size_t size, const ImageLimits& limits, DecodedImage* image);
};

const Decoder kDecoders[] = {
    {IsBmpData, DecodeBmp},        {IsPpmData, DecodePpm},      {IsDdsData, DecodeDds},
    {IsJpegData, DecodeJpegImage}, {IsPngData, DecodePngImage}, {IsTgaData, DecodeTga},
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
