// The OpenGL capture tools' Direct3D 8 wrappers keep COM identity: asked for an interface, the
// object and the device hand back themselves, never what they wrap. A game handed the layer's
// device past the wrapper would draw and present unseen by the stage timing.
#include <gtest/gtest.h>

#include "tests/support/call_log.h"
#include "tests/support/recording_device.h"
#include "tools/capture/stage_timing_direct3d.h"

namespace {

// What QueryInterface hands back for IUnknown, released again: the pointer alone is compared.
void* UnknownOf(IUnknown* object) {
    void* answer = nullptr;
    EXPECT_EQ(object->QueryInterface(kUnknownInterfaceId, &answer), S_OK);
    if (answer != nullptr) {
        static_cast<IUnknown*>(answer)->Release();
    }
    return answer;
}

TEST(StageTimingWrappersTest, QueryInterfaceHandsBackTheWrapperNotTheLayer) {
    RecordingSetup::Get().Restore();
    CallLog::Get().Reset();
    IDirect3D8* layer = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(layer, nullptr);
    IDirect3D8* direct3d = new StageTimingDirect3D(layer);
    EXPECT_EQ(UnknownOf(direct3d), static_cast<void*>(direct3d));

    D3DPRESENT_PARAMETERS parameters = {};
    parameters.BackBufferWidth = 1024;
    parameters.BackBufferHeight = 768;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    IDirect3DDevice8* device = nullptr;
    ASSERT_EQ(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr,
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device),
              D3D_OK);
    EXPECT_EQ(UnknownOf(device), static_cast<void*>(device));
    IDirect3D8* parent = nullptr;
    ASSERT_EQ(device->GetDirect3D(&parent), D3D_OK);
    EXPECT_EQ(parent, direct3d);
    parent->Release();

    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(direct3d->Release(), 0u);
    EXPECT_EQ(RecordingLiveObjects(), 0);
}

}  // namespace
