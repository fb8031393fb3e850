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

// 8 bits a channel, rows top first. libpng reports errors by longjmp: nothing with a destructor
// is made between the setjmp and the calls it guards.
bool EncodeRows(int width, int height, int colorType, std::vector<png_bytep>& rows,
                std::vector<uint8_t>* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendToVector, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
    std::vector<uint8_t> out;
    std::vector<png_bytep> rows(static_cast<size_t>(image.Height()));
    for (int y = 0; y < image.Height(); ++y) {
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(image.Pixel(0, y));
    }
    if (!EncodeRows(image.Width(), image.Height(), PNG_COLOR_TYPE_RGB, rows, &out)) {
        return {};
    }
    return out;
}

std::vector<uint8_t> EncodePngWithAlpha(const Image& image, const std::vector<uint8_t>& alpha) {
    const size_t pixels = static_cast<size_t>(image.Width()) * static_cast<size_t>(image.Height());
    if (alpha.size() != pixels) {
        return {};
    }
    std::vector<uint8_t> rgba(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* rgb = image.Pixels().data() + i * 3;
        rgba[i * 4 + 0] = rgb[0];
        rgba[i * 4 + 1] = rgb[1];
        rgba[i * 4 + 2] = rgb[2];
        rgba[i * 4 + 3] = alpha[i];
    }
    std::vector<png_bytep> rows(static_cast<size_t>(image.Height()));
    for (size_t y = 0; y < rows.size(); ++y) {
        rows[y] = rgba.data() + y * static_cast<size_t>(image.Width()) * 4;
    }
    std::vector<uint8_t> out;
    if (!EncodeRows(image.Width(), image.Height(), PNG_COLOR_TYPE_RGB_ALPHA, rows, &out)) {
        return {};
    }
    return out;
}

}  // namespace content
