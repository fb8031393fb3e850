#include "tools/content/icon_painter.h"

#include <cmath>

#include "tools/content/color.h"

namespace content {

namespace {

// The badge in coordinates from -1 to 1, y up; everything past kRadius is transparent.
const float kRadius = 0.96f;
const float kRimWidth = 0.07f;
const float kHorizon = -0.12f;
const float kCraterX = -0.28f;

const Color kZenith = Rgb(40, 92, 178);
const Color kHaze = Rgb(196, 222, 240);
const Color kSun = Rgb(255, 246, 214);
const Color kDeepSea = Rgb(24, 86, 122);
const Color kShallowSea = Rgb(66, 160, 176);
const Color kRock = Rgb(92, 74, 66);
const Color kRockLit = Rgb(138, 108, 88);
const Color kGrass = Rgb(74, 138, 52);
const Color kSand = Rgb(232, 208, 152);
const Color kLava = Rgb(255, 150, 40);
const Color kGlow = Rgb(255, 214, 120);
const Color kFoam = Rgb(250, 252, 255);
const Color kRim = Rgb(16, 44, 80);
const Color kHull = Rgb(214, 58, 40);

// Height of the volcano's outline above the horizon at x, or below 0 where it does not stand.
float VolcanoHeight(float x) {
    const float crater = 0.10f;
    const float top = 0.50f;
    const float distance = std::fabs(x - kCraterX);
    if (distance < crater) {
        // A shallow notch: the crater's rim on both sides.
        return top - 0.05f * (1.0f - distance / crater);
    }
    return top - (distance - crater) * 0.85f;
}

// The glowing spray: a few sparks above the crater, fixed in place.
bool InSpark(float x, float y) {
    static const float kSparks[][3] = {{-0.28f, 0.53f, 0.05f}, {-0.22f, 0.63f, 0.045f},
                                       {-0.34f, 0.66f, 0.04f}, {-0.26f, 0.74f, 0.035f},
                                       {-0.17f, 0.76f, 0.03f}, {-0.37f, 0.79f, 0.028f}};
    for (const auto& spark : kSparks) {
        const float dx = x - spark[0];
        const float dy = y - spark[1];
        if (dx * dx + dy * dy < spark[2] * spark[2]) {
            return true;
        }
    }
    return false;
}

Color SkyAt(float x, float y) {
    const float height = Clamp01((y - kHorizon) / (1.0f - kHorizon));
    Color sky = Mix(kHaze, kZenith, std::pow(height, 0.7f));
    const float sunX = x - 0.48f;
    const float sunY = y - 0.44f;
    const float sunDistance = std::sqrt(sunX * sunX + sunY * sunY);
    sky = Mix(sky, kSun, 0.45f * (1.0f - SmoothStep(0.0f, 0.45f, sunDistance)));
    return Mix(sky, kSun, 1.0f - SmoothStep(0.11f, 0.13f, sunDistance));
}

Color IslandAt(float x, float y) {
    const float above = y - kHorizon;
    if (above < 0.04f) {
        return kSand;
    }
    // Lit from the sun on the right; a band of green low on the slopes.
    Color rock = x > kCraterX ? kRockLit : kRock;
    if (above < 0.14f) {
        rock = kGrass;
    }
    // The crater glows.
    const float fromCrater = std::fabs(x - kCraterX);
    const float glow = (1.0f - SmoothStep(0.06f, 0.14f, fromCrater)) *
                       (1.0f - SmoothStep(0.0f, 0.08f, kHorizon + VolcanoHeight(x) - y));
    return Mix(rock, kLava, glow);
}

Color SeaAt(float x, float y) {
    const float depth = Clamp01((kHorizon - y) / (1.0f + kHorizon));
    Color sea = Mix(kShallowSea, kDeepSea, depth);
    // The sun's glitter on the water below it.
    sea = Mix(sea, kHaze,
              0.35f * (1.0f - SmoothStep(0.0f, 0.12f, std::fabs(x - 0.48f))) * (1.0f - depth));
    // The skimmer heading for the island, its wake widening toward the viewer.
    const float headX = 0.10f;
    const float headY = -0.30f;
    const float hullX = (x - headX) / 0.075f;
    const float hullY = (y - headY) / 0.04f;
    if (hullX * hullX + hullY * hullY < 1.0f) {
        return kHull;
    }
    const float behind = headY - y;
    if (behind > 0.0f) {
        const float spread = 0.06f + 0.5f * behind;
        const float edge = std::fabs(std::fabs(x - headX) - spread);
        if (edge < 0.012f + 0.03f * behind) {
            return Mix(sea, kFoam, 0.9f - 0.4f * behind);
        }
    }
    return sea;
}

// Colour of the badge at a point inside it.
Color BadgeAt(float x, float y) {
    const float radius = std::sqrt(x * x + y * y);
    if (radius > kRadius - kRimWidth) {
        return kRim;
    }
    if (InSpark(x, y)) {
        return kGlow;
    }
    if (y >= kHorizon) {
        const float top = VolcanoHeight(x);
        if (top > 0.0f && y - kHorizon < top) {
            return IslandAt(x, y);
        }
        return SkyAt(x, y);
    }
    return SeaAt(x, y);
}

}  // namespace

const std::vector<int>& IconSizes() {
    static const std::vector<int> sizes = {16, 32, 48, 256};
    return sizes;
}

IconImage PaintIcon(int size) {
    IconImage icon;
    icon.color = Image(size, size);
    icon.alpha.assign(static_cast<size_t>(size) * static_cast<size_t>(size), 0);
    // 4 x 4 samples a pixel: alpha is the share inside the badge, colour the mean of those.
    const int n = 4;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            int covered = 0;
            Color sum;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const float x = ((px + (sx + 0.5f) / n) / size) * 2.0f - 1.0f;
                    const float y = 1.0f - ((py + (sy + 0.5f) / n) / size) * 2.0f;
                    if (x * x + y * y > kRadius * kRadius) {
                        continue;
                    }
                    ++covered;
                    sum = sum + BadgeAt(x, y);
                }
            }
            if (covered > 0) {
                icon.color.Set(px, py, sum * (1.0f / covered));
                icon.alpha[static_cast<size_t>(py) * static_cast<size_t>(size) +
                           static_cast<size_t>(px)] =
                    static_cast<uint8_t>((covered * 255 + n * n / 2) / (n * n));
            }
        }
    }
    return icon;
}

}  // namespace content
