#include "tools/content/sprite_images.h"

#include <cmath>
#include <vector>

#include "tools/content/noise.h"

namespace content {

namespace {

const float kPi = 3.14159265f;

struct Point {
    float u;
    float v;
};

Point Bezier(const Point& a, const Point& c, const Point& b, float t) {
    const float s = 1.0f - t;
    return Point{s * s * a.u + 2.0f * s * t * c.u + t * t * b.u,
                 s * s * a.v + 2.0f * s * t * c.v + t * t * b.v};
}

// A curve sampled into a polyline, for distance queries.
class Curve {
public:
    Curve(const Point& a, const Point& control, const Point& b, int segments = 48) {
        for (int i = 0; i <= segments; ++i) {
            points_.push_back(Bezier(a, control, b, static_cast<float>(i) / segments));
        }
    }

    // Distance from p to the curve, the curve parameter of the nearest point, and the side of
    // the curve p lies on (-1 or 1).
    float Distance(const Point& p, float* parameter, float* side) const {
        float best = 1e9f;
        const int segments = static_cast<int>(points_.size()) - 1;
        for (int i = 0; i < segments; ++i) {
            const Point& a = points_[i];
            const Point& b = points_[i + 1];
            const float du = b.u - a.u;
            const float dv = b.v - a.v;
            const float length2 = du * du + dv * dv;
            float t = ((p.u - a.u) * du + (p.v - a.v) * dv) / length2;
            t = Clamp01(t);
            const float qu = a.u + du * t - p.u;
            const float qv = a.v + dv * t - p.v;
            const float d = std::sqrt(qu * qu + qv * qv);
            if (d < best) {
                best = d;
                *parameter = (i + t) / segments;
                *side = (du * (p.v - a.v) - dv * (p.u - a.u)) >= 0.0f ? 1.0f : -1.0f;
            }
        }
        return best;
    }

private:
    std::vector<Point> points_;
};

// What one sample of a keyed image shows: a colour, or nothing.
struct Sample {
    bool covered = false;
    Color color;
};

// Paints with 4 x 4 samples per pixel. A pixel is opaque when at least half of its samples are
// covered and then takes the mean of the covered ones only, so edges never fade toward the
// black key (which would leave dark fringes around the shape).
template <typename Shade>
Image PaintKeyed(int size, Shade shade) {
    Image image(size, size);
    const int n = 4;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int covered = 0;
            Color sum;
            for (int sy = 0; sy < n; ++sy) {
                for (int sx = 0; sx < n; ++sx) {
                    const Point p{(x + (sx + 0.5f) / n) / size, (y + (sy + 0.5f) / n) / size};
                    // Nothing below the diagonal is ever drawn by the game.
                    if (p.v > p.u) {
                        continue;
                    }
                    const Sample s = shade(p);
                    if (s.covered) {
                        ++covered;
                        sum = sum + s.color;
                    }
                }
            }
            if (covered * 2 < n * n) {
                continue;  // stays pure black: transparent
            }
            Color c = sum * (1.0f / covered);
            if (ToByte(c.r) == 0 && ToByte(c.g) == 0 && ToByte(c.b) == 0) {
                c = Rgb(1, 1, 1);  // opaque, however dark
            }
            image.Set(x, y, c);
        }
    }
    return image;
}

struct Frond {
    Point tip;
    float arch;   // how far the middle of the frond rises above the straight line
    float width;  // half-width of the leaflets at their widest
};

// The palm's fronds, each along its spine from the crown; covered where a leaflet is.
Sample FrondSample(const std::vector<Frond>& fronds, const std::vector<Curve>& spines,
                   const Point& p) {
    const Color leafDark = Rgb(34, 92, 30);
    const Color leafLight = Rgb(112, 170, 58);
    const Color leafTip = Rgb(168, 176, 70);
    Sample s;
    for (size_t i = 0; i < fronds.size(); ++i) {
        float t = 0.0f;
        float side = 1.0f;
        const float d = spines[i].Distance(p, &t, &side);
        if (t <= 0.0f || t >= 1.0f) {
            continue;
        }
        const float profile =
            std::pow(std::max(0.0f, std::sin(kPi * std::min(1.0f, t * 1.12f))), 0.6f);
        const float halfWidth = fronds[i].width * profile;
        // Leaflets: slanted teeth along both edges, solid near the spine.
        const float phase = std::fmod(t * 30.0f + (d / fronds[i].width) * 1.8f, 1.0f);
        const float tooth = 1.0f - std::fabs(2.0f * phase - 1.0f);
        if (d > halfWidth * (0.3f + 0.7f * tooth)) {
            continue;
        }
        const float across = d / std::max(halfWidth, 1e-4f);
        Color leaf = Mix(leafLight, leafDark, 0.25f + 0.55f * across);
        if (side > 0.0f) {
            leaf = leaf * 0.78f;  // the underside of the arch is in shade
        }
        leaf = Mix(leaf, leafTip, SmoothStep(0.6f, 1.0f, t) * 0.6f);
        if (d < 0.004f) {
            leaf = Rgb(150, 160, 84);  // the spine
        }
        s.covered = true;
        s.color = leaf;
        return s;
    }
    return s;
}

// Coconuts under the crown.
Sample NutSample(const Point& p) {
    const Color nut = Rgb(96, 88, 36);
    const Point nuts[3] = {{0.600f, 0.315f}, {0.632f, 0.318f}, {0.615f, 0.340f}};
    Sample s;
    for (const Point& n : nuts) {
        const float du = p.u - n.u;
        const float dv = p.v - n.v;
        const float r = std::sqrt(du * du + dv * dv);
        if (r < 0.017f) {
            s.covered = true;
            s.color = nut * (1.1f - 0.5f * r / 0.017f);
            return s;
        }
    }
    return s;
}

// Round trunk lit from the left, ringed with old leaf scars.
Sample TrunkSample(const Curve& trunk, const Point& p) {
    const Color bark = Rgb(128, 94, 62);
    const Color barkDark = Rgb(84, 60, 40);
    Sample s;
    float t = 0.0f;
    float side = 1.0f;
    const float d = trunk.Distance(p, &t, &side);
    const float halfWidth = 0.036f - 0.016f * t;
    if (d < halfWidth && t > 0.0f) {
        const float across = (side * d / halfWidth) * 0.5f + 0.5f;
        const float ring = std::fmod(t * 26.0f, 1.0f);
        Color wood = Mix(bark, barkDark, across * 0.7f);
        if (ring < 0.18f) {
            wood = wood * 0.72f;
        }
        s.covered = true;
        s.color = wood;
    }
    return s;
}

}  // namespace

Image PaintTree(int size) {
    const Point foot{0.952f, 0.928f};
    const Point crown{0.615f, 0.285f};
    const Curve trunk(foot, Point{0.90f, 0.52f}, crown);

    const std::vector<Frond> fronds = {
        {{0.27f, 0.22f}, 0.08f, 0.060f}, {{0.30f, 0.09f}, 0.05f, 0.055f},
        {{0.45f, 0.03f}, 0.03f, 0.050f}, {{0.66f, 0.02f}, 0.02f, 0.050f},
        {{0.86f, 0.07f}, 0.04f, 0.055f}, {{0.97f, 0.22f}, 0.08f, 0.060f},
        {{0.96f, 0.45f}, 0.10f, 0.060f}, {{0.84f, 0.58f}, 0.09f, 0.055f},
        {{0.43f, 0.39f}, 0.06f, 0.050f}, {{0.36f, 0.31f}, 0.02f, 0.050f},
        {{0.68f, 0.55f}, 0.05f, 0.045f},
    };
    std::vector<Curve> spines;
    for (const Frond& f : fronds) {
        const Point mid{(crown.u + f.tip.u) * 0.5f, (crown.v + f.tip.v) * 0.5f};
        // Arch toward the top of the image, so the frond rises and then droops.
        spines.emplace_back(crown, Point{mid.u, mid.v - f.arch}, f.tip);
    }
    return PaintKeyed(size, [&](const Point& p) {
        // Fronds first: they hang in front of the trunk's top.
        Sample s = FrondSample(fronds, spines, p);
        if (!s.covered) {
            s = NutSample(p);
        }
        return s.covered ? s : TrunkSample(trunk, p);
    });
}

Image PaintLeaf(int size) {
    // A leaf lying along the diagonal, centred in the visible triangle.
    const Point centre{0.70f, 0.30f};
    const float halfLength = 0.33f;
    const float halfWidth = 0.15f;
    const float axisU = 0.70710678f;
    const float axisV = 0.70710678f;
    const Color pale = Rgb(255, 246, 214);
    const Color vein = Rgb(214, 190, 150);
    const Color edge = Rgb(236, 214, 170);
    return PaintKeyed(size, [&](const Point& p) {
        Sample s;
        const float du = p.u - centre.u;
        const float dv = p.v - centre.v;
        const float along = (du * axisU + dv * axisV) / halfLength;  // -1 .. 1
        const float across = (-du * axisV + dv * axisU) / halfWidth;
        if (along < -1.0f || along > 1.0f) {
            // The stalk.
            if (along < -1.0f && along > -1.25f && std::fabs(across) < 0.08f) {
                s.covered = true;
                s.color = vein;
            }
            return s;
        }
        const float outline = std::pow(1.0f - along * along, 0.8f) * (1.0f - 0.15f * along);
        if (std::fabs(across) > outline) {
            return s;
        }
        Color c = Mix(pale, edge, std::fabs(across) / outline);
        const bool midrib = std::fabs(across) < 0.07f;
        const float sideVein = std::fmod(along * 4.5f + std::fabs(across) * 1.4f + 10.0f, 1.0f);
        if (midrib || sideVein < 0.1f) {
            c = vein;
        }
        s.covered = true;
        s.color = c;
        return s;
    });
}

Image PaintParticle(int size) {
    // Centred on the visible triangle's inscribed circle so that none of it is cut away.
    const Point centre{0.7071f, 0.2929f};
    const float radius = 0.285f;
    const Color warm = Rgb(255, 196, 120);
    const Color hot = Rgb(255, 255, 240);
    return PaintKeyed(size, [&](const Point& p) {
        Sample s;
        const float du = p.u - centre.u;
        const float dv = p.v - centre.v;
        const float r = std::sqrt(du * du + dv * dv) / radius;
        if (r >= 1.0f) {
            return s;
        }
        const float falloff = std::pow(1.0f - r * r, 1.6f);
        s.covered = true;
        s.color = Mix(warm, hot, falloff * falloff) * falloff;
        return s;
    });
}

bool IsKeyedBelowDiagonal(const Image& image) {
    const int size = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < size; ++x) {
            // Pixels wholly below the diagonal.
            if (y > x) {
                const uint8_t* p = image.Pixel(x, y);
                if (p[0] != 0 || p[1] != 0 || p[2] != 0) {
                    return false;
                }
            }
        }
    }
    return true;
}

}  // namespace content
