#include "d3dx/image/ppm_decoder.h"

#include <utility>

#include "d3dx/image/byte_cursor.h"
#include "platform/safe_size.h"

namespace {

bool IsSpace(uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(uint8_t c) {
    return c >= '0' && c <= '9';
}

// Skips white space and comments (from '#' to the end of the line).
void SkipSeparators(ByteCursor* cursor) {
    uint8_t c = 0;
    while (cursor->Peek(&c)) {
        if (c == '#') {
            while (cursor->ReadByte(&c) && c != '\n' && c != '\r') {
            }
        } else if (IsSpace(c)) {
            cursor->Skip(1);
        } else {
            return;
        }
    }
}

// A decimal number after optional separators; false when there is none or it exceeds `largest`.
bool ReadNumber(ByteCursor* cursor, uint32_t largest, uint32_t* value) {
    SkipSeparators(cursor);
    uint8_t c = 0;
    if (!cursor->Peek(&c) || !IsDigit(c)) {
        return false;
    }
    uint64_t number = 0;
    while (cursor->Peek(&c) && IsDigit(c)) {
        number = number * 10 + (c - '0');
        if (number > largest) {
            return false;
        }
        cursor->Skip(1);
    }
    *value = static_cast<uint32_t>(number);
    return true;
}

}  // namespace

bool IsPpmData(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 'P' &&
           (data[1] == '2' || data[1] == '3' || data[1] == '5' || data[1] == '6') &&
           (IsSpace(data[2]) || data[2] == '#');
}

HRESULT DecodePpm(const uint8_t* data, size_t size, const ImageLimits& limits,
                  DecodedImage* image) {
    const bool plain = data[1] == '2' || data[1] == '3';
    const bool colour = data[1] == '3' || data[1] == '6';
    ByteCursor cursor(data + 2, size - 2);
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t maxValue = 0;
    if (!ReadNumber(&cursor, UINT32_MAX, &width) || !ReadNumber(&cursor, UINT32_MAX, &height) ||
        !ReadNumber(&cursor, 65535, &maxValue) || width == 0 || height == 0 || maxValue == 0) {
        return E_FAIL;
    }
    if (width > limits.maxWidth || height > limits.maxHeight) {
        return D3DXERR_INVALIDDATA;
    }
    const size_t channels = colour ? 3 : 1;
    size_t samples = 0;
    if (!MultiplySizes(width, height, channels, &samples)) {
        return E_FAIL;
    }
    const size_t sampleBytes = maxValue > 255 ? 2 : 1;
    uint8_t separator = 0;
    if (plain) {
        // Every plain sample takes at least a digit and a separator.
        if (samples - 1 > cursor.Remaining() / 2) {
            return E_FAIL;
        }
    } else if (!cursor.ReadByte(&separator) || !IsSpace(separator) ||
               samples > cursor.Remaining() / sampleBytes) {
        // One white-space byte ends the header of a binary map; then the raster follows.
        return E_FAIL;
    }

    DecodedImage decoded;
    HRESULT result = decoded.AllocatePixels(width, height, colour ? D3DFMT_X8R8G8B8 : D3DFMT_L8);
    if (FAILED(result)) {
        return result;
    }
    auto nextSample = [&](uint32_t* scaled) {
        uint32_t value = 0;
        if (plain) {
            if (!ReadNumber(&cursor, maxValue, &value)) {
                return false;
            }
        } else {
            const uint8_t* bytes = nullptr;
            cursor.Take(sampleBytes, &bytes);
            value = sampleBytes == 2 ? ReadBe16(bytes) : bytes[0];
            if (value > maxValue) {
                return false;
            }
        }
        *scaled = (value * 255 + maxValue / 2) / maxValue;
        return true;
    };
    for (uint32_t& pixel : decoded.pixels) {
        uint32_t r = 0;
        uint32_t g = 0;
        uint32_t b = 0;
        if (!nextSample(&r)) {
            return E_FAIL;
        }
        if (colour) {
            if (!nextSample(&g) || !nextSample(&b)) {
                return E_FAIL;
            }
        } else {
            g = b = r;
        }
        pixel = 0xFF000000u | (r << 16) | (g << 8) | b;
    }
    decoded.fileFormat = D3DXIFF_PPM;
    *image = std::move(decoded);
    return S_OK;
}
