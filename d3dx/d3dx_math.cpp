#include "d3dx/d3dx_math.h"

#include <cmath>
#include <cstring>

#include "d3dx/sine_cosine.h"

bool D3DXVECTOR3::operator==(const D3DXVECTOR3& v) const {
    return x == v.x && y == v.y && z == v.z;
}

D3DXMATRIX::D3DXMATRIX(float m00, float m01, float m02, float m03, float m10, float m11, float m12,
                       float m13, float m20, float m21, float m22, float m23, float m30, float m31,
                       float m32, float m33) {
    const float values[16] = {m00, m01, m02, m03, m10, m11, m12, m13,
                              m20, m21, m22, m23, m30, m31, m32, m33};
    std::memcpy(m, values, sizeof(values));
}

D3DXMATRIX D3DXMATRIX::operator*(const D3DXMATRIX& other) const {
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, this, &other);
    return product;
}

bool D3DXMATRIX::operator==(const D3DXMATRIX& other) const {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (m[r][c] != other.m[r][c]) {
                return false;
            }
        }
    }
    return true;
}

D3DXCOLOR::D3DXCOLOR(D3DCOLOR packed) {
    const float scale = 1.0f / 255.0f;
    a = static_cast<float>((packed >> 24) & 0xFF) * scale;
    r = static_cast<float>((packed >> 16) & 0xFF) * scale;
    g = static_cast<float>((packed >> 8) & 0xFF) * scale;
    b = static_cast<float>(packed & 0xFF) * scale;
}

namespace {

DWORD PackChannel(float c) {
    if (c >= 1.0f) {
        return 255;
    }
    if (!(c > 0.0f)) {  // also catches NaN
        return 0;
    }
    return static_cast<DWORD>(c * 255.0f + 0.5f);
}

}  // namespace

D3DXCOLOR::operator D3DCOLOR() const {
    return (PackChannel(a) << 24) | (PackChannel(r) << 16) | (PackChannel(g) << 8) | PackChannel(b);
}

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out) {
    *out = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b) {
    // Formed in a temporary so that out may alias a or b.
    D3DXMATRIX product;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            product.m[r][c] = a->m[r][0] * b->m[0][c] + a->m[r][1] * b->m[1][c] +
                              a->m[r][2] * b->m[2][c] + a->m[r][3] * b->m[3][c];
        }
    }
    *out = product;
    return out;
}

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    D3DXMatrixIdentity(out);
    out->m[3][0] = x;
    out->m[3][1] = y;
    out->m[3][2] = z;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationX(D3DXMATRIX* out, float angle) {
    const float c = Cosine(angle);
    const float s = Sine(angle);
    *out = D3DXMATRIX(1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixRotationY(D3DXMATRIX* out, float angle) {
    const float c = Cosine(angle);
    const float s = Sine(angle);
    *out = D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
    const float c = Cosine(angle);
    const float s = Sine(angle);
    *out = D3DXMATRIX(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return out;
}

D3DXMATRIX* D3DXMatrixRotationYawPitchRoll(D3DXMATRIX* out, float yaw, float pitch, float roll) {
    // Roll about Z first, then pitch about X, then yaw about Y.
    D3DXMATRIX rollMatrix;
    D3DXMATRIX pitchMatrix;
    D3DXMATRIX yawMatrix;
    D3DXMatrixRotationZ(&rollMatrix, roll);
    D3DXMatrixRotationX(&pitchMatrix, pitch);
    D3DXMatrixRotationY(&yawMatrix, yaw);
    D3DXMatrixMultiply(out, &rollMatrix, &pitchMatrix);
    D3DXMatrixMultiply(out, out, &yawMatrix);
    return out;
}

D3DXMATRIX* D3DXMatrixPerspectiveLH(D3DXMATRIX* out, float w, float h, float zn, float zf) {
    *out = D3DXMATRIX(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    out->m[0][0] = 2.0f * zn / w;
    out->m[1][1] = 2.0f * zn / h;
    out->m[2][2] = zf / (zf - zn);
    out->m[2][3] = 1.0f;
    out->m[3][2] = -zn * zf / (zf - zn);
    return out;
}

D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    const float x = v->x * m->m[0][0] + v->y * m->m[1][0] + v->z * m->m[2][0] + m->m[3][0];
    const float y = v->x * m->m[0][1] + v->y * m->m[1][1] + v->z * m->m[2][1] + m->m[3][1];
    const float z = v->x * m->m[0][2] + v->y * m->m[1][2] + v->z * m->m[2][2] + m->m[3][2];
    const float w = v->x * m->m[0][3] + v->y * m->m[1][3] + v->z * m->m[2][3] + m->m[3][3];
    const float epsilon = 1.0f / 8388608.0f;  // 2^-23
    if (std::fabs(w - 1.0f) <= epsilon) {
        *out = D3DXVECTOR3(x, y, z);
    } else {
        const float inverse = 1.0f / w;
        *out = D3DXVECTOR3(x * inverse, y * inverse, z * inverse);
    }
    return out;
}

D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m) {
    const float x = v->x * m->m[0][0] + v->y * m->m[1][0] + v->z * m->m[2][0];
    const float y = v->x * m->m[0][1] + v->y * m->m[1][1] + v->z * m->m[2][1];
    const float z = v->x * m->m[0][2] + v->y * m->m[1][2] + v->z * m->m[2][2];
    *out = D3DXVECTOR3(x, y, z);
    return out;
}

float D3DXPlaneDotCoord(const D3DXPLANE* plane, const D3DXVECTOR3* point) {
    return plane->a * point->x + plane->b * point->y + plane->c * point->z + plane->d;
}

D3DXPLANE* D3DXPlaneNormalize(D3DXPLANE* out, const D3DXPLANE* plane) {
    const float length = static_cast<float>(std::sqrt(static_cast<double>(plane->a) * plane->a +
                                                      static_cast<double>(plane->b) * plane->b +
                                                      static_cast<double>(plane->c) * plane->c));
    *out = D3DXPLANE(plane->a / length, plane->b / length, plane->c / length, plane->d / length);
    return out;
}

UINT D3DXGetFVFVertexSize(DWORD fvf) {
    UINT size = 0;
    switch (fvf & D3DFVF_POSITION_MASK) {
        case D3DFVF_XYZ:
            size = 12;
            break;
        case D3DFVF_XYZRHW:
            size = 16;
            break;
        case D3DFVF_XYZB1:
        case D3DFVF_XYZB2:
        case D3DFVF_XYZB3:
        case D3DFVF_XYZB4:
        case D3DFVF_XYZB5:
            // Position followed by one to five blend weights.
            size = 12 + 4 * (((fvf & D3DFVF_POSITION_MASK) - D3DFVF_XYZB1) / 2 + 1);
            break;
        default:
            break;
    }
    if (fvf & D3DFVF_NORMAL) {
        size += 12;
    }
    if (fvf & D3DFVF_PSIZE) {
        size += 4;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        size += 4;
    }
    if (fvf & D3DFVF_SPECULAR) {
        size += 4;
    }
    size += 8 * ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    return size;
}

namespace {

D3DXVECTOR3 PositionAt(const void* points, UINT stride, DWORD index) {
    D3DXVECTOR3 position;
    std::memcpy(&position, static_cast<const BYTE*>(points) + static_cast<size_t>(index) * stride,
                sizeof(D3DVECTOR));
    return position;
}

}  // namespace

HRESULT D3DXComputeBoundingSphere(const void* points, DWORD count, DWORD fvf, D3DXVECTOR3* center,
                                  float* radius) {
    if (points == nullptr || center == nullptr || radius == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (count == 0) {
        *center = D3DXVECTOR3(0, 0, 0);
        *radius = 1.0f;
        return S_OK;
    }
    const UINT stride = D3DXGetFVFVertexSize(fvf);
    D3DXVECTOR3 sum(0, 0, 0);
    for (DWORD i = 0; i < count; ++i) {
        sum += PositionAt(points, stride, i);
    }
    const D3DXVECTOR3 mean = sum * (1.0f / static_cast<float>(count));
    float largest = 0.0f;
    for (DWORD i = 0; i < count; ++i) {
        const D3DXVECTOR3 d = PositionAt(points, stride, i) - mean;
        const float squared = d.x * d.x + d.y * d.y + d.z * d.z;
        if (squared > largest) {
            largest = squared;
        }
    }
    *center = mean;
    *radius = std::sqrt(largest);
    return S_OK;
}

HRESULT D3DXComputeBoundingBox(const void* points, DWORD count, DWORD fvf, D3DXVECTOR3* min,
                               D3DXVECTOR3* max) {
    if (points == nullptr || min == nullptr || max == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (count == 0) {
        *min = D3DXVECTOR3(0, 0, 0);
        *max = D3DXVECTOR3(0, 0, 0);
        return S_OK;
    }
    const UINT stride = D3DXGetFVFVertexSize(fvf);
    D3DXVECTOR3 low = PositionAt(points, stride, 0);
    D3DXVECTOR3 high = low;
    for (DWORD i = 1; i < count; ++i) {
        const D3DXVECTOR3 p = PositionAt(points, stride, i);
        const float in[3] = {p.x, p.y, p.z};
        float* lows[3] = {&low.x, &low.y, &low.z};
        float* highs[3] = {&high.x, &high.y, &high.z};
        for (int axis = 0; axis < 3; ++axis) {
            if (in[axis] < *lows[axis]) {
                *lows[axis] = in[axis];
            } else if (in[axis] > *highs[axis]) {
                *highs[axis] = in[axis];
            }
        }
    }
    *min = low;
    *max = high;
    return S_OK;
}

namespace {

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return D3DXVECTOR3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

double DotDouble(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y +
           static_cast<double>(a.z) * b.z;
}

}  // namespace

BOOL D3DXIntersectTri(const D3DXVECTOR3* p0, const D3DXVECTOR3* p1, const D3DXVECTOR3* p2,
                      const D3DXVECTOR3* rayPos, const D3DXVECTOR3* rayDir, float* u, float* v,
                      float* dist) {
    const D3DXVECTOR3 edge1 = *p1 - *p0;
    const D3DXVECTOR3 edge2 = *p2 - *p0;
    const D3DXVECTOR3 pvec = Cross(*rayDir, edge2);
    double det = DotDouble(edge1, pvec);

    D3DXVECTOR3 tvec;
    if (det > 0.0) {
        tvec = *rayPos - *p0;
    } else if (det < 0.0) {
        tvec = *p0 - *rayPos;
        det = -det;
    } else {
        return FALSE;  // parallel, or not a number
    }
    const double inverse = 1.0 / det;

    const double uValue = DotDouble(tvec, pvec);
    if (uValue < 0.0 || uValue > det) {
        return FALSE;
    }
    const D3DXVECTOR3 qvec = Cross(tvec, edge1);
    const double vValue = DotDouble(*rayDir, qvec);
    if (vValue < 0.0 || uValue + vValue > det) {
        return FALSE;
    }
    const double tValue = DotDouble(edge2, qvec);
    if (tValue < 0.0) {
        return FALSE;
    }
    if (u != nullptr) {
        *u = static_cast<float>(uValue * inverse);
    }
    if (v != nullptr) {
        *v = static_cast<float>(vValue * inverse);
    }
    if (dist != nullptr) {
        *dist = static_cast<float>(tValue * inverse);
    }
    return TRUE;
}
