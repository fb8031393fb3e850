#include "d3dx/d3dx_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

D3DXMATRIX Sample(float base) {
    D3DXMATRIX m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            m.m[r][c] = base + static_cast<float>(r * 4 + c) * 0.5f - (r == c ? 3.0f : 0.0f);
        }
    }
    return m;
}

void ExpectVector(const D3DXVECTOR3& v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

TEST(MatrixTest, MultiplyIntoItsOwnOperandMatchesSeparateOutput) {
    const D3DXMATRIX a = Sample(1.0f);
    const D3DXMATRIX b = Sample(-2.0f);
    D3DXMATRIX separate;
    D3DXMatrixMultiply(&separate, &a, &b);

    D3DXMATRIX intoA = a;
    D3DXMatrixMultiply(&intoA, &intoA, &b);
    EXPECT_EQ(intoA, separate);

    D3DXMATRIX intoB = b;
    D3DXMatrixMultiply(&intoB, &a, &intoB);
    EXPECT_EQ(intoB, separate);
}

TEST(MatrixTest, MultiplyAppliesLeftOperandFirst) {
    // Translate then rotate: the point moves to x = 1 and then turns onto -z.
    D3DXMATRIX translate;
    D3DXMATRIX rotate;
    D3DXMatrixTranslation(&translate, 1, 0, 0);
    D3DXMatrixRotationY(&rotate, 1.5707964f);
    const D3DXMATRIX both = translate * rotate;
    D3DXVECTOR3 out;
    const D3DXVECTOR3 origin(0, 0, 0);
    D3DXVec3TransformCoord(&out, &origin, &both);
    ExpectVector(out, 0, 0, -1);
}

TEST(MatrixTest, PerspectiveOfTheGameCamera) {
    D3DXMATRIX p;
    D3DXMatrixPerspectiveLH(&p, 1024.0f / 768.0f, 1.0f, 1.0f, 10000.0f);
    EXPECT_FLOAT_EQ(p.m[0][0], 1.5f);
    EXPECT_FLOAT_EQ(p.m[1][1], 2.0f);
    EXPECT_FLOAT_EQ(p.m[2][2], 10000.0f / 9999.0f);
    EXPECT_FLOAT_EQ(p.m[3][2], -10000.0f / 9999.0f);
    EXPECT_FLOAT_EQ(p.m[2][3], 1.0f);
    EXPECT_FLOAT_EQ(p.m[3][3], 0.0f);
    EXPECT_FLOAT_EQ(p.m[0][1], 0.0f);
}

TEST(MatrixTest, RotationsTurnAxesTheLeftHandedWay) {
    D3DXMATRIX m;
    D3DXVECTOR3 out;
    const D3DXVECTOR3 forward(0, 0, 1);
    D3DXMatrixRotationY(&m, 3.14f);
    D3DXVec3TransformCoord(&out, &forward, &m);
    ExpectVector(out, 0.0015927f, 0, -0.9999987f, 1e-6f);

    D3DXMatrixRotationY(&m, 0.5f);
    D3DXVec3TransformNormal(&out, &forward, &m);
    ExpectVector(out, std::sin(0.5f), 0, std::cos(0.5f));

    const D3DXVECTOR3 up(0, 1, 0);
    D3DXMatrixRotationX(&m, 1.5707964f);
    D3DXVec3TransformNormal(&out, &up, &m);
    ExpectVector(out, 0, 0, 1);

    const D3DXVECTOR3 right(1, 0, 0);
    D3DXMatrixRotationZ(&m, 1.5707964f);
    D3DXVec3TransformNormal(&out, &right, &m);
    ExpectVector(out, 0, 1, 0);
}

TEST(MatrixTest, YawPitchRollIsRollThenPitchThenYaw) {
    D3DXMATRIX z;
    D3DXMATRIX x;
    D3DXMATRIX y;
    D3DXMatrixRotationZ(&z, 0.3f);
    D3DXMatrixRotationX(&x, -0.7f);
    D3DXMatrixRotationY(&y, 1.1f);
    const D3DXMATRIX expected = z * x * y;
    D3DXMATRIX combined;
    D3DXMatrixRotationYawPitchRoll(&combined, 1.1f, -0.7f, 0.3f);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(combined.m[r][c], expected.m[r][c], 1e-6f) << r << "," << c;
        }
    }
    // Roll alone is a rotation about z: a texture coordinate (1, 0) turns to (cos, sin).
    D3DXMatrixRotationYawPitchRoll(&combined, 0, 0, 1.5708f);
    const D3DXVECTOR3 u(1, 0, 0);
    D3DXVECTOR3 out;
    D3DXVec3TransformNormal(&out, &u, &combined);
    ExpectVector(out, 0, 1, 0, 1e-4f);
}

TEST(TransformTest, CoordDividesByWUnlessItIsOne) {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    m.m[3][3] = 2.0f;
    const D3DXVECTOR3 v(2, 4, 6);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    ExpectVector(out, 1, 2, 3);

    // Within 2^-23 of one the division is skipped, so the values pass through exactly.
    m.m[3][3] = 1.0f + 1.0f / 8388608.0f;
    const D3DXVECTOR3 odd(0.1f, 0.2f, 0.3f);
    D3DXVec3TransformCoord(&out, &odd, &m);
    EXPECT_EQ(out, odd);
}

TEST(TransformTest, NormalIgnoresTranslation) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 5, 6, 7);
    const D3DXVECTOR3 v(0, 0, -1);
    D3DXVECTOR3 out;
    D3DXVec3TransformNormal(&out, &v, &m);
    EXPECT_EQ(out, v);
}

struct Vertex32 {
    float x, y, z, nx, ny, nz, u, v;
};

TEST(BoundsTest, BoxOfThreePoints) {
    const D3DXVECTOR3 points[] = {{0, 0, 0}, {1, 2, 3}, {-1, 5, 0}};
    D3DXVECTOR3 low;
    D3DXVECTOR3 high;
    ASSERT_EQ(D3DXComputeBoundingBox(points, 3, D3DFVF_XYZ, &low, &high), S_OK);
    ExpectVector(low, -1, 0, 0, 0);
    ExpectVector(high, 1, 5, 3, 0);
}

TEST(BoundsTest, StridesFollowTheVertexFormat) {
    EXPECT_EQ(D3DXGetFVFVertexSize(0x112), 32u);
    EXPECT_EQ(D3DXGetFVFVertexSize(0x142), 24u);
    EXPECT_EQ(D3DXGetFVFVertexSize(0x152), 36u);
    EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR), 24u);
    EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ | D3DFVF_PSIZE | D3DFVF_TEX2), 32u);

    // Normals and texture coordinates between positions must not be read as positions.
    const Vertex32 vertices[] = {
        {0, 0, 0, 9, 9, 9, 9, 9}, {2, 0, 0, -9, -9, -9, -9, -9}, {0, 2, 0, 9, 9, 9, 9, 9}};
    D3DXVECTOR3 low;
    D3DXVECTOR3 high;
    ASSERT_EQ(D3DXComputeBoundingBox(vertices, 3, 0x112, &low, &high), S_OK);
    ExpectVector(low, 0, 0, 0, 0);
    ExpectVector(high, 2, 2, 0, 0);
    D3DXVECTOR3 center;
    float radius = 0;
    ASSERT_EQ(D3DXComputeBoundingSphere(vertices, 3, 0x112, &center, &radius), S_OK);
    ExpectVector(center, 2.0f / 3.0f, 2.0f / 3.0f, 0);
    EXPECT_NEAR(radius, std::sqrt(20.0f) / 3.0f, 1e-5f);
}

TEST(BoundsTest, EmptyAndInvalidInputs) {
    const D3DXVECTOR3 point(1, 1, 1);
    D3DXVECTOR3 center(7, 7, 7);
    float radius = 7;
    EXPECT_EQ(D3DXComputeBoundingSphere(&point, 0, D3DFVF_XYZ, &center, &radius), S_OK);
    ExpectVector(center, 0, 0, 0, 0);
    EXPECT_EQ(radius, 1.0f);

    D3DXVECTOR3 low(7, 7, 7);
    D3DXVECTOR3 high(7, 7, 7);
    EXPECT_EQ(D3DXComputeBoundingBox(&point, 0, D3DFVF_XYZ, &low, &high), S_OK);
    ExpectVector(low, 0, 0, 0, 0);
    ExpectVector(high, 0, 0, 0, 0);

    // A null pointer is refused and nothing is written.
    center = D3DXVECTOR3(7, 7, 7);
    radius = 7;
    EXPECT_EQ(D3DXComputeBoundingSphere(nullptr, 1, D3DFVF_XYZ, &center, &radius),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXComputeBoundingSphere(&point, 1, D3DFVF_XYZ, nullptr, &radius),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXComputeBoundingSphere(&point, 1, D3DFVF_XYZ, &center, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXComputeBoundingBox(&point, 1, D3DFVF_XYZ, nullptr, &high), D3DERR_INVALIDCALL);
    ExpectVector(center, 7, 7, 7, 0);
    EXPECT_EQ(radius, 7.0f);
    ExpectVector(high, 0, 0, 0, 0);
}

class IntersectTriTest : public ::testing::Test {
protected:
    const D3DXVECTOR3 p0{0, 0, 0};
    const D3DXVECTOR3 p1{1, 0, 0};
    const D3DXVECTOR3 p2{0, 0, 1};
    const D3DXVECTOR3 down{0, -1, 0};

    BOOL Cast(D3DXVECTOR3 origin, D3DXVECTOR3 direction, float* u, float* v, float* dist) {
        return D3DXIntersectTri(&p0, &p1, &p2, &origin, &direction, u, v, dist);
    }
};

TEST_F(IntersectTriTest, CornerAndEdgeHitsAreInclusive) {
    float u = -1;
    float v = -1;
    float dist = -1;
    EXPECT_TRUE(Cast({0, 5, 0}, down, &u, &v, &dist));
    EXPECT_EQ(u, 0.0f);
    EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(dist, 5.0f);

    EXPECT_TRUE(Cast({0.5f, 5, 0}, down, &u, &v, &dist));
    EXPECT_FLOAT_EQ(u, 0.5f);
    EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(dist, 5.0f);

    // Through the far corners u or v reaches exactly one.
    EXPECT_TRUE(Cast({1, 2, 0}, down, &u, &v, &dist));
    EXPECT_EQ(u, 1.0f);
    EXPECT_TRUE(Cast({0, 2, 1}, down, &u, &v, &dist));
    EXPECT_EQ(v, 1.0f);
}

TEST_F(IntersectTriTest, MissesLeaveOutputsUntouched) {
    float u = 42;
    float v = 42;
    float dist = 42;
    EXPECT_FALSE(Cast({0.6f, 5, 0.6f}, down, &u, &v, &dist));       // u + v > 1
    EXPECT_FALSE(Cast({0.2f, -1, 0.2f}, down, &u, &v, &dist));      // behind the origin
    EXPECT_FALSE(Cast({0.2f, 0, 0.2f}, {1, 0, 0}, &u, &v, &dist));  // parallel to the plane
    EXPECT_FALSE(Cast({0.2f, 1, 0.2f}, {0, 0, 0}, &u, &v, &dist));  // no direction at all
    EXPECT_EQ(u, 42.0f);
    EXPECT_EQ(v, 42.0f);
    EXPECT_EQ(dist, 42.0f);
}

TEST_F(IntersectTriTest, HitsFromBothSidesAndScalesDistanceByDirection) {
    float dist = 0;
    EXPECT_TRUE(Cast({0.2f, -3, 0.2f}, {0, 1, 0}, nullptr, nullptr, &dist));
    EXPECT_FLOAT_EQ(dist, 3.0f);
    // The distance counts lengths of the direction vector.
    EXPECT_TRUE(Cast({0.2f, 6, 0.2f}, {0, -2, 0}, nullptr, nullptr, &dist));
    EXPECT_FLOAT_EQ(dist, 3.0f);
    // An origin in the triangle's plane hits at distance zero.
    EXPECT_TRUE(Cast({0.2f, 0, 0.2f}, down, nullptr, nullptr, &dist));
    EXPECT_EQ(dist, 0.0f);
}

TEST(ColorTest, PackingRoundsAndClamps) {
    EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(0.5f, 1.2f, -0.1f, 1.0f)), 0xFF80FF00u);
    EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(0.1f, 0.0f, 0.0f, 1.0f)), 0xFF1A0000u);
    EXPECT_EQ(static_cast<D3DCOLOR>(D3DXCOLOR(NAN, 0.0f, 0.0f, 0.0f)), 0x00000000u);
    const D3DXCOLOR unpacked(0xFF646464u);
    EXPECT_FLOAT_EQ(unpacked.r, 100.0f / 255.0f);
    EXPECT_EQ(static_cast<D3DCOLOR>(unpacked), 0xFF646464u);
}

TEST(PlaneTest, NormaliseDividesAllFourCoefficients) {
    const D3DXPLANE plane(0, 3, 4, 10);
    D3DXPLANE unit;
    D3DXPlaneNormalize(&unit, &plane);
    EXPECT_FLOAT_EQ(unit.b, 0.6f);
    EXPECT_FLOAT_EQ(unit.c, 0.8f);
    EXPECT_FLOAT_EQ(unit.d, 2.0f);
    const D3DXVECTOR3 point(0, 1, 1);
    EXPECT_FLOAT_EQ(D3DXPlaneDotCoord(&unit, &point), 3.4f);
}

}  // namespace
