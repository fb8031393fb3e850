// PNG encoding through libpng, into memory. No time or text chunks are written, so the same image
// always gives the same file.
#include <png.h>

#include <csetjmp>

#include "tools/content/image_writers.h"

namespace content {

namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return {};
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    std::vector<png_bytep> rows(static_cast<size_t>(image.Height()));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendToVector, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width()),
                 static_cast<png_uint_32>(image.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    for (int y = 0; y < image.Height(); ++y) {
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(image.Pixel(0, y));
    }
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace content
