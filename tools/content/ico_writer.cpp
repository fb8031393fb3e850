// Our own .ico encoder: a directory of entries, then each entry's image.
#include "tools/content/ico_writer.h"

#include "tools/content/image_writers.h"
#include "tools/content/little_endian.h"

namespace content {

namespace {

const int kLargestSize = 256;
const uint32_t kDirectorySize = 6;
const uint32_t kEntrySize = 16;
const uint32_t kInfoHeaderSize = 40;

// A device-independent bitmap as icons store it: the info header gives twice the height, for the
// colour rows and then the mask rows, both bottom-up. The mask marks fully transparent pixels,
// for whatever draws the icon without its alpha.
std::vector<uint8_t> EncodeIconBitmap(const IconImage& icon) {
    const int size = icon.color.Width();
    const uint32_t maskRowSize = ((static_cast<uint32_t>(size) + 31) / 32) * 4;
    const uint32_t colorBytes = static_cast<uint32_t>(size * size) * 4;
    const uint32_t maskBytes = maskRowSize * static_cast<uint32_t>(size);

    std::vector<uint8_t> out;
    out.reserve(kInfoHeaderSize + colorBytes + maskBytes);
    PutU32(out, kInfoHeaderSize);
    PutU32(out, static_cast<uint32_t>(size));
    PutU32(out, static_cast<uint32_t>(size) * 2);
    PutU16(out, 1);   // planes
    PutU16(out, 32);  // bits per pixel
    PutU32(out, 0);   // BI_RGB
    PutU32(out, colorBytes + maskBytes);
    PutU32(out, 0);  // resolution: unused in icons
    PutU32(out, 0);
    PutU32(out, 0);  // palette colours
    PutU32(out, 0);

    const auto alphaAt = [&](int x, int y) {
        return icon
            .alpha[static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x)];
    };
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const uint8_t* rgb = icon.color.Pixel(x, y);
            out.push_back(rgb[2]);
            out.push_back(rgb[1]);
            out.push_back(rgb[0]);
            out.push_back(alphaAt(x, y));
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskRowSize, 0);
        for (int x = 0; x < size; ++x) {
            if (alphaAt(x, y) == 0) {
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images) {
    std::vector<std::vector<uint8_t>> encoded;
    for (const IconImage& icon : images) {
        const int size = icon.color.Width();
        if (size <= 0 || size > kLargestSize || icon.color.Height() != size ||
            icon.alpha.size() != static_cast<size_t>(size) * static_cast<size_t>(size)) {
            return {};
        }
        encoded.push_back(size == kLargestSize ? EncodePngWithAlpha(icon.color, icon.alpha)
                                               : EncodeIconBitmap(icon));
        if (encoded.back().empty()) {
            return {};
        }
    }
    if (encoded.empty()) {
        return {};
    }

    std::vector<uint8_t> out;
    PutU16(out, 0);  // reserved
    PutU16(out, 1);  // an icon, not a cursor
    PutU16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = kDirectorySize + kEntrySize * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].color.Width();
        // One byte each for width and height: 256 is written as 0.
        out.push_back(static_cast<uint8_t>(size % 256));
        out.push_back(static_cast<uint8_t>(size % 256));
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        PutU16(out, 1);    // planes
        PutU16(out, 32);   // bits per pixel
        PutU32(out, static_cast<uint32_t>(encoded[i].size()));
        PutU32(out, offset);
        offset += static_cast<uint32_t>(encoded[i].size());
    }
    for (const std::vector<uint8_t>& image : encoded) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

}  // namespace content
