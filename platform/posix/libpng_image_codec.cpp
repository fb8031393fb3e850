// PNG decoding for the texture loader on Linux, through libpng: every colour type and bit depth
// becomes 8-bit A8R8G8B8. libpng reports errors by longjmp, so nothing with a destructor lives
// between the setjmp and the library calls it guards.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <utility>

#include "platform/safe_size.h"
#include "platform/system_image_codecs.h"

namespace {

struct MemoryStream {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* stream = static_cast<MemoryStream*>(png_get_io_ptr(png));
    if (count > stream->size - stream->position) {
        png_error(png, "truncated");
    }
    std::memcpy(out, stream->data + stream->position, count);
    stream->position += count;
}

void RaiseError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// What the guarded part found out or needs, in plain storage that survives a longjmp.
struct PngRead {
    png_structp png;
    png_infop info;
    MemoryStream stream;
    UINT maxWidth;
    UINT maxHeight;
    SystemImage* image;
    std::vector<png_bytep>* rows;
    HRESULT result;
};

// Runs every libpng call. Returns normally on success or a refusal it decided itself; an error
// inside libpng arrives here by longjmp and becomes E_FAIL.
void ReadGuarded(PngRead* read) {
    png_structp png = read->png;
    png_infop info = read->info;
    if (setjmp(png_jmpbuf(png)) != 0) {
        if (SUCCEEDED(read->result)) {
            read->result = E_FAIL;
        }
        return;
    }
    png_set_read_fn(png, &read->stream, ReadFromMemory);
    // Text and other ancillary chunks are never needed; keep their buffers small.
    png_set_chunk_malloc_max(png, 1u << 20);
    png_read_info(png, info);

    // Row buffers come only with png_read_update_info, so the size is refused before any.
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width > read->maxWidth || height > read->maxHeight) {
        read->result = kSystemImageTooLarge;
        return;
    }
    const int colorType = png_get_color_type(png, info);
    const bool alpha =
        (colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_expand(png);  // palette to RGB, low-bit grey to 8 bits, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) {
        read->result = E_FAIL;
        return;
    }
    read->result = read->image->AllocatePixels(width, height, alpha);
    if (FAILED(read->result)) {
        return;
    }
    if (!TryResize(read->rows, height)) {
        read->result = E_OUTOFMEMORY;
        return;
    }
    for (png_uint_32 y = 0; y < height; ++y) {
        (*read->rows)[y] = reinterpret_cast<png_bytep>(read->image->PixelRow(y));
    }
    png_read_image(png, read->rows->data());
    png_read_end(png, nullptr);
}

}  // namespace

HRESULT DecodePngImage(const uint8_t* data, size_t size, UINT maxWidth, UINT maxHeight,
                       SystemImage* image) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, RaiseError, IgnoreWarning);
    if (png == nullptr) {
        return E_OUTOFMEMORY;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return E_OUTOFMEMORY;
    }
    SystemImage decoded;
    std::vector<png_bytep> rows;
    PngRead read{png,   info, MemoryStream{data, size, 0}, maxWidth, maxHeight, &decoded,
                 &rows, S_OK};
    ReadGuarded(&read);
    png_destroy_read_struct(&png, &info, nullptr);
    if (FAILED(read.result)) {
        return read.result;
    }
    // libpng wrote R, G, B, A bytes; the image holds A8R8G8B8 words.
    for (uint32_t& pixel : decoded.pixels) {
        uint8_t bytes[4];
        std::memcpy(bytes, &pixel, 4);
        pixel = (static_cast<uint32_t>(bytes[3]) << 24) | (static_cast<uint32_t>(bytes[0]) << 16) |
                (static_cast<uint32_t>(bytes[1]) << 8) | bytes[2];
    }
    *image = std::move(decoded);
    return S_OK;
}
