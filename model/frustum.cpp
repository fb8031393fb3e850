#include "model/frustum.h"

#include <cmath>

namespace {

float PlaneDistance(const D3DXPLANE& plane, float x, float y, float z) {
    return plane.a * x + plane.b * y + plane.c * z + plane.d;
}

}  // namespace

Frustum::Frustum() : lastResult(S_OK) {
    Clear();
}

Frustum::~Frustum() {
    Clear();
}

HRESULT Frustum::Build(D3DXMATRIX m) {
    // Each plane combines the fourth column with another column of the row-vector matrix.
    const auto column = [&m](int c) {
        return D3DXPLANE(m.m[0][c], m.m[1][c], m.m[2][c], m.m[3][c]);
    };
    const D3DXPLANE x = column(0);
    const D3DXPLANE y = column(1);
    const D3DXPLANE z = column(2);
    const D3DXPLANE w = column(3);
    planes[kLeft] = D3DXPLANE(w.a + x.a, w.b + x.b, w.c + x.c, w.d + x.d);
    planes[kRight] = D3DXPLANE(w.a - x.a, w.b - x.b, w.c - x.c, w.d - x.d);
    planes[kTop] = D3DXPLANE(w.a - y.a, w.b - y.b, w.c - y.c, w.d - y.d);
    planes[kBottom] = D3DXPLANE(w.a + y.a, w.b + y.b, w.c + y.c, w.d + y.d);
    // Column 4 plus column 3: half way to the near plane, looser than the clipping itself.
    planes[kNear] = D3DXPLANE(w.a + z.a, w.b + z.b, w.c + z.c, w.d + z.d);
    planes[kFar] = D3DXPLANE(w.a - z.a, w.b - z.b, w.c - z.c, w.d - z.d);
    for (D3DXPLANE& plane : planes) {
        D3DXPlaneNormalize(&plane, &plane);
    }
    return S_OK;
}

bool Frustum::BoxInFrustum(float cx, float cy, float cz, float ex, float ey, float ez) const {
    const float corners[8][3] = {{cx - ex, cy - ey, cz - ez}, {cx + ex, cy - ey, cz - ez},
                                 {cx - ex, cy + ey, cz - ez}, {cx + ex, cy + ey, cz - ez},
                                 {cx - ex, cy - ey, cz + ez}, {cx + ex, cy - ey, cz + ez},
                                 {cx - ex, cy + ey, cz + ez}, {cx + ex, cy + ey, cz + ez}};
    for (const D3DXPLANE& plane : planes) {
        bool inside = false;
        for (const auto& corner : corners) {
            if (PlaneDistance(plane, corner[0], corner[1], corner[2]) > 0.0f) {
                inside = true;
                break;
            }
        }
        if (!inside) {
            return false;  // every corner on or behind this plane (or not a number)
        }
    }
    return true;
}

bool Frustum::SphereInFrustum(float cx, float cy, float cz, float radius) const {
    for (const D3DXPLANE& plane : planes) {
        if (PlaneDistance(plane, cx, cy, cz) < -radius) {
            return false;
        }
    }
    return true;
}

void Frustum::Clear() {
    for (D3DXPLANE& plane : planes) {
        plane = D3DXPLANE(0, 0, 0, 0);
    }
    lastResult = S_OK;
}
