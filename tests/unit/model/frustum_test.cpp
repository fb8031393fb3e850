#include "model/frustum.h"

#include <gtest/gtest.h>

namespace {

class FrustumTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Identity view and the game's projection.
        D3DXMATRIX projection;
        D3DXMatrixPerspectiveLH(&projection, 1024.0f / 768.0f, 1.0f, 1.0f, 10000.0f);
        frustum.Build(projection);
    }
    void ExpectPlane(int index, float a, float b, float c, float d, float tolerance = 1e-4f) {
        const D3DXPLANE& p = frustum.Plane(index);
        EXPECT_NEAR(p.a, a, tolerance) << "plane " << index;
        EXPECT_NEAR(p.b, b, tolerance) << "plane " << index;
        EXPECT_NEAR(p.c, c, tolerance) << "plane " << index;
        EXPECT_NEAR(p.d, d, tolerance * 10) << "plane " << index;
    }

    Frustum frustum;
};

TEST_F(FrustumTest, PlanesOfTheGameProjection) {
    ExpectPlane(Frustum::kLeft, 0.83205f, 0, 0.5547f, 0);
    ExpectPlane(Frustum::kRight, -0.83205f, 0, 0.5547f, 0);
    ExpectPlane(Frustum::kTop, 0, -0.89443f, 0.44721f, 0);
    ExpectPlane(Frustum::kBottom, 0, 0.89443f, 0.44721f, 0);
    ExpectPlane(Frustum::kNear, 0, 0, 1, -0.500025f);
    ExpectPlane(Frustum::kFar, 0, 0, -1, 9999.34f, 1e-2f);
}

TEST_F(FrustumTest, SpheresAreRejectedOnlyWhollyOutsideOnePlane) {
    EXPECT_FALSE(frustum.SphereInFrustum(0, 0, 0.4f, 0));
    EXPECT_TRUE(frustum.SphereInFrustum(0, 0, 0.6f, 0));
    // Distance -1.000025 from the near plane: just outside a radius of 1.
    EXPECT_FALSE(frustum.SphereInFrustum(0, 0, -0.5f, 1.0f));
    EXPECT_TRUE(frustum.SphereInFrustum(0, 0, -0.5f, 1.1f));
    EXPECT_TRUE(frustum.SphereInFrustum(0, 0, 50, 0));
    EXPECT_FALSE(frustum.SphereInFrustum(0, 0, 20000, 10));
}

TEST_F(FrustumTest, BoxesNeedACornerStrictlyInsideEveryPlane) {
    EXPECT_FALSE(frustum.BoxInFrustum(0, 0, -10, 1, 1, 1));
    EXPECT_TRUE(frustum.BoxInFrustum(0, 0, 100, 1, 1, 1));
    // Largest corner distance from the left plane is about -0.416.
    EXPECT_FALSE(frustum.BoxInFrustum(-2, 0, 2, 0.1f, 0.1f, 0.1f));
}

TEST(FrustumEdgeTest, ACornerExactlyOnAPlaneCountsAsOutside) {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    Frustum frustum;
    frustum.Build(m);
    // With identity, the left plane is x + w > 0, i.e. x > -1 for points (w = 1).
    EXPECT_EQ(frustum.Plane(Frustum::kLeft).a, 1.0f);
    EXPECT_EQ(frustum.Plane(Frustum::kLeft).d, 1.0f);
    EXPECT_FALSE(frustum.BoxInFrustum(-2, 0, 0, 1, 0.5f, 0.5f));  // touches x = -1 only
    EXPECT_TRUE(frustum.BoxInFrustum(-2, 0, 0, 1.01f, 0.5f, 0.5f));
}

TEST(FrustumEdgeTest, AnUnbuiltFrustumRejectsBoxesAndAcceptsSpheres) {
    Frustum frustum;
    EXPECT_FALSE(frustum.BoxInFrustum(0, 0, 10, 1, 1, 1));
    EXPECT_TRUE(frustum.SphereInFrustum(0, 0, 10, 0));
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    frustum.Build(m);
    frustum.Clear();
    EXPECT_FALSE(frustum.BoxInFrustum(0, 0, 0.5f, 1, 1, 1));
}

}  // namespace
