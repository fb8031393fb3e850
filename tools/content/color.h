// Linear RGB colours in [0, 1] (values outside are allowed until they are stored) and the small
// blending helpers the painters share.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace content {

struct Color {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;

    Color() = default;
    constexpr Color(float cr, float cg, float cb) : r(cr), g(cg), b(cb) {}

    Color operator+(const Color& c) const { return Color(r + c.r, g + c.g, b + c.b); }
    Color operator-(const Color& c) const { return Color(r - c.r, g - c.g, b - c.b); }
    Color operator*(const Color& c) const { return Color(r * c.r, g * c.g, b * c.b); }
    Color operator*(float s) const { return Color(r * s, g * s, b * s); }
};

// From 0-255 channel values, as colours are usually picked.
constexpr Color Rgb(int r, int g, int b) {
    return Color(r / 255.0f, g / 255.0f, b / 255.0f);
}

inline float Clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

inline float Lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

inline Color Mix(const Color& a, const Color& b, float t) {
    return a + (b - a) * t;
}

inline float SmoothStep(float edge0, float edge1, float x) {
    const float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

inline uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f));
}

}  // namespace content
