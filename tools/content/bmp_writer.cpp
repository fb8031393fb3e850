// Our own bitmap encoder: the game's textures are 24-bit uncompressed bitmaps.
#include <cstdio>

#include "tools/content/image_writers.h"
#include "tools/content/little_endian.h"

namespace content {

namespace {

const uint32_t kFileHeaderSize = 14;
const uint32_t kInfoHeaderSize = 40;
const uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

}  // namespace

std::vector<uint8_t> EncodeBmp(const Image& image) {
    const uint32_t width = static_cast<uint32_t>(image.Width());
    const uint32_t height = static_cast<uint32_t>(image.Height());
    const uint32_t rowSize = (width * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowSize * height;
    const uint32_t dataOffset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<uint8_t> out;
    out.reserve(dataOffset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, dataOffset + pixelBytes);
    PutU32(out, 0);  // reserved
    PutU32(out, dataOffset);

    PutU32(out, kInfoHeaderSize);
    PutU32(out, width);
    PutU32(out, height);  // positive: bottom-up rows
    PutU16(out, 1);       // planes
    PutU16(out, 24);      // bits per pixel
    PutU32(out, 0);       // BI_RGB
    PutU32(out, pixelBytes);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, 0);  // palette colours
    PutU32(out, 0);  // important colours

    for (uint32_t row = 0; row < height; ++row) {
        const int y = static_cast<int>(height - 1 - row);
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = image.Pixel(static_cast<int>(x), y);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (uint32_t pad = width * 3; pad < rowSize; ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace content
