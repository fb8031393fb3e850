// How finely a level's textures cover its surface, zone by zone: for every triangle the texels
// per world unit in its strongest and weakest directions on the surface (the singular values of
// the map from the surface to texel space) and their ratio, the stretch of a texel.
#pragma once

#include <string>
#include <vector>

namespace content_test {

struct TexturedTriangle {
    float position[3][3];  // world x, y, z of each corner
    float texel[3][2];     // texture coordinates times the texture's width and height
};

enum class Zone { kShore, kSteep, kRest, kUnderWater };

struct ZoneFigures {
    double area = 0.0;
    double texelsMedian = 0.0;  // geometric mean of the two directions
    double weakestTenth = 0.0;  // 10th percentile of the weakest direction
    double stretchMedian = 0.0;
    double stretchNinetieth = 0.0;
    double stretchedOver2Percent = 0.0;  // share of the area stretched over 2:1
};

// Above the water means some corner above it; steep means a normal's y under 0.5, the shore
// band a lowest corner within 1.5 units of the water. Steep wins over the shore band.
Zone ZoneOf(const TexturedTriangle& triangle);

// Area-weighted figures of the triangles of one zone; all zero when it has none. Triangles with
// no area on the surface or in texel space are left out.
ZoneFigures MeasureZone(const std::vector<TexturedTriangle>& triangles, Zone zone);

std::string FormatFigures(const char* name, const ZoneFigures& figures);

}  // namespace content_test
