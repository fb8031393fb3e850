// JPEG encoding through libjpeg, into memory.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

#include "tools/content/image_writers.h"

namespace content {

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const Image& image, int quality) {
    jpeg_compress_struct compressor;
    ErrorTrap trap;
    compressor.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = OnJpegError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&compressor);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&compressor);
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = static_cast<JDIMENSION>(image.Width());
    compressor.image_height = static_cast<JDIMENSION>(image.Height());
    compressor.input_components = 3;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, quality, TRUE);
    // Colour kept at full resolution (4:4:4): how a decoder enlarges halved chroma is its own
    // choice, and libjpeg-turbo's and the Windows codecs' choices differ by a few levels.
    for (int c = 0; c < compressor.num_components; ++c) {
        compressor.comp_info[c].h_samp_factor = 1;
        compressor.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&compressor, TRUE);
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(image.Pixel(0, static_cast<int>(compressor.next_scanline)));
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&compressor);
    std::free(buffer);
    return out;
}

}  // namespace content
