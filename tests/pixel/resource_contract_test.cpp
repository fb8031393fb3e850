// Contracts of Direct3D 8's objects, in the manner of an API conformance suite, held by our layer
// and by the real runtime alike: what failing creations and locks hand back, reference counts
// after create, set and release, nothing alive at teardown, texture levels and locking, and
// capabilities that match what the device creates.
#include <cstring>

#include "tests/pixel/pixel_device.h"
#include "tests/pixel/pixel_scene.h"

namespace {

// A pointer no call may write.
template <typename T>
T* Sentinel() {
    return reinterpret_cast<T*>(uintptr_t{0x5EE5});
}

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

class ResourceContractTest : public PixelScene {
protected:
    void SetUp() override {
        PixelScene::SetUp();
        ASSERT_NE(device, nullptr);
    }
};

TEST_F(ResourceContractTest, FailingCreationsHandBackNoObject) {
    // Windows' runtime clears the out-parameter of a failed creation.
    const ULONG deviceAlone = References(device);
    IDirect3DTexture8* texture = Sentinel<IDirect3DTexture8>();
    EXPECT_EQ(device->CreateTexture(0, 16, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    texture = Sentinel<IDirect3DTexture8>();
    EXPECT_EQ(device->CreateTexture(16, 16, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                    D3DPOOL_MANAGED, &texture),
              D3DERR_INVALIDCALL);  // render targets live in the default pool
    EXPECT_EQ(texture, nullptr);

    IDirect3DVertexBuffer8* buffer = nullptr;
    EXPECT_TRUE(
        FAILED(device->CreateVertexBuffer(0, 0, kColorVertexFvf, D3DPOOL_MANAGED, &buffer)));
    EXPECT_EQ(References(device), deviceAlone);
    if (const std::optional<int> live = LiveLayerObjects()) {
        EXPECT_EQ(*live, 2);  // the Direct3D object and the device only
    }
}

TEST_F(ResourceContractTest, FailingLocksAndQueriesLeaveTheirOutputsAlone) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    owned.push_back(texture);
    D3DLOCKED_RECT locked = {77, Sentinel<void>()};
    EXPECT_EQ(texture->LockRect(4, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(locked.Pitch, 77);
    EXPECT_EQ(locked.pBits, Sentinel<void>());

    D3DLOCKED_RECT first{};
    ASSERT_EQ(texture->LockRect(0, &first, nullptr, 0), D3D_OK);
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    EXPECT_EQ(locked.Pitch, 77);
    EXPECT_EQ(locked.pBits, Sentinel<void>());
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);

    D3DSURFACE_DESC desc;
    std::memset(&desc, 0xAB, sizeof(desc));
    D3DSURFACE_DESC untouched = desc;
    EXPECT_EQ(texture->GetLevelDesc(4, &desc), D3DERR_INVALIDCALL);
    EXPECT_EQ(std::memcmp(&desc, &untouched, sizeof(desc)), 0);
}

TEST_F(ResourceContractTest, UnlockingATextureLevelTwiceSucceeds) {
    // So Windows' runtime answers (Wine's own texture lock tests check it against Windows).
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    owned.push_back(texture);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    // Still unlocked: it locks again.
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
}

TEST_F(ResourceContractTest, ResourcesHoldTheDeviceAndBindingsChangeNoCount) {
    const ULONG deviceAlone = References(device);
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    EXPECT_EQ(References(texture), 1u);
    EXPECT_EQ(References(device), deviceAlone + 1);

    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    EXPECT_EQ(References(texture), 1u);
    EXPECT_EQ(References(device), deviceAlone + 1);

    IDirect3DDevice8* owner = nullptr;
    ASSERT_EQ(texture->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device);
    EXPECT_EQ(References(device), deviceAlone + 2);
    owner->Release();

    // Released while bound: the device keeps the texture until it is unbound.
    const std::optional<int> live = LiveLayerObjects();
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(References(device), deviceAlone);
    EXPECT_EQ(LiveLayerObjects(), live);
    ASSERT_EQ(device->SetTexture(0, nullptr), D3D_OK);
    if (live.has_value()) {
        EXPECT_EQ(LiveLayerObjects(), *live - 1);
    }
}

TEST_F(ResourceContractTest, ATextureReleasedWhileBoundStillDraws) {
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    FillLevel(texture, 0, 0xFF20C040);
    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    texture->Release();
    Begin();
    Draw(FullScreen(0.5f, 0xFFFFFFFF), kColorVertexFvf);
    End();
    EXPECT_TRUE(ColorNear(Centre(), 0x20, 0xC0, 0x40));
}

TEST_F(ResourceContractTest, TheDeviceOutlivesItsLastResource) {
    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(36, 0, kColorVertexFvf, D3DPOOL_MANAGED, &buffer), D3D_OK);
    ASSERT_EQ(device->SetStreamSource(0, buffer, 36), D3D_OK);
    // The application lets go of the device first; the buffer still works.
    EXPECT_EQ(device->Release(), 1u);
    device = nullptr;
    BYTE* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(buffer->Release(), 0u);
    if (const std::optional<int> live = LiveLayerObjects()) {
        EXPECT_EQ(*live, 1);  // only the Direct3D object
    }
}

TEST_F(ResourceContractTest, NothingIsLeftAliveAfterAFullFrameAndTeardown) {
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTexture(0, MakeTexture(1, 1, {0xFFFFFFFF}));
    device->SetTexture(1, MakeTexture(1, 1, {0xFFFFFFFF}));
    Begin();
    Draw(FullScreen(0.5f, 0xFFFFFFFF), kColorVertexFvf);
    End();
    // The teardown releases everything and checks the count reaches zero.
}

TEST_F(ResourceContractTest, TextureLevelsAndDescriptions) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(256, 128, 0, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    owned.push_back(texture);
    ASSERT_EQ(texture->GetLevelCount(), 9u);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 256u);
    EXPECT_EQ(desc.Height, 128u);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(desc.Type, D3DRTYPE_SURFACE);
    EXPECT_EQ(desc.Size, 256u * 128u * 4u);
    ASSERT_EQ(texture->GetLevelDesc(7, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 2u);
    EXPECT_EQ(desc.Height, 1u);
    ASSERT_EQ(texture->GetLevelDesc(8, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    EXPECT_EQ(texture->GetType(), D3DRTYPE_TEXTURE);

    IDirect3DTexture8* odd = nullptr;
    ASSERT_EQ(device->CreateTexture(300, 300, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &odd),
              D3D_OK);
    owned.push_back(odd);
    EXPECT_EQ(odd->GetLevelCount(), 9u);
    ASSERT_EQ(odd->GetLevelDesc(1, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 150u);
}

TEST_F(ResourceContractTest, LockingPartOfALevelKeepsTheRest) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture),
              D3D_OK);
    owned.push_back(texture);
    FillLevel(texture, 0, 0xFF112233);
    const RECT one = {2, 1, 3, 2};
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, &one, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 16);
    *static_cast<DWORD*>(locked.pBits) = 0x80FFEEDD;
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto* texels = static_cast<const DWORD*>(locked.pBits);
    EXPECT_EQ(texels[1 * 4 + 2], 0x80FFEEDDu);
    EXPECT_EQ(texels[0], 0xFF112233u);
    EXPECT_EQ(texels[15], 0xFF112233u);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
}

TEST_F(ResourceContractTest, CapabilitiesMatchWhatTheDeviceCreates) {
    D3DCAPS8 caps{};
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.TextureCaps & (D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY), 0u);
    EXPECT_NE(caps.TextureCaps & D3DPTEXTURECAPS_MIPMAP, 0u);
    EXPECT_GE(caps.MaxTextureWidth, 1024u);

    // The largest size the capabilities claim is created; one more is refused.
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(caps.MaxTextureWidth, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                    &texture),
              D3D_OK);
    texture->Release();
    EXPECT_TRUE(FAILED(device->CreateTexture(caps.MaxTextureWidth + 1, 1, 1, 0, D3DFMT_A8R8G8B8,
                                             D3DPOOL_MANAGED, &texture)));

    // The Direct3D object now reports the same size as the device.
    D3DCAPS8 adapterCaps{};
    ASSERT_EQ(d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &adapterCaps), D3D_OK);
    EXPECT_EQ(adapterCaps.MaxTextureWidth, caps.MaxTextureWidth);

    // Formats: what CheckDeviceFormat accepts, CreateTexture creates.
    const D3DFORMAT formats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R5G6B5,
                                 D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_L8,
                                 D3DFMT_R8G8B8,   D3DFMT_DXT1,     D3DFMT_P8};
    for (D3DFORMAT format : formats) {
        const HRESULT checked = d3d->CheckDeviceFormat(
            D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE, format);
        texture = nullptr;
        const HRESULT created =
            device->CreateTexture(4, 4, 1, 0, format, D3DPOOL_MANAGED, &texture);
        EXPECT_EQ(SUCCEEDED(checked), SUCCEEDED(created)) << "format " << format;
        if (texture != nullptr) {
            texture->Release();
        }
    }
    EXPECT_EQ(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0,
                                     D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8),
              D3D_OK);
}

}  // namespace
