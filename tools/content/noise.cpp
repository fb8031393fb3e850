#include "tools/content/noise.h"

#include <cmath>

namespace content {

namespace {

uint32_t Hash(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

int Wrap(int i, int period) {
    if (period <= 0) {
        return i;
    }
    const int m = i % period;
    return m < 0 ? m + period : m;
}

float Fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

// One of 16 unit gradients spread evenly around the circle.
float GradientDot(int ix, int iy, float dx, float dy, uint32_t seed, int period) {
    const uint32_t h = Hash(Wrap(ix, period), Wrap(iy, period), seed);
    static const float kGradients[16][2] = {
        {1.0f, 0.0f},  {0.9239f, 0.3827f},   {0.7071f, 0.7071f},   {0.3827f, 0.9239f},
        {0.0f, 1.0f},  {-0.3827f, 0.9239f},  {-0.7071f, 0.7071f},  {-0.9239f, 0.3827f},
        {-1.0f, 0.0f}, {-0.9239f, -0.3827f}, {-0.7071f, -0.7071f}, {-0.3827f, -0.9239f},
        {0.0f, -1.0f}, {0.3827f, -0.9239f},  {0.7071f, -0.7071f},  {0.9239f, -0.3827f}};
    const float* g = kGradients[h & 15u];
    return g[0] * dx + g[1] * dy;
}

}  // namespace

float HashUnit(int x, int y, uint32_t seed) {
    return static_cast<float>(Hash(x, y, seed) >> 8) / 16777216.0f;
}

float GradientNoise(float x, float y, uint32_t seed, int period) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float dx = x - fx;
    const float dy = y - fy;
    const float n00 = GradientDot(ix, iy, dx, dy, seed, period);
    const float n10 = GradientDot(ix + 1, iy, dx - 1.0f, dy, seed, period);
    const float n01 = GradientDot(ix, iy + 1, dx, dy - 1.0f, seed, period);
    const float n11 = GradientDot(ix + 1, iy + 1, dx - 1.0f, dy - 1.0f, seed, period);
    const float u = Fade(dx);
    const float v = Fade(dy);
    const float nx0 = n00 + (n10 - n00) * u;
    const float nx1 = n01 + (n11 - n01) * u;
    // Scaled so that the extremes come close to +-1.
    return (nx0 + (nx1 - nx0) * v) * 1.41f;
}

float FractalNoise(float x, float y, uint32_t seed, int octaves, float gain, int period) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float total = 0.0f;
    float frequency = 1.0f;
    int octavePeriod = period;
    for (int i = 0; i < octaves; ++i) {
        sum +=
            amplitude * GradientNoise(x * frequency, y * frequency, seed + 101u * i, octavePeriod);
        total += amplitude;
        amplitude *= gain;
        frequency *= 2.0f;
        octavePeriod *= 2;
    }
    return sum / total;
}

CellDistances CellularNoise(float x, float y, uint32_t seed, int period) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    CellDistances result{1e9f, 1e9f};
    for (int cy = iy - 1; cy <= iy + 1; ++cy) {
        for (int cx = ix - 1; cx <= ix + 1; ++cx) {
            const int wx = Wrap(cx, period);
            const int wy = Wrap(cy, period);
            const float px = cx + HashUnit(wx, wy, seed);
            const float py = cy + HashUnit(wx, wy, seed ^ 0x5BD1E995u);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < result.nearest) {
                result.second = result.nearest;
                result.nearest = d;
            } else if (d < result.second) {
                result.second = d;
            }
        }
    }
    return result;
}

}  // namespace content
