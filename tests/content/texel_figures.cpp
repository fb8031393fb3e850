#include "tests/content/texel_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace content_test {

namespace {

const double kWater = -2.0;

struct Vec {
    double x, y, z;
};

Vec Corner(const TexturedTriangle& t, int k) {
    return {t.position[k][0], t.position[k][1], t.position[k][2]};
}
Vec Sub(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct Measured {
    double area;
    double strong;  // texels per unit
    double weak;
};

// The surface-to-texel map in an orthonormal frame of the triangle's plane, and its singular
// values.
bool Measure(const TexturedTriangle& t, Measured* out) {
    const Vec e1 = Sub(Corner(t, 1), Corner(t, 0));
    const Vec e2 = Sub(Corner(t, 2), Corner(t, 0));
    const double l1 = std::sqrt(Dot(e1, e1));
    const Vec n = Cross(e1, e2);
    const double twiceArea = std::sqrt(Dot(n, n));
    if (l1 <= 0.0 || twiceArea <= 1e-12) {
        return false;
    }
    // e1 = (l1, 0), e2 = (a2, b2) in the plane's frame.
    const double a2 = Dot(e2, e1) / l1;
    const double b2 = twiceArea / l1;
    const double q1x = t.texel[1][0] - t.texel[0][0];
    const double q1y = t.texel[1][1] - t.texel[0][1];
    const double q2x = t.texel[2][0] - t.texel[0][0];
    const double q2y = t.texel[2][1] - t.texel[0][1];
    // M * [[l1, a2], [0, b2]] = [[q1x, q2x], [q1y, q2y]].
    const double m00 = q1x / l1;
    const double m10 = q1y / l1;
    const double m01 = (q2x - m00 * a2) / b2;
    const double m11 = (q2y - m10 * a2) / b2;
    const double det = std::fabs(m00 * m11 - m01 * m10);
    if (det <= 1e-12) {
        return false;
    }
    const double frobenius = m00 * m00 + m01 * m01 + m10 * m10 + m11 * m11;
    const double root = std::sqrt(std::max(0.0, frobenius * frobenius - 4.0 * det * det));
    out->area = twiceArea / 2.0;
    out->strong = std::sqrt((frobenius + root) / 2.0);
    out->weak = det / out->strong;
    return true;
}

// The value below which `share` of the weight lies.
double Percentile(std::vector<std::pair<double, double>> valueWeight, double share) {
    if (valueWeight.empty()) {
        return 0.0;
    }
    std::sort(valueWeight.begin(), valueWeight.end());
    double total = 0.0;
    for (const auto& [value, weight] : valueWeight) {
        total += weight;
    }
    double sum = 0.0;
    for (const auto& [value, weight] : valueWeight) {
        sum += weight;
        if (sum >= share * total) {
            return value;
        }
    }
    return valueWeight.back().first;
}

}  // namespace

Zone ZoneOf(const TexturedTriangle& t) {
    double lowest = t.position[0][1];
    double highest = lowest;
    for (int k = 1; k < 3; ++k) {
        lowest = std::min(lowest, double{t.position[k][1]});
        highest = std::max(highest, double{t.position[k][1]});
    }
    if (highest <= kWater) {
        return Zone::kUnderWater;
    }
    const Vec n = Cross(Sub(Corner(t, 1), Corner(t, 0)), Sub(Corner(t, 2), Corner(t, 0)));
    const double length = std::sqrt(Dot(n, n));
    if (length > 0.0 && std::fabs(n.y) / length < 0.5) {
        return Zone::kSteep;
    }
    if (std::fabs(lowest - kWater) <= 1.5) {
        return Zone::kShore;
    }
    return Zone::kRest;
}

ZoneFigures MeasureZone(const std::vector<TexturedTriangle>& triangles, Zone zone) {
    std::vector<std::pair<double, double>> density;
    std::vector<std::pair<double, double>> weakest;
    std::vector<std::pair<double, double>> stretch;
    ZoneFigures figures;
    double stretched = 0.0;
    for (const TexturedTriangle& triangle : triangles) {
        Measured m;
        if (ZoneOf(triangle) != zone || !Measure(triangle, &m)) {
            continue;
        }
        figures.area += m.area;
        density.emplace_back(std::sqrt(m.strong * m.weak), m.area);
        weakest.emplace_back(m.weak, m.area);
        stretch.emplace_back(m.strong / m.weak, m.area);
        if (m.strong > 2.0 * m.weak) {
            stretched += m.area;
        }
    }
    if (figures.area > 0.0) {
        figures.texelsMedian = Percentile(density, 0.5);
        figures.weakestTenth = Percentile(weakest, 0.1);
        figures.stretchMedian = Percentile(stretch, 0.5);
        figures.stretchNinetieth = Percentile(stretch, 0.9);
        figures.stretchedOver2Percent = 100.0 * stretched / figures.area;
    }
    return figures;
}

std::string FormatFigures(const char* name, const ZoneFigures& f) {
    char line[256];
    std::snprintf(line, sizeof(line),
                  "%-12s area %7.0f  texels/unit median %5.2f  weakest p10 %5.2f  stretch median "
                  "%4.2f p90 %4.2f  over 2:1 %5.1f %%",
                  name, f.area, f.texelsMedian, f.weakestTenth, f.stretchMedian, f.stretchNinetieth,
                  f.stretchedOver2Percent);
    return line;
}

}  // namespace content_test
