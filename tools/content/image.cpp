#include "tools/content/image.h"

namespace content {

Image::Image(int width, int height)
    : width_(width),
      height_(height),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0) {}

void Image::Set(int x, int y, const Color& color) {
    SetBytes(x, y, ToByte(color.r), ToByte(color.g), ToByte(color.b));
}

void Image::SetBytes(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    uint8_t* p = &pixels_[Offset(x, y)];
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

Color Image::Get(int x, int y) const {
    const uint8_t* p = Pixel(x, y);
    return Color(p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f);
}

}  // namespace content
