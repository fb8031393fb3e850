// Windows icon files: one .ico holding the icon painted at several sizes, which the Windows build
// compiles into skimlark.exe for Explorer, the taskbar and the window's title bar.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/content/icon_painter.h"

namespace content {

// The images in the order given, each square and at most 256 pixels: those under 256 as 32-bit
// bitmaps with alpha and a transparency mask (every version of Windows reads them), 256 as a PNG
// (as Windows' own large icons are stored, a tenth of the bitmap's size). Empty when an image is
// not square, too large, lacks one alpha byte per pixel, or cannot be encoded.
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);

}  // namespace content
