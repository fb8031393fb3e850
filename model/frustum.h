// The six planes bounding what the camera sees, built each frame from view x projection, with the
// conservative box and sphere tests that culling asks: an object is rejected only when it lies
// wholly outside one plane.
#pragma once

#include "d3dx/d3dx_math.h"
#include "platform/direct3d8.h"

class Frustum {
public:
    enum PlaneIndex { kLeft = 0, kRight, kTop, kBottom, kNear, kFar, kPlaneCount };

    Frustum();
    ~Frustum();

    HRESULT Build(D3DXMATRIX viewProjection);
    bool BoxInFrustum(float centerX, float centerY, float centerZ, float halfX, float halfY,
                      float halfZ) const;
    bool SphereInFrustum(float centerX, float centerY, float centerZ, float radius) const;
    void Clear();

    const D3DXPLANE& Plane(int index) const { return planes[index]; }

private:
    HRESULT lastResult;
    D3DXPLANE planes[kPlaneCount];
};
