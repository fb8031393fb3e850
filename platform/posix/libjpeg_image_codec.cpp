// JPEG decoding for the texture loader on Linux, through libjpeg: greyscale, YCbCr and (Adobe)
// CMYK images become A8R8G8B8. libjpeg's default error handling prints and calls exit(), so this
// installs handlers that longjmp back and turn every error, and every corrupt-data warning
// (truncation among them), into a failed load.
#include <cstdio>  // jpeglib.h needs FILE declared first

#include <jpeglib.h>

#include <csetjmp>
#include <utility>
#include <vector>

#include "platform/safe_size.h"
#include "platform/system_image_codecs.h"

namespace {

// A progressive file may repeat scans without end; no real image needs this many.
const int kMostScans = 1000;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void ExitByJump(j_common_ptr common) {
    std::longjmp(reinterpret_cast<ErrorManager*>(common->err)->jump, 1);
}

// Level -1 is a warning about corrupt data; higher levels are trace messages.
void EmitMessage(j_common_ptr common, int level) {
    if (level < 0) {
        ExitByJump(common);
    }
}

void OutputNothing(j_common_ptr) {}

void LimitScans(j_common_ptr common) {
    if (!common->is_decompressor) {
        return;
    }
    auto* decompress = reinterpret_cast<j_decompress_ptr>(common);
    if (decompress->input_scan_number > kMostScans) {
        ExitByJump(common);
    }
}

struct JpegRead {
    jpeg_decompress_struct info;
    ErrorManager error;
    jpeg_progress_mgr progress;
    bool created;
    const uint8_t* data;
    size_t size;
    UINT maxWidth;
    UINT maxHeight;
    SystemImage* image;
    std::vector<JSAMPLE>* row;
    HRESULT result;
};

// Runs every libjpeg call; an error inside libjpeg arrives back here by longjmp.
void ReadGuarded(JpegRead* read) {
    jpeg_decompress_struct* info = &read->info;
    info->err = jpeg_std_error(&read->error.base);
    read->error.base.error_exit = ExitByJump;
    read->error.base.emit_message = EmitMessage;
    read->error.base.output_message = OutputNothing;
    if (setjmp(read->error.jump) != 0) {
        if (SUCCEEDED(read->result)) {
            read->result = E_FAIL;
        }
        return;
    }
    jpeg_create_decompress(info);
    read->created = true;
    read->progress.progress_monitor = LimitScans;
    info->progress = &read->progress;
    jpeg_mem_src(info, read->data, static_cast<unsigned long>(read->size));
    jpeg_read_header(info, TRUE);
    if (info->image_width > read->maxWidth || info->image_height > read->maxHeight) {
        read->result = kSystemImageTooLarge;
        return;
    }
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(info);
    const int components = cmyk ? 4 : 3;
    if (info->output_components != components || info->output_width == 0 ||
        info->output_height == 0 || info->output_width > read->maxWidth ||
        info->output_height > read->maxHeight) {
        read->result = E_FAIL;
        return;
    }
    read->result = read->image->AllocatePixels(info->output_width, info->output_height, false);
    if (FAILED(read->result)) {
        return;
    }
    if (!TryResize(read->row, static_cast<size_t>(info->output_width) * components)) {
        read->result = E_OUTOFMEMORY;
        return;
    }
    while (info->output_scanline < info->output_height) {
        const JDIMENSION y = info->output_scanline;
        JSAMPROW samples = read->row->data();
        if (jpeg_read_scanlines(info, &samples, 1) != 1) {
            read->result = E_FAIL;
            return;
        }
        uint32_t* out = read->image->PixelRow(y);
        for (JDIMENSION x = 0; x < info->output_width; ++x) {
            const JSAMPLE* s = samples + x * components;
            uint32_t r = s[0];
            uint32_t g = s[1];
            uint32_t b = s[2];
            if (cmyk) {
                // Adobe stores CMYK inverted: each value is already 255 - ink.
                r = r * s[3] / 255;
                g = g * s[3] / 255;
                b = b * s[3] / 255;
            }
            out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(info);
}

}  // namespace

HRESULT DecodeJpegImage(const uint8_t* data, size_t size, UINT maxWidth, UINT maxHeight,
                        SystemImage* image) {
    SystemImage decoded;
    std::vector<JSAMPLE> row;
    JpegRead read{};
    read.data = data;
    read.size = size;
    read.maxWidth = maxWidth;
    read.maxHeight = maxHeight;
    read.image = &decoded;
    read.row = &row;
    read.result = S_OK;
    ReadGuarded(&read);
    if (read.created) {
        jpeg_destroy_decompress(&read.info);
    }
    if (FAILED(read.result)) {
        return read.result;
    }
    *image = std::move(decoded);
    return S_OK;
}
