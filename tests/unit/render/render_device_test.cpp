#include "render/render_device.h"

#include <gtest/gtest.h>

#include "tests/support/recording_device.h"

namespace {

class RenderDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog::Get().Reset();
        RecordingSetup::Get().Restore();
    }
    void TearDown() override {
        renderDevice.Release();
        EXPECT_EQ(RecordingLiveObjects(), 0);
    }
    HWND Window() const { return reinterpret_cast<HWND>(0x1234); }

    RenderDevice renderDevice;
};

TEST_F(RenderDeviceTest, FullScreenParameters) {
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    EXPECT_EQ(CallLog::Get().Texts(),
              (std::vector<std::string>{"Direct3DCreate8(220)", "GetAdapterDisplayMode(0, ptr)",
                                        "CreateDevice(0, 1, ptr, 0x20, ptr, ptr)"}));
    const D3DPRESENT_PARAMETERS& p = RecordingDevice::Latest()->PresentParameters();
    EXPECT_EQ(p.BackBufferWidth, 1024u);
    EXPECT_EQ(p.BackBufferHeight, 768u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.BackBufferCount, 1u);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_COPY);
    EXPECT_EQ(p.hDeviceWindow, Window());
    EXPECT_EQ(p.Windowed, FALSE);
    EXPECT_EQ(p.EnableAutoDepthStencil, TRUE);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(p.Flags, D3DPRESENTFLAG_LOCKABLE_BACKBUFFER);
    EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_ONE);
    EXPECT_EQ(renderDevice.GetDevice(), RecordingDevice::Latest());
}

TEST_F(RenderDeviceTest, WindowedBackBufferTakesTheWindowSize) {
    RecordingSetup::Get().displayMode.Format = D3DFMT_R5G6B5;
    ASSERT_EQ(renderDevice.Init(Window(), 640, 480, true), S_OK);
    const D3DPRESENT_PARAMETERS& p = RecordingDevice::Latest()->PresentParameters();
    EXPECT_EQ(p.BackBufferWidth, 0u);
    EXPECT_EQ(p.BackBufferHeight, 0u);
    EXPECT_EQ(p.Windowed, TRUE);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(p.hDeviceWindow, nullptr);
}

TEST_F(RenderDeviceTest, InitTwiceReleasesTheFirstDeviceBeforeMakingNewOnes) {
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    CallLog::Get().ClearCalls();
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    const auto texts = CallLog::Get().Texts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], "IDirect3DDevice8::Release()");
    EXPECT_EQ(texts[1], "IDirect3D8::Release()");
    EXPECT_EQ(texts[2], "Direct3DCreate8(220)");
    EXPECT_EQ(RecordingLiveObjects(), 2);  // one Direct3D object and one device
}

TEST_F(RenderDeviceTest, ReleaseBeforeInitOrTwiceDoesNothing) {
    EXPECT_EQ(renderDevice.Release(), S_OK);
    EXPECT_TRUE(CallLog::Get().Calls().empty());
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    EXPECT_EQ(renderDevice.Release(), S_OK);
    CallLog::Get().ClearCalls();
    EXPECT_EQ(renderDevice.Release(), S_OK);
    EXPECT_TRUE(CallLog::Get().Calls().empty());
    EXPECT_EQ(renderDevice.GetDevice(), nullptr);
}

TEST_F(RenderDeviceTest, CreationFailuresAreReturnedUnchanged) {
    RecordingSetup::Get().createReturnsNull = true;
    EXPECT_EQ(renderDevice.Init(Window(), 1024, 768, false), E_FAIL);
    RecordingSetup::Get().createReturnsNull = false;

    CallLog::Get().FailNth("GetAdapterDisplayMode", 1, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(renderDevice.Init(Window(), 1024, 768, false), D3DERR_NOTAVAILABLE);

    CallLog::Get().FailNth("CreateDevice", 1, D3DERR_INVALIDCALL);
    EXPECT_EQ(renderDevice.Init(Window(), 1024, 768, false), D3DERR_INVALIDCALL);
    EXPECT_EQ(renderDevice.GetDevice(), nullptr);
    // The Direct3D object may stay until release; the device never does.
    EXPECT_EQ(RecordingLiveObjects(), 1);
}

TEST_F(RenderDeviceTest, PresentRecoversALostDeviceWithReset) {
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    CallLog::Get().FailNth("Present", 1, S_FALSE);
    EXPECT_EQ(renderDevice.Present(), S_OK);  // any success code gives 0

    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    CallLog::Get().ClearCalls();
    EXPECT_EQ(renderDevice.Present(), S_OK);
    EXPECT_EQ(CallLog::Get().Texts(),
              (std::vector<std::string>{"Present(null, null, null, null)", "Reset(ptr)"}));

    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("Reset", 1, D3DERR_DEVICENOTRESET);
    EXPECT_EQ(renderDevice.Present(), D3DERR_DEVICENOTRESET);

    // Other failures are returned without a reset.
    CallLog::Get().FailNth("Present", 1, D3DERR_DRIVERINTERNALERROR);
    CallLog::Get().ClearCalls();
    EXPECT_EQ(renderDevice.Present(), D3DERR_DRIVERINTERNALERROR);
    EXPECT_EQ(CallLog::Get().Count("Reset"), 0);
}

// Owns one default-pool buffer, bound to the stream as the last draw of a frame leaves it, and
// gives it up and makes it again around a reset as the game's objects do.
class BufferOwner : public DeviceResetHandler {
public:
    ~BufferOwner() { Release(); }
    HRESULT Create(IDirect3DDevice8* device) {
        HRESULT result =
            device->CreateVertexBuffer(288, D3DUSAGE_WRITEONLY, 0x152, D3DPOOL_DEFAULT, &buffer);
        if (SUCCEEDED(result)) {
            result = device->SetStreamSource(0, buffer, 36);
        }
        return result;
    }
    void Release() {
        if (buffer != nullptr) {
            buffer->Release();
            buffer = nullptr;
        }
    }
    void BeforeReset(IDirect3DDevice8* device) override {
        ++releases;
        device->SetStreamSource(0, nullptr, 0);
        Release();
    }
    HRESULT AfterReset(IDirect3DDevice8* device) override {
        ++restores;
        return Create(device);
    }

    IDirect3DVertexBuffer8* buffer = nullptr;
    int releases = 0;
    int restores = 0;
};

TEST_F(RenderDeviceTest, ALiveDefaultPoolBufferKeepsALostDeviceFromResetting) {
    BufferOwner owner;
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    ASSERT_EQ(owner.Create(renderDevice.GetDevice()), S_OK);
    // Without a handler nothing makes room for the reset, so the device would stay lost.
    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    EXPECT_EQ(renderDevice.Present(), D3DERR_DEVICELOST);
    renderDevice.GetDevice()->SetStreamSource(0, nullptr, 0);
}

TEST_F(RenderDeviceTest, ALostDeviceReleasesTheDefaultPoolResetsAndMakesItAgain) {
    BufferOwner owner;
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    renderDevice.SetResetHandler(&owner);
    ASSERT_EQ(owner.Create(renderDevice.GetDevice()), S_OK);
    CallLog::Get().ClearCalls();

    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    EXPECT_EQ(renderDevice.Present(), S_OK);
    // The stream's reference and the owner's both go before the reset.
    EXPECT_EQ(
        CallLog::Get().Texts(),
        (std::vector<std::string>{"Present(null, null, null, null)", "SetStreamSource(0, null, 0)",
                                  "IDirect3DVertexBuffer8::Release(vertexbuffer#1)", "Reset(ptr)",
                                  "CreateVertexBuffer(288, 0x8, 0x152, 0)",
                                  "SetStreamSource(0, vertexbuffer#2, 36)"}));
    EXPECT_EQ(RecordingDevice::Latest()->LiveDefaultPoolResources(), 1);
    EXPECT_EQ(RecordingDevice::Latest()->BoundStream(), owner.buffer);

    // The next frame presents normally; nothing is released or made.
    EXPECT_EQ(renderDevice.Present(), S_OK);
    EXPECT_EQ(owner.releases, 1);
    EXPECT_EQ(owner.restores, 1);
    renderDevice.GetDevice()->SetStreamSource(0, nullptr, 0);
}

TEST_F(RenderDeviceTest, AResetThatFailsLeavesTheDefaultPoolEmptyUntilOneSucceeds) {
    BufferOwner owner;
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    renderDevice.SetResetHandler(&owner);
    ASSERT_EQ(owner.Create(renderDevice.GetDevice()), S_OK);

    // Still lost (the window is in the background): the reset is refused.
    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("Reset", 1, D3DERR_DEVICELOST);
    EXPECT_EQ(renderDevice.Present(), D3DERR_DEVICELOST);
    EXPECT_EQ(owner.restores, 0);
    EXPECT_EQ(RecordingDevice::Latest()->LiveDefaultPoolResources(), 0);

    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    EXPECT_EQ(renderDevice.Present(), S_OK);
    EXPECT_EQ(owner.releases, 2);
    EXPECT_EQ(owner.restores, 1);
    EXPECT_EQ(RecordingDevice::Latest()->LiveDefaultPoolResources(), 1);
    renderDevice.GetDevice()->SetStreamSource(0, nullptr, 0);
}

TEST_F(RenderDeviceTest, AFailedRecreationAfterAResetIsReported) {
    BufferOwner owner;
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    renderDevice.SetResetHandler(&owner);
    ASSERT_EQ(owner.Create(renderDevice.GetDevice()), S_OK);

    CallLog::Get().FailNth("Present", 1, D3DERR_DEVICELOST);
    CallLog::Get().FailNth("CreateVertexBuffer", 1, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(renderDevice.Present(), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(CallLog::Get().Count("Reset"), 1);
    EXPECT_EQ(owner.buffer, nullptr);

    // A direct reset goes through the handler too.
    EXPECT_EQ(renderDevice.Reset(), S_OK);
    EXPECT_NE(owner.buffer, nullptr);
    renderDevice.GetDevice()->SetStreamSource(0, nullptr, 0);
}

TEST_F(RenderDeviceTest, BeginAndEndReturnFailures) {
    ASSERT_EQ(renderDevice.Init(Window(), 1024, 768, false), S_OK);
    CallLog::Get().FailNth("BeginScene", 1, D3DERR_INVALIDCALL);
    EXPECT_EQ(renderDevice.Begin(), D3DERR_INVALIDCALL);
    EXPECT_EQ(renderDevice.Begin(), S_OK);
    EXPECT_EQ(renderDevice.End(), S_OK);
}

}  // namespace
