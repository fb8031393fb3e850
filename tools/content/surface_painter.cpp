#include "tools/content/surface_painter.h"

#include <cmath>

#include "tools/content/noise.h"
#include "tools/content/sun.h"
#include "tools/content/world_constants.h"

namespace content {

namespace {

const Color kWetSand = Rgb(176, 152, 112);
const Color kDrift = Rgb(128, 112, 88);
const Color kEarth = Rgb(118, 98, 66);
const Color kDrySand = Rgb(232, 208, 152);
const Color kPaleSand = Rgb(240, 222, 174);
const Color kLushGrass = Rgb(74, 138, 52);
const Color kDryGrass = Rgb(150, 160, 74);
const Color kBush = Rgb(40, 92, 38);
const Color kRock = Rgb(132, 122, 108);
const Color kDarkRock = Rgb(88, 82, 76);
const Color kBasalt = Rgb(72, 64, 62);
const Color kAsh = Rgb(122, 106, 96);
const Color kScoria = Rgb(120, 66, 46);
const Color kGreySand = Rgb(150, 142, 130);
const Color kLava = Rgb(255, 150, 40);
const Color kLavaCore = Rgb(255, 236, 140);
const Color kLavaCrust = Rgb(60, 30, 24);

// The volcano's own colours give way to the ordinary shore between these distances from the
// crater.
const float kVolcanoInner = 34.0f;
const float kVolcanoOuter = 42.0f;

}  // namespace

Direction SunDirection() {
    const float elevation = 17.0f * 3.14159265f / 180.0f;
    const float azimuth = 160.0f * 3.14159265f / 180.0f;  // from +z toward +x
    return Direction{std::sin(azimuth) * std::cos(elevation), std::sin(elevation),
                     std::cos(azimuth) * std::cos(elevation)};
}

SurfacePainter::SurfacePainter(const HeightGrid& grid, const Color& seaFloor)
    : grid_(grid), seaFloor_(seaFloor) {}

Color SurfacePainter::Albedo(float x, float z, float h, float ny) const {
    // Detail down to a texel or two at the land's 13 to 16 texels a unit: grains, ripples and
    // blades that are really in the texels rather than a coarse field scaled up.
    const float grain = 0.5f + 0.5f * GradientNoise(x * 6.0f, z * 6.0f, 5u);
    const float fleck = HashUnit(static_cast<int>(std::floor(x * 16.0f)),
                                 static_cast<int>(std::floor(z * 16.0f)), 6u);
    const float patches = FractalNoise(x / 7.0f, z / 7.0f, 201u, 4);
    const float fine = FractalNoise(x * 0.9f, z * 0.9f, 202u, 3);

    // Sand: dry and rippled above, darker where the waves wet it, with a line of drift at the
    // top of the wet band; fading into the sea floor below the water.
    const float ripples = std::sin((x * 0.8f + z * 0.6f) * 9.0f + 3.0f * fine);
    Color sand = Mix(kDrySand, kPaleSand, 0.5f + 0.5f * patches);
    sand = sand * (0.97f + 0.03f * ripples);
    const float wetTop = -1.45f + 0.2f * GradientNoise(x / 2.5f, z / 2.5f, 204u);
    const float wet = SmoothStep(wetTop + 0.15f, wetTop - 0.2f, h);
    sand = Mix(sand, kWetSand * (0.92f - 0.1f * SmoothStep(-1.7f, -2.0f, h)), wet);
    const float drift = wetTop + 0.1f;
    sand = Mix(sand, kDrift, 0.3f * SmoothStep(0.1f, 0.0f, std::fabs(h - drift)) * grain);
    if (h < kWaterHeight) {
        const float depth = SmoothStep(kWaterHeight, kSandHeight, h);
        sand = Mix(kWetSand * 0.9f, seaFloor_, depth);
        sand = sand * (0.96f + 0.08f * fine * (1.0f - depth));
    }
    sand = sand * (0.96f + 0.04f * grain + 0.03f * fleck);

    // Beach up to just above the water line, grass above, rock where it is steep; each layer
    // painted only where it shows (most texels are one or two of them).
    const float beachLine = 0.4f + 0.5f * patches;
    const float toGrass = SmoothStep(beachLine, beachLine + 0.5f, h);
    const float steep = SmoothStep(0.78f, 0.62f, ny);
    const float toRock = h > kWaterHeight ? steep : steep * 0.4f;

    Color grass;
    if (toGrass > 0.0f) {
        // Grass: lush and dry patches, darker bushes, worn earth, and tufts at blade scale.
        grass = Mix(kLushGrass, kDryGrass, SmoothStep(-0.3f, 0.6f, patches));
        const float bushes = SmoothStep(0.25f, 0.45f, FractalNoise(x / 3.0f, z / 3.0f, 203u, 3));
        grass = Mix(grass, kBush, bushes * 0.8f);
        const float earth = SmoothStep(0.35f, 0.6f, FractalNoise(x / 1.7f, z / 1.7f, 205u, 2));
        grass = Mix(grass, kEarth, earth * 0.45f * (1.0f - bushes));
        const float tufts = FractalNoise(x * 3.0f, z * 3.0f, 206u, 2);
        grass = grass * (0.9f + 0.1f * tufts + 0.08f * fleck) * (0.92f + 0.12f * fine);
    }
    Color rock;
    if (toRock > 0.0f) {
        // Rock: strata that follow the height, each with its own shade and a dark seam between
        // layers, bent a little so that they do not look ruled. The seams are a few texels wide:
        // the level is drawn without mip levels, and thinner ones break into dots from afar.
        const float layer = h * 1.6f + 0.6f * fine + 0.3f * GradientNoise(x / 1.5f, z / 1.5f, 207u);
        const float band = std::floor(layer);
        const float within = layer - band;
        const float shade = HashUnit(static_cast<int>(band), 0, 208u);
        rock = Mix(kDarkRock, kRock, 0.3f + 0.7f * shade);
        rock = rock * (1.0f - 0.2f * SmoothStep(0.3f, 0.0f, within));
        rock = rock * (0.88f + 0.12f * grain + 0.06f * fleck);
    }
    const Color ground = Mix(sand, grass, toGrass);
    return Mix(ground, rock, toRock);
}

Color SurfacePainter::VolcanoAlbedo(float x, float z, float h, float ny, float distance) const {
    const float grain = 0.5f + 0.5f * GradientNoise(x * 6.0f, z * 6.0f, 7u);
    const float fleck = HashUnit(static_cast<int>(std::floor(x * 16.0f)),
                                 static_cast<int>(std::floor(z * 16.0f)), 8u);
    const float streaks =
        FractalNoise(std::atan2(z - kSprayZ, x - kSprayX) * 9.0f, distance / 6.0f, 301u, 3);
    // The flanks: ash and basalt streaked down the slope, red scoria near the top, with scrub
    // and grey sand on the apron.
    Color flank = Mix(kBasalt, kAsh, 0.5f + 0.5f * streaks);
    // Old flows laid down in layers, which the steep faces cut through.
    const float layer = h * 1.7f + 0.8f * streaks;
    const float within = layer - std::floor(layer);
    flank = flank * (1.0f - 0.16f * SmoothStep(0.7f, 0.55f, ny) * SmoothStep(0.3f, 0.0f, within));
    flank = Mix(flank, kScoria, SmoothStep(12.0f, 22.0f, h) * (0.6f + 0.4f * streaks));
    const float scrub = SmoothStep(6.0f, 1.5f, h) * SmoothStep(0.55f, 0.8f, ny);
    const Color green =
        Mix(kBush, kLushGrass, 0.5f + 0.5f * FractalNoise(x / 3.0f, z / 3.0f, 302u, 3));
    flank = Mix(flank, green, scrub * 0.85f);
    Color beach = Mix(kGreySand, kWetSand, SmoothStep(-1.0f, -2.0f, h));
    if (h < kWaterHeight) {
        beach = Mix(kWetSand * 0.8f, seaFloor_, SmoothStep(kWaterHeight, kSandHeight, h));
    }
    Color ground = Mix(beach, flank, SmoothStep(-0.2f, 1.2f, h));
    return ground * (0.93f + 0.1f * grain + 0.05f * fleck);
}

Color SurfacePainter::ColorAt(float x, float z) const {
    const float h = grid_.Height(x, z);
    float nx;
    float ny;
    float nz;
    grid_.Normal(x, z, &nx, &ny, &nz);

    const float vx = x - kSprayX;
    const float vz = z - kSprayZ;
    const float volcanoDistance = std::sqrt(vx * vx + vz * vz);
    const float volcano = SmoothStep(kVolcanoOuter, kVolcanoInner, volcanoDistance);

    // The lava lake glows by itself: no sun, no shadow.
    if (volcanoDistance < 7.0f && h < 20.5f) {
        const CellDistances cells = CellularNoise(x / 1.6f, z / 1.6f, 303u);
        const float crack = SmoothStep(0.22f, 0.0f, cells.second - cells.nearest);
        const float heat = SmoothStep(7.0f, 2.0f, volcanoDistance);
        Color crust = Mix(kLavaCrust, kLava * 0.7f, heat * 0.5f);
        return Mix(crust, Mix(kLava, kLavaCore, heat), std::max(crack, heat * 0.6f));
    }

    Color albedo;
    if (volcano >= 1.0f) {
        albedo = VolcanoAlbedo(x, z, h, ny, volcanoDistance);
    } else if (volcano <= 0.0f) {
        albedo = Albedo(x, z, h, ny);
    } else {
        albedo = Mix(Albedo(x, z, h, ny), VolcanoAlbedo(x, z, h, ny, volcanoDistance), volcano);
    }
    const Direction sun = SunDirection();
    // Wrapped diffuse: the sun stands low, and plain Lambert light would leave the flat land
    // dim and the slopes facing away black.
    const float facing = nx * sun.x + ny * sun.y + nz * sun.z;
    const float direct = Clamp01((facing + 0.5f) / 1.5f);
    const float lit = direct * (0.35f + 0.65f * grid_.SunLight(x, z));
    const float sky = 0.6f + 0.4f * ny;
    Color light = kSkyLight * (0.62f * sky) + kSunLight * (0.62f * lit);
    if (h < kWaterHeight + 0.3f) {
        // Under water the light is soft and even: the shapes of the slopes barely show.
        const float even = 0.6f + 0.4f * SmoothStep(kWaterHeight + 0.3f, kSandHeight, h);
        light = Mix(light, Color(0.92f, 0.92f, 0.92f), even);
    }
    return albedo * light;
}

}  // namespace content
