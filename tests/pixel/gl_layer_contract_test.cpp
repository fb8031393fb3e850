// Contracts that belong to our OpenGL layer alone, not to Direct3D 8 as such: the calls it refuses
// where a retail runtime would draw garbage or succeed, the capabilities it leaves out, and its
// sharing of generated programs. Linked into the Linux image tests only.
#include <string>

#include "platform/gl/gl_context_request.h"
#include "platform/gl/gl_device.h"
#include "tests/pixel/pixel_scene.h"

namespace {

class GlLayerContractTest : public PixelScene {
protected:
    void SetUp() override {
        PixelScene::SetUp();
        ASSERT_NE(device, nullptr);
    }
};

// A pointer no call may write.
template <typename T>
T* Sentinel() {
    return reinterpret_cast<T*>(uintptr_t{0x5EE5});
}

// The image tests run once on each dialect (SKIMLARK_GL=es asks for ES 3.0): a run that asked for
// one must have drawn on it, or a pass proves nothing about that dialect.
TEST_F(GlLayerContractTest, TheContextSpeaksTheDialectAskedFor) {
    auto* glDevice = dynamic_cast<GlDevice*>(device);
    ASSERT_NE(glDevice, nullptr);
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(version, nullptr);
    const bool esContext = std::string(version).rfind("OpenGL ES 3.", 0) == 0;
    EXPECT_EQ(esContext, GlEsContextRequested()) << version;
    EXPECT_EQ(&glDevice->Dialect(), esContext ? &EsGlDialect() : &DesktopGlDialect()) << version;
}

TEST_F(GlLayerContractTest, WhatTheLayerCannotDoIsRefusedAndNotClaimed) {
    D3DCAPS8 caps{};
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.MaxActiveLights, 0u);
    EXPECT_EQ(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0,
                                     D3DRTYPE_TEXTURE, D3DFMT_DXT1),
              D3DERR_NOTAVAILABLE);

    IDirect3DTexture8* texture = Sentinel<IDirect3DTexture8>();
    EXPECT_EQ(device->CreateTexture(16, 16, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                    D3DPOOL_DEFAULT, &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(GlLayerContractTest, OutOfRangeRequestsAreRefusedWhereARetailRuntimeChecksNothing) {
    // Windows' runtime creates more levels than the chain holds, and locks any rectangle of a
    // texture, handing back a pointer outside it; the layer refuses both rather than hand out
    // memory it does not own.
    IDirect3DTexture8* texture = Sentinel<IDirect3DTexture8>();
    EXPECT_EQ(device->CreateTexture(16, 16, 6, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3DERR_INVALIDCALL);  // a 16 x 16 chain has 5 levels
    EXPECT_EQ(texture, nullptr);
    ASSERT_EQ(device->CreateTexture(8, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    owned.push_back(texture);
    D3DLOCKED_RECT locked = {77, Sentinel<void>()};
    const RECT outside = {0, 0, 9, 4};
    EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(locked.Pitch, 77);
    EXPECT_EQ(locked.pBits, Sentinel<void>());

    IDirect3DVertexBuffer8* buffer = Sentinel<IDirect3DVertexBuffer8>();
    EXPECT_EQ(device->CreateVertexBuffer(0, 0, kColorVertexFvf, D3DPOOL_MANAGED, &buffer),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(
        device->CreateVertexBuffer(36, D3DUSAGE_DYNAMIC, kColorVertexFvf, D3DPOOL_MANAGED, &buffer),
        D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer, Sentinel<IDirect3DVertexBuffer8>());
    ASSERT_EQ(device->CreateVertexBuffer(72, D3DUSAGE_WRITEONLY, kColorVertexFvf, D3DPOOL_MANAGED,
                                         &buffer),
              D3D_OK);
    owned.push_back(buffer);
    BYTE* data = Sentinel<BYTE>();
    EXPECT_EQ(buffer->Lock(36, 40, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(72, 0, &data, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(data, Sentinel<BYTE>());
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);

    D3DCAPS8 caps{};
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(device->CreateTexture(caps.MaxTextureWidth + 1, 1, 1, 0, D3DFMT_A8R8G8B8,
                                    D3DPOOL_MANAGED, &texture),
              D3DERR_INVALIDCALL);
}

TEST_F(GlLayerContractTest, DrawsOutsideTheRulesAreRefused) {
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(4 * sizeof(ColorVertex), 0, kColorVertexFvf,
                                         D3DPOOL_MANAGED, &buffer),
              D3D_OK);
    owned.push_back(buffer);
    ASSERT_EQ(device->SetStreamSource(0, buffer, sizeof(ColorVertex)), D3D_OK);
    EXPECT_EQ(device->SetVertexShader(0x3), D3DERR_INVALIDCALL);  // a shader handle
    ASSERT_EQ(device->SetVertexShader(kColorVertexFvf), D3D_OK);

    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);  // no scene
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2), D3DERR_INVALIDCALL);  // past end
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(9), 0, 1), D3DERR_INVALIDCALL);
    BYTE* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);  // locked
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, buffer, sizeof(ColorVertex) - 4), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 1), D3DERR_INVALIDCALL);  // stride
    ASSERT_EQ(device->EndScene(), D3D_OK);
}

TEST_F(GlLayerContractTest, ProgramsAreSharedByStatesThatDrawAlike) {
    auto* glDevice = dynamic_cast<GlDevice*>(device);
    ASSERT_NE(glDevice, nullptr);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    Begin();
    Draw(FullScreen(0.5f, 0xFFFFFFFF), kColorVertexFvf);
    const size_t programs = glDevice->ProgramCount();
    // Without a texture, ADD of TEXTURE draws exactly as the default MODULATE does.
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    Draw(FullScreen(0.5f, 0xFFFFFFFF), kColorVertexFvf);
    EXPECT_EQ(glDevice->ProgramCount(), programs);
    device->SetTexture(0, MakeTexture(1, 1, {0xFFFFFFFF}));
    Draw(FullScreen(0.5f, 0xFFFFFFFF), kColorVertexFvf);
    EXPECT_EQ(glDevice->ProgramCount(), programs + 1);
    End();
}

}  // namespace
