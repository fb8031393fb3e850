#include "tests/support/image_file_writers.h"

#include <cstdio>  // jpeglib.h needs FILE declared first

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

void Put16(Bytes* out, uint32_t value) {
    out->push_back(static_cast<uint8_t>(value));
    out->push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(Bytes* out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutBytes(Bytes* out, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

uint32_t Channel(uint32_t argb, int shift) {
    return (argb >> shift) & 0xFF;
}

// An 8-bit value scaled into a mask's bits and placed there.
uint32_t PlaceInMask(uint32_t value8, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    const uint64_t maximum = static_cast<uint64_t>(mask) >> shift;
    return static_cast<uint32_t>(((value8 * maximum + 127) / 255) << shift) & mask;
}

Bytes AssembleInfo(const BmpLayout& layout) {
    Bytes info;
    Put32(&info, layout.headerSize);
    Put32(&info, static_cast<uint32_t>(layout.width));
    Put32(&info, static_cast<uint32_t>(layout.height));
    Put16(&info, layout.planes);
    Put16(&info, layout.bitCount);
    Put32(&info, layout.compression);
    Put32(&info, static_cast<uint32_t>(layout.pixels.size()));
    Put32(&info, 2835);
    Put32(&info, 2835);
    Put32(&info, layout.colorsUsed);
    Put32(&info, 0);
    // Header sizes beyond 40 carry the masks first, then zeros.
    size_t mask = 0;
    while (info.size() < layout.headerSize) {
        Put32(&info, mask < layout.masks.size() ? layout.masks[mask] : 0);
        ++mask;
    }
    info.resize(layout.headerSize);
    if (layout.headerSize < 52) {
        for (uint32_t m : layout.masks) {
            Put32(&info, m);
        }
    }
    for (uint32_t entry : layout.palette) {
        Put32(&info, entry & 0xFFFFFF);
    }
    return info;
}

}  // namespace

TestImage PatternImage(uint32_t width, uint32_t height, bool withAlpha) {
    TestImage image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t r = (x * 37 + y * 11) & 0xFF;
            const uint32_t g = (x * 5 + y * 53 + 17) & 0xFF;
            const uint32_t b = (x * y * 7 + 91) & 0xFF;
            const uint32_t a = withAlpha ? ((x * 29 + y * 3) & 0xFF) : 0xFF;
            image.argb[y * width + x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    return image;
}

Bytes AssembleBmp(const BmpLayout& layout) {
    const Bytes info = AssembleInfo(layout);
    Bytes file{'B', 'M'};
    const uint32_t offset = static_cast<uint32_t>(14 + info.size());
    const uint32_t size = static_cast<uint32_t>(offset + layout.pixels.size());
    Put32(&file,
          layout.fileSizeOverride >= 0 ? static_cast<uint32_t>(layout.fileSizeOverride) : size);
    Put32(&file, 0);
    Put32(&file, offset);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), layout.pixels.begin(), layout.pixels.end());
    return file;
}

Bytes AssembleDib(const BmpLayout& layout) {
    Bytes file = AssembleInfo(layout);
    file.insert(file.end(), layout.pixels.begin(), layout.pixels.end());
    return file;
}

Bytes PackBmpRows(const TestImage& image, uint16_t bitCount, bool topDown) {
    const uint32_t masks16[4] = {0x7C00, 0x03E0, 0x001F, 0};
    const uint32_t masks24[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0};
    Bytes rows = PackMaskedRows(image, bitCount, bitCount == 16 ? masks16 : masks24);
    if (topDown) {
        const size_t stride = rows.size() / image.height;
        Bytes flipped;
        for (uint32_t r = image.height; r-- > 0;) {
            flipped.insert(flipped.end(), rows.begin() + r * stride,
                           rows.begin() + (r + 1) * stride);
        }
        return flipped;
    }
    return rows;
}

Bytes PackMaskedRows(const TestImage& image, uint16_t bitCount, const uint32_t masks[4]) {
    Bytes rows;
    for (uint32_t r = 0; r < image.height; ++r) {
        const uint32_t y = image.height - 1 - r;
        const size_t start = rows.size();
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint32_t p = image.At(x, y);
            const uint32_t packed =
                PlaceInMask(Channel(p, 16), masks[0]) | PlaceInMask(Channel(p, 8), masks[1]) |
                PlaceInMask(Channel(p, 0), masks[2]) | PlaceInMask(Channel(p, 24), masks[3]);
            PutBytes(&rows, packed, bitCount / 8);
        }
        while ((rows.size() - start) % 4 != 0) {
            rows.push_back(0);
        }
    }
    return rows;
}

Bytes PackIndexRows(const std::vector<uint8_t>& indices, uint32_t width, uint32_t height,
                    uint16_t bitCount, bool topDown) {
    Bytes rows;
    const uint32_t stride = (width * bitCount + 31) / 32 * 4;
    for (uint32_t r = 0; r < height; ++r) {
        const uint32_t y = topDown ? r : height - 1 - r;
        Bytes row(stride, 0);
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t bit = x * bitCount;
            const uint32_t shift = 8 - bitCount - bit % 8;
            row[bit / 8] |= static_cast<uint8_t>(indices[y * width + x] << shift);
        }
        rows.insert(rows.end(), row.begin(), row.end());
    }
    return rows;
}

Bytes EncodeRle(const std::vector<uint8_t>& indices, uint32_t width, uint32_t height,
                bool fourBit) {
    Bytes codes;
    for (uint32_t r = 0; r < height; ++r) {
        const uint32_t y = height - 1 - r;
        uint32_t x = 0;
        while (x < width) {
            const uint8_t index = indices[y * width + x];
            uint32_t run = 1;
            while (x + run < width && run < 255 && indices[y * width + x + run] == index) {
                ++run;
            }
            codes.push_back(static_cast<uint8_t>(run));
            codes.push_back(fourBit ? static_cast<uint8_t>(index << 4 | index) : index);
            x += run;
        }
        codes.push_back(0);
        codes.push_back(r + 1 == height ? 1 : 0);
    }
    return codes;
}

Bytes WriteBmp24(const TestImage& image) {
    BmpLayout layout;
    layout.width = static_cast<int32_t>(image.width);
    layout.height = static_cast<int32_t>(image.height);
    layout.pixels = PackBmpRows(image, 24);
    return AssembleBmp(layout);
}

Bytes WriteTga(const TestImage& image, const TgaLayout& layout) {
    const bool mapped = (layout.imageType & 3) == 1;
    const bool grey = (layout.imageType & 3) == 3;
    const bool runLength = layout.imageType >= 9;
    Bytes file;
    file.push_back(static_cast<uint8_t>(layout.id.size()));
    file.push_back(layout.colorMap.empty() ? 0 : 1);
    file.push_back(layout.imageType);
    Put16(&file, layout.colorMapFirst);
    Put16(&file, static_cast<uint32_t>(layout.colorMap.size()));
    file.push_back(layout.colorMap.empty() ? 0 : layout.colorMapDepth);
    Put16(&file, 0);
    Put16(&file, 0);
    Put16(&file, image.width);
    Put16(&file, image.height);
    file.push_back(layout.depth);
    file.push_back(layout.descriptor);
    file.insert(file.end(), layout.id.begin(), layout.id.end());

    auto encode = [](uint32_t argb, int depth, Bytes* out) {
        if (depth == 15 || depth == 16) {
            const uint32_t v = PlaceInMask(Channel(argb, 16), 0x7C00) |
                               PlaceInMask(Channel(argb, 8), 0x03E0) |
                               PlaceInMask(Channel(argb, 0), 0x001F) | ((argb >> 31) << 15);
            Put16(out, v);
        } else {
            PutBytes(out, argb, depth / 8);
        }
    };
    for (uint32_t entry : layout.colorMap) {
        encode(entry, layout.colorMapDepth, &file);
    }

    // Pixels in stored order: rows bottom-up unless top-down, columns reversed if right-to-left.
    std::vector<Bytes> stored;
    const bool topDown = (layout.descriptor & 0x20) != 0;
    const bool rightToLeft = (layout.descriptor & 0x10) != 0;
    for (uint32_t r = 0; r < image.height; ++r) {
        const uint32_t y = topDown ? r : image.height - 1 - r;
        for (uint32_t c = 0; c < image.width; ++c) {
            const uint32_t x = rightToLeft ? image.width - 1 - c : c;
            const uint32_t p = image.At(x, y);
            Bytes value;
            if (mapped) {
                const auto it = std::find(layout.colorMap.begin(), layout.colorMap.end(), p);
                value.push_back(
                    static_cast<uint8_t>(layout.colorMapFirst + (it - layout.colorMap.begin())));
            } else if (grey) {
                value.push_back(static_cast<uint8_t>(Channel(p, 0)));
                if (layout.depth == 16) {
                    value.push_back(static_cast<uint8_t>(Channel(p, 24)));
                }
            } else {
                encode(p, layout.depth, &value);
            }
            stored.push_back(value);
        }
    }
    if (!runLength) {
        for (const Bytes& value : stored) {
            file.insert(file.end(), value.begin(), value.end());
        }
        return file;
    }
    // Runs of equal values become run packets; the rest go out as raw packets.
    size_t i = 0;
    while (i < stored.size()) {
        size_t run = 1;
        while (i + run < stored.size() && run < 128 && stored[i + run] == stored[i]) {
            ++run;
        }
        if (run > 1) {
            file.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
            file.insert(file.end(), stored[i].begin(), stored[i].end());
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < stored.size() && raw < 128 &&
               (i + raw + 1 >= stored.size() || stored[i + raw] != stored[i + raw + 1])) {
            ++raw;
        }
        file.push_back(static_cast<uint8_t>(raw - 1));
        for (size_t k = 0; k < raw; ++k) {
            file.insert(file.end(), stored[i + k].begin(), stored[i + k].end());
        }
        i += raw;
    }
    return file;
}

Bytes WritePpm(const TestImage& image, bool binary, bool grey, uint32_t maxValue,
               const std::string& comment) {
    std::string header =
        std::string("P") + (grey ? (binary ? "5" : "2") : (binary ? "6" : "3")) + "\n";
    if (!comment.empty()) {
        header += "# " + comment + "\n";
    }
    header += std::to_string(image.width) + " " + std::to_string(image.height) + "\n" +
              std::to_string(maxValue) + "\n";
    Bytes file(header.begin(), header.end());
    std::string text;
    for (uint32_t p : image.argb) {
        const int shifts[3] = {16, 8, 0};
        for (int c = grey ? 2 : 0; c < 3; ++c) {
            const uint32_t sample = (Channel(p, shifts[c]) * maxValue + 127) / 255;
            if (!binary) {
                text += std::to_string(sample) + (c == 2 ? "\n" : " ");
            } else if (maxValue > 255) {
                file.push_back(static_cast<uint8_t>(sample >> 8));
                file.push_back(static_cast<uint8_t>(sample));
            } else {
                file.push_back(static_cast<uint8_t>(sample));
            }
        }
    }
    file.insert(file.end(), text.begin(), text.end());
    return file;
}

namespace {

Bytes DdsHeader(uint32_t width, uint32_t height, uint32_t flags, uint32_t fourCc, uint32_t bitCount,
                const uint32_t masks[4]) {
    Bytes file{'D', 'D', 'S', ' '};
    Put32(&file, 124);
    Put32(&file, 0x1 | 0x2 | 0x4 | 0x1000);
    Put32(&file, height);
    Put32(&file, width);
    Put32(&file, 0);
    Put32(&file, 0);
    Put32(&file, 1);
    for (int i = 0; i < 11; ++i) {
        Put32(&file, 0);
    }
    Put32(&file, 32);
    Put32(&file, flags);
    Put32(&file, fourCc);
    Put32(&file, bitCount);
    for (int i = 0; i < 4; ++i) {
        Put32(&file, masks[i]);
    }
    Put32(&file, 0x1000);
    for (int i = 0; i < 4; ++i) {
        Put32(&file, 0);
    }
    return file;
}

}  // namespace

Bytes WriteDdsUncompressed(const TestImage& image, uint32_t flags, uint32_t bitCount,
                           const uint32_t masks[4]) {
    Bytes file = DdsHeader(image.width, image.height, flags, 0, bitCount, masks);
    const bool luminance = (flags & 0x20000) != 0;
    for (uint32_t p : image.argb) {
        uint32_t packed = PlaceInMask(Channel(p, 24), masks[3]);
        if (luminance) {
            packed |= PlaceInMask(Channel(p, 0), masks[0]);
        } else {
            packed |= PlaceInMask(Channel(p, 16), masks[0]) | PlaceInMask(Channel(p, 8), masks[1]) |
                      PlaceInMask(Channel(p, 0), masks[2]);
        }
        PutBytes(&file, packed, static_cast<int>(bitCount / 8));
    }
    return file;
}

Bytes WriteDdsBlocks(uint32_t width, uint32_t height, const char fourCc[4], const Bytes& blocks) {
    const uint32_t noMasks[4] = {0, 0, 0, 0};
    uint32_t code = 0;
    std::memcpy(&code, fourCc, 4);
    Bytes file = DdsHeader(width, height, 0x4, code, 0, noMasks);
    file.insert(file.end(), blocks.begin(), blocks.end());
    return file;
}

namespace {

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

}  // namespace

Bytes WritePng(const TestImage& image, PngKind kind, int bitDepth, bool interlaced) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return Bytes();
    }
    png_set_write_fn(png, &out, AppendToBytes, FlushNothing);
    int colorType = PNG_COLOR_TYPE_RGB;
    int channels = 3;
    switch (kind) {
        case PngKind::kRgb:
            break;
        case PngKind::kRgba:
            colorType = PNG_COLOR_TYPE_RGBA;
            channels = 4;
            break;
        case PngKind::kGrey:
            colorType = PNG_COLOR_TYPE_GRAY;
            channels = 1;
            break;
        case PngKind::kGreyAlpha:
            colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
            channels = 2;
            break;
        case PngKind::kPalette:
            colorType = PNG_COLOR_TYPE_PALETTE;
            channels = 1;
            break;
    }
    png_set_IHDR(png, info, image.width, image.height, bitDepth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::map<uint32_t, uint8_t> paletteIndex;
    if (kind == PngKind::kPalette) {
        std::vector<png_color> colors;
        std::vector<png_byte> alphas;
        for (uint32_t p : image.argb) {
            if (paletteIndex.count(p) == 0) {
                paletteIndex[p] = static_cast<uint8_t>(colors.size());
                colors.push_back(png_color{static_cast<png_byte>(Channel(p, 16)),
                                           static_cast<png_byte>(Channel(p, 8)),
                                           static_cast<png_byte>(Channel(p, 0))});
                alphas.push_back(static_cast<png_byte>(Channel(p, 24)));
            }
        }
        png_set_PLTE(png, info, colors.data(), static_cast<int>(colors.size()));
        if (std::any_of(alphas.begin(), alphas.end(), [](png_byte a) { return a != 255; })) {
            png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
        }
    }
    png_write_info(png, info);
    if (bitDepth == 16) {
        png_set_swap(png);  // rows below are little-endian 16-bit samples
    }
    if (bitDepth < 8) {
        png_set_packing(png);
    }
    const size_t sampleBytes = bitDepth == 16 ? 2 : 1;
    std::vector<Bytes> rows(image.height, Bytes(image.width * channels * sampleBytes));
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint32_t p = image.At(x, y);
            uint32_t samples[4] = {Channel(p, 16), Channel(p, 8), Channel(p, 0), Channel(p, 24)};
            if (kind == PngKind::kGrey || kind == PngKind::kGreyAlpha) {
                samples[0] = Channel(p, 0);
                samples[1] = Channel(p, 24);
            }
            if (kind == PngKind::kPalette) {
                samples[0] = paletteIndex[p];
            } else if (bitDepth < 8) {
                samples[0] >>= 8 - bitDepth;
            }
            for (int c = 0; c < channels; ++c) {
                uint8_t* at = &rows[y][(x * channels + c) * sampleBytes];
                if (bitDepth == 16) {
                    const uint32_t wide = samples[c] * 257;
                    at[0] = static_cast<uint8_t>(wide);
                    at[1] = static_cast<uint8_t>(wide >> 8);
                } else {
                    at[0] = static_cast<uint8_t>(samples[c]);
                }
            }
        }
    }
    std::vector<png_bytep> pointers;
    for (Bytes& row : rows) {
        pointers.push_back(row.data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes WriteJpeg(const TestImage& image, int quality, bool grey, bool progressive) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = image.width;
    info.image_height = image.height;
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    Bytes row(image.width * 3);
    while (info.next_scanline < info.image_height) {
        const uint32_t y = info.next_scanline;
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint32_t p = image.At(x, y);
            if (grey) {
                row[x] = static_cast<uint8_t>(Channel(p, 0));
            } else {
                row[3 * x] = static_cast<uint8_t>(Channel(p, 16));
                row[3 * x + 1] = static_cast<uint8_t>(Channel(p, 8));
                row[3 * x + 2] = static_cast<uint8_t>(Channel(p, 0));
            }
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

bool WriteBytesToFile(const std::string& path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}
