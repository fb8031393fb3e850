#include "tools/content/sea_textures.h"

#include <cmath>

#include "tools/content/noise.h"
#include "tools/content/parallel_rows.h"

namespace content {

namespace {

const float kTwoPi = 6.2831853f;

const Color kDeepWater = Rgb(58, 108, 138);
const Color kLightWater = Rgb(92, 150, 164);
const Color kCrest = Rgb(150, 196, 196);

const Color kSand = Rgb(204, 186, 142);
const Color kDarkSand = Rgb(172, 154, 114);
const Color kWeed = Rgb(112, 124, 82);
const Color kPebble = Rgb(140, 128, 104);

}  // namespace

Image PaintWater(int size) {
    Image image(size, size);
    PaintImage(&image, [size](int x, int y) {
        const float u = (x + 0.5f) / size;
        const float v = (y + 0.5f) / size;
        // Every layer repeats a whole number of times over the image.
        const float swell = FractalNoise(u * 4.0f, v * 4.0f, 501u, 4, 0.5f, 4);
        const float warpX = 0.35f * FractalNoise(u * 3.0f, v * 3.0f, 502u, 2, 0.5f, 3);
        const float warpY = 0.35f * FractalNoise(u * 3.0f + 5.0f, v * 3.0f, 503u, 2, 0.5f, 3);
        const CellDistances cells =
            CellularNoise(u * 9.0f + warpX * 3.0f, v * 9.0f + warpY * 3.0f, 504u, 9);
        const float ridge = SmoothStep(0.09f, 0.0f, cells.second - cells.nearest);
        const float ripple = 0.5f + 0.5f * std::sin(kTwoPi * (u * 22.0f + v * 6.0f) + 6.0f * swell);
        Color water = Mix(kDeepWater, kLightWater, SmoothStep(-0.5f, 0.6f, swell));
        water = water * (0.94f + 0.08f * ripple);
        return Mix(water, kCrest, ridge * 0.35f);
    });
    return image;
}

Image PaintSand(int size) {
    Image image(size, size);
    PaintImage(&image, [size](int x, int y) {
        const float u = (x + 0.5f) / size;
        const float v = (y + 0.5f) / size;
        const float patches = FractalNoise(u * 6.0f, v * 6.0f, 601u, 5, 0.55f, 6);
        // Ripples about three units apart, bent by a slow warp.
        const float warp = 1.6f * FractalNoise(u * 5.0f, v * 5.0f, 602u, 3, 0.5f, 5);
        const float ripple = std::sin(kTwoPi * (u * 96.0f + v * 24.0f) + 4.0f * warp);
        Color sand = Mix(kDarkSand, kSand, SmoothStep(-0.6f, 0.5f, patches));
        sand = sand * (0.95f + 0.06f * ripple);
        const float weed =
            SmoothStep(0.28f, 0.42f, FractalNoise(u * 10.0f, v * 10.0f, 603u, 4, 0.55f, 10));
        const float tufts = 0.6f + 0.4f * FractalNoise(u * 80.0f, v * 80.0f, 604u, 2, 0.5f, 80);
        sand = Mix(sand, kWeed * tufts, weed * 0.75f);
        const CellDistances stones = CellularNoise(u * 70.0f, v * 70.0f, 605u, 70);
        const float pebble =
            SmoothStep(0.16f, 0.1f, stones.nearest) *
            (HashUnit(static_cast<int>(u * 70.0f), static_cast<int>(v * 70.0f), 606u) < 0.25f
                 ? 1.0f
                 : 0.0f);
        sand = Mix(sand, kPebble, pebble * 0.7f);
        const float grain = HashUnit(x, y, 607u);
        return sand * (0.96f + 0.08f * grain);
    });
    return image;
}

Color AverageColor(const Image& image) {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t* p = image.Pixel(x, y);
            r += p[0];
            g += p[1];
            b += p[2];
        }
    }
    const double n = 255.0 * image.Width() * image.Height();
    return Color(static_cast<float>(r / n), static_cast<float>(g / n), static_cast<float>(b / n));
}

}  // namespace content
