// The vector, matrix, colour, plane and ray operations the game uses, under the Direct3D extension
// library's names and conventions: row vectors multiplied on the left, row-major matrices with the
// translation in the fourth row, a left-handed world with +Y up. This is our own code on every
// platform; it needs nothing from the platform beyond the SDK's plain records.
#pragma once

#include "platform/direct3d8.h"

struct D3DXVECTOR3 : public D3DVECTOR {
    D3DXVECTOR3() = default;  // contents unset until assigned, as with the SDK's type
    D3DXVECTOR3(float vx, float vy, float vz) {
        x = vx;
        y = vy;
        z = vz;
    }
    explicit D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}

    // Inline: the particles run these thousands of times a frame.
    D3DXVECTOR3& operator+=(const D3DXVECTOR3& v) {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    D3DXVECTOR3& operator-=(const D3DXVECTOR3& v) {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    D3DXVECTOR3 operator+(const D3DXVECTOR3& v) const {
        return D3DXVECTOR3(x + v.x, y + v.y, z + v.z);
    }
    D3DXVECTOR3 operator-(const D3DXVECTOR3& v) const {
        return D3DXVECTOR3(x - v.x, y - v.y, z - v.z);
    }
    D3DXVECTOR3 operator*(float s) const { return D3DXVECTOR3(x * s, y * s, z * s); }
    D3DXVECTOR3 operator-() const { return D3DXVECTOR3(-x, -y, -z); }
    bool operator==(const D3DXVECTOR3& v) const;
    bool operator!=(const D3DXVECTOR3& v) const { return !(*this == v); }
};

struct D3DXMATRIX : public D3DMATRIX {
    D3DXMATRIX() = default;  // contents unset until assigned
    explicit D3DXMATRIX(const D3DMATRIX& m) : D3DMATRIX(m) {}
    D3DXMATRIX(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
               float m13, float m20, float m21, float m22, float m23, float m30, float m31,
               float m32, float m33);

    float& operator()(int row, int column) { return m[row][column]; }
    float operator()(int row, int column) const { return m[row][column]; }
    D3DXMATRIX operator*(const D3DXMATRIX& other) const;
    bool operator==(const D3DXMATRIX& other) const;
    bool operator!=(const D3DXMATRIX& other) const { return !(*this == other); }
};

struct D3DXCOLOR {
    float r;
    float g;
    float b;
    float a;

    D3DXCOLOR() = default;
    D3DXCOLOR(float cr, float cg, float cb, float ca) : r(cr), g(cg), b(cb), a(ca) {}
    explicit D3DXCOLOR(D3DCOLOR packed);

    // Packs to A8R8G8B8, rounding each channel and clamping it to [0, 255].
    operator D3DCOLOR() const;

    D3DXCOLOR operator+(const D3DXCOLOR& c) const {
        return D3DXCOLOR(r + c.r, g + c.g, b + c.b, a + c.a);
    }
    D3DXCOLOR operator-(const D3DXCOLOR& c) const {
        return D3DXCOLOR(r - c.r, g - c.g, b - c.b, a - c.a);
    }
    D3DXCOLOR operator*(float s) const { return D3DXCOLOR(r * s, g * s, b * s, a * s); }
};

struct D3DXPLANE {
    float a;
    float b;
    float c;
    float d;

    D3DXPLANE() = default;
    D3DXPLANE(float pa, float pb, float pc, float pd) : a(pa), b(pb), c(pc), d(pd) {}
};

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle);
D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll);
D3DXMATRIX* D3DXMatrixPerspectiveLH(D3DXMATRIX* out, float w, float h, float zn, float zf);

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);

float D3DXPlaneDotCoord(const D3DXPLANE* plane, const D3DXVECTOR3* point);
D3DXPLANE* D3DXPlaneNormalize(D3DXPLANE* out, const D3DXPLANE* plane);

// Size in bytes of one vertex of a flexible vertex format.
UINT D3DXGetFVFVertexSize(DWORD fvf);

HRESULT D3DXComputeBoundingSphere(const void* points, DWORD count, DWORD fvf, D3DXVECTOR3* center,
                                  float* radius);
HRESULT D3DXComputeBoundingBox(const void* points, DWORD count, DWORD fvf, D3DXVECTOR3* min,
                               D3DXVECTOR3* max);

// Two-sided ray/triangle test; u, v and dist may be null.
BOOL D3DXIntersectTri(const D3DXVECTOR3* p0, const D3DXVECTOR3* p1, const D3DXVECTOR3* p2,
                      const D3DXVECTOR3* rayPos, const D3DXVECTOR3* rayDir, float* u, float* v,
                      float* dist);
