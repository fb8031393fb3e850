#include "render/camera.h"

#include <gtest/gtest.h>

#include "tests/support/recording_device.h"

namespace {

D3DXVECTOR3 Transform(const D3DXMATRIX& m, D3DXVECTOR3 v) {
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

TEST(CameraTest, StartsWithIdentityMatrices) {
    Camera camera;
    EXPECT_EQ(camera.GetView(), Identity());
    EXPECT_EQ(camera.GetProjection(), Identity());
    EXPECT_EQ(camera.GetPosition(), D3DXVECTOR3(0, 0, 0));
}

TEST(CameraTest, ViewMovesThenTurns) {
    Camera camera;
    camera.Setup(1024, 768, D3DXVECTOR3(0, 3, -3), D3DXVECTOR3(0, 0, 0));
    const D3DXVECTOR3 ahead = Transform(camera.GetView(), D3DXVECTOR3(0, 3, -2));
    EXPECT_NEAR(ahead.x, 0, 1e-6f);
    EXPECT_NEAR(ahead.y, 0, 1e-6f);
    EXPECT_NEAR(ahead.z, 1, 1e-6f);

    // Turned a quarter to the right, the camera looks along +x.
    const D3DXVECTOR3 position(5, -2, 7);
    camera.SetPosition(position);
    camera.SetRotation(D3DXVECTOR3(0, 1.5707964f, 0));
    camera.BuildView();
    const D3DXVECTOR3 right = Transform(camera.GetView(), position + D3DXVECTOR3(1, 0, 0));
    EXPECT_NEAR(right.x, 0, 1e-5f);
    EXPECT_NEAR(right.y, 0, 1e-5f);
    EXPECT_NEAR(right.z, 1, 1e-5f);
}

TEST(CameraTest, ProjectionMapsNearToZeroAndFarToOne) {
    Camera camera;
    camera.Setup(1024, 768, D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 0));
    EXPECT_NEAR(Transform(camera.GetProjection(), D3DXVECTOR3(0, 0, 1)).z, 0.0f, 1e-6f);
    EXPECT_NEAR(Transform(camera.GetProjection(), D3DXVECTOR3(0, 0, 10000)).z, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(camera.GetProjection().m[0][0], 1.5f);
}

TEST(CameraTest, SettersDoNotRebuildTheView) {
    Camera camera;
    camera.Setup(1024, 768, D3DXVECTOR3(0, 8, 0), D3DXVECTOR3(0, 3.14f, 0));
    const D3DXMATRIX before = camera.GetView();
    camera.SetPosition(D3DXVECTOR3(1, 2, 3));
    camera.SetRotation(D3DXVECTOR3(0, 1, 0));
    EXPECT_EQ(camera.GetView(), before);
    camera.BuildView();
    EXPECT_NE(camera.GetView(), before);
}

TEST(CameraTest, ApplySetsViewThenProjectionAndStopsAtAFailure) {
    CallLog::Get().Reset();
    RecordingDirect3D* d3d = new RecordingDirect3D();
    D3DPRESENT_PARAMETERS parameters{};
    IDirect3DDevice8* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &device), S_OK);

    Camera camera;
    camera.Setup(1024, 768, D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(0, 0.5f, 0));
    CallLog::Get().Reset();
    EXPECT_EQ(camera.Apply(device), S_OK);
    EXPECT_EQ(CallLog::Get().Texts(),
              (std::vector<std::string>{"SetTransform(2, ptr)", "SetTransform(3, ptr)"}));
    D3DMATRIX set;
    ASSERT_TRUE(LastTransformSet(D3DTS_PROJECTION, &set));
    EXPECT_EQ(D3DXMATRIX(set), camera.GetProjection());

    CallLog::Get().Reset();
    CallLog::Get().FailNth("SetTransform", 1, E_FAIL);
    EXPECT_EQ(camera.Apply(device), E_FAIL);
    EXPECT_EQ(CallLog::Get().Count("SetTransform"), 1);

    device->Release();
    d3d->Release();
    EXPECT_EQ(RecordingLiveObjects(), 0);
}

}  // namespace
