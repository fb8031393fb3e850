// An RGB image held in memory, top row first, as the content tool paints it before encoding.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/content/color.h"

namespace content {

class Image {
public:
    Image() = default;
    Image(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Stores the colour rounded to 8 bits per channel, clamped to [0, 1].
    void Set(int x, int y, const Color& color);
    void SetBytes(int x, int y, uint8_t r, uint8_t g, uint8_t b);
    Color Get(int x, int y) const;
    const uint8_t* Pixel(int x, int y) const { return &pixels_[Offset(x, y)]; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

private:
    size_t Offset(int x, int y) const {
        return (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;  // r, g, b per pixel
};

}  // namespace content
