// A recording Direct3D device made fresh for each test, with the call log cleared after its
// creation, and a check at the end that the test left nothing alive.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/recording_device.h"

class RecordingDeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Everything the test made must be released before this; called by TearDown.
    void ReleaseDevice();

    RecordingDevice* Recording() const { return static_cast<RecordingDevice*>(device); }

    RecordingDirect3D* d3d = nullptr;
    IDirect3DDevice8* device = nullptr;
};
