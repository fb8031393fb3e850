#include "tests/support/recording_fixture.h"

void RecordingDeviceTest::SetUp() {
    CallLog::Get().Reset();
    RecordingSetup::Get().Restore();
    d3d = new RecordingDirect3D();
    D3DPRESENT_PARAMETERS parameters{};
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &parameters, &device), S_OK);
    CallLog::Get().ClearCalls();
}

void RecordingDeviceTest::ReleaseDevice() {
    if (device != nullptr) {
        device->Release();
        device = nullptr;
    }
    if (d3d != nullptr) {
        d3d->Release();
        d3d = nullptr;
    }
}

void RecordingDeviceTest::TearDown() {
    ReleaseDevice();
    EXPECT_EQ(RecordingLiveObjects(), 0);
}
