#include "tools/content/sky.h"

#include <cmath>

#include "tools/content/noise.h"
#include "tools/content/parallel_rows.h"

namespace content {

namespace {

// The game's sky cube, at half-size 1: per corner its position and texture coordinate, four
// corners per face drawn as a strip, faces in the order the game binds their images.
struct SkyCorner {
    float x;
    float y;
    float z;
    float tu;
    float tv;
};

const SkyCorner kCubeCorners[24] = {
    // top (y = +1)
    {-1, 1, -1, 0, 1},
    {1, 1, -1, 1, 1},
    {-1, 1, 1, 0, 0},
    {1, 1, 1, 1, 0},
    // bottom (y = -1)
    {-1, -1, -1, 0, 0},
    {1, -1, -1, 1, 0},
    {-1, -1, 1, 0, 1},
    {1, -1, 1, 1, 1},
    // back (x = -1)
    {-1, 1, -1, 1, 0},
    {-1, 1, 1, 0, 0},
    {-1, -1, -1, 1, 1},
    {-1, -1, 1, 0, 1},
    // front (x = +1)
    {1, 1, -1, 0, 0},
    {1, 1, 1, 1, 0},
    {1, -1, -1, 0, 1},
    {1, -1, 1, 1, 1},
    // left (z = +1)
    {-1, 1, 1, 1, 0},
    {1, 1, 1, 0, 0},
    {-1, -1, 1, 1, 1},
    {1, -1, 1, 0, 1},
    // right (z = -1)
    {-1, 1, -1, 0, 0},
    {1, 1, -1, 1, 0},
    {-1, -1, -1, 0, 1},
    {1, -1, -1, 1, 1},
};

const char* const kFaceFiles[6] = {"skybox_top.bmp",   "skybox_bottom.bmp", "skybox_back.bmp",
                                   "skybox_front.bmp", "skybox_left.bmp",   "skybox_right.bmp"};

const Color kZenith = Rgb(52, 104, 186);
const Color kUpperSky = Rgb(98, 152, 214);
const Color kHaze = Rgb(202, 222, 236);
const Color kSunDisc = Rgb(255, 250, 232);
const Color kSunGlow = Rgb(255, 214, 160);
const Color kCloudLit = Rgb(255, 252, 246);
const Color kCloudShade = Rgb(150, 162, 186);

float Dot(const Direction& a, const Direction& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Direction Normalised(Direction d) {
    const float length = std::sqrt(Dot(d, d));
    return Direction{d.x / length, d.y / length, d.z / length};
}

// Cloud cover on a flat layer above the sea, seen along the direction: 0 clear, 1 thick.
float CloudDensity(float px, float pz) {
    const float billows = FractalNoise(px, pz, 401u, 7, 0.55f);
    const float banks = FractalNoise(px * 0.3f + 7.3f, pz * 0.3f - 2.1f, 402u, 3);
    return SmoothStep(0.0f, 0.38f, billows + 0.45f * banks - 0.02f);
}

}  // namespace

Sky::Sky(const Color& distantSea) : distantSea_(distantSea) {}

Color Sky::ColorToward(Direction raw) const {
    const Direction d = Normalised(raw);
    const Direction sun = SunDirection();
    const float toSun = Dot(d, sun);

    if (d.y < 0.0f) {
        // The far sea, paling into the haze at the horizon.
        return Mix(distantSea_, kHaze, std::exp(d.y * 45.0f));
    }

    Color sky = Mix(kZenith, kUpperSky, Clamp01(std::exp(-d.y * 2.2f) * 1.1f - 0.1f));
    sky = Mix(sky, kHaze, std::exp(-d.y * 9.0f));
    // Glow around the sun, wide and warm near the horizon.
    const float glow = std::max(0.0f, toSun);
    sky = sky + kSunGlow * (0.22f * std::pow(glow, 6.0f) + 0.35f * std::pow(glow, 60.0f));

    if (d.y > 0.004f) {
        const float scale = 1.1f / (d.y + 0.06f);
        const float px = d.x * scale;
        const float pz = d.z * scale;
        const float density = CloudDensity(px, pz) * SmoothStep(0.004f, 0.16f, d.y);
        if (density > 0.0f) {
            // Thinner toward the sun means lit: compare with the cover a little sunward.
            const float ahead = CloudDensity(px + sun.x * 0.25f, pz + sun.z * 0.25f);
            const float lightness = Clamp01(0.75f - 0.9f * (ahead - density) + 0.2f * d.y);
            Color cloud = Mix(kCloudShade, kCloudLit, lightness);
            cloud = cloud + kSunGlow * (0.25f * std::pow(glow, 8.0f));
            // Distant clouds sink into the haze.
            cloud = Mix(cloud, kHaze, std::exp(-d.y * 14.0f) * 0.6f);
            sky = Mix(sky, cloud, density * 0.92f);
        }
    }

    // The disc itself, with a soft rim.
    const float disc = SmoothStep(0.99970f, 0.99985f, toSun);
    return Mix(sky, kSunDisc, disc);
}

Direction SkyFaceDirection(int face, float u, float v) {
    const SkyCorner* corners = &kCubeCorners[4 * face];
    // Blend the four corners by their texture coordinates: the face is an axis-aligned square,
    // so this is exact.
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    for (int k = 0; k < 4; ++k) {
        const float wu = corners[k].tu > 0.5f ? u : 1.0f - u;
        const float wv = corners[k].tv > 0.5f ? v : 1.0f - v;
        x += corners[k].x * wu * wv;
        y += corners[k].y * wu * wv;
        z += corners[k].z * wu * wv;
    }
    return Direction{x, y, z};
}

std::vector<SkyFace> PaintSkyFaces(const Sky& sky, int size) {
    std::vector<SkyFace> faces;
    for (int face = 0; face < 6; ++face) {
        SkyFace out{kFaceFiles[face], Image(size, size)};
        PaintImage(&out.image, [&](int x, int y) {
            // Texel centres: the edges of two faces sample directions half a texel either side
            // of the shared edge.
            const float u = (x + 0.5f) / size;
            const float v = (y + 0.5f) / size;
            return sky.ColorToward(SkyFaceDirection(face, u, v));
        });
        faces.push_back(std::move(out));
    }
    return faces;
}

}  // namespace content
