#include "tests/support/recording_device.h"

#include <cstring>

namespace {

int liveObjects = 0;
RecordingDevice* latestDevice = nullptr;
std::map<DWORD, D3DMATRIX> lastTransforms;

std::string ArgPointer(const void* pointer) {
    return pointer == nullptr ? "null" : "ptr";
}

UINT BytesPerTexel(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
        case D3DFMT_A2B10G10R10:
        case D3DFMT_G16R16:
            return 4;
        case D3DFMT_R8G8B8:
            return 3;
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4:
        case D3DFMT_X4R4G4B4:
        case D3DFMT_A8R3G3B2:
        case D3DFMT_A8L8:
            return 2;
        default:
            return 1;
    }
}

}  // namespace

RecordingSetup& RecordingSetup::Get() {
    static RecordingSetup setup = [] {
        RecordingSetup fresh;
        fresh.Restore();
        return fresh;
    }();
    return setup;
}

void RecordingSetup::Restore() {
    displayMode = D3DDISPLAYMODE{1024, 768, 60, D3DFMT_X8R8G8B8};
    std::memset(&caps, 0, sizeof(caps));
    caps.DeviceType = D3DDEVTYPE_HAL;
    caps.TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    caps.MaxTextureWidth = 4096;
    caps.MaxTextureHeight = 4096;
    caps.MaxTextureAspectRatio = 4096;
    caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
    textureFormats = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8};
    createReturnsNull = false;
}

int RecordingLiveObjects() {
    return liveObjects;
}

RecordingObject::RecordingObject(const char* kind) : references(1) {
    ++liveObjects;
    RegisterObjectName(this, kind);
}

RecordingObject::~RecordingObject() {
    --liveObjects;
    ForgetObjectName(this);
}

ULONG RecordingObject::DropReference() {
    const ULONG remaining = --references;
    if (remaining == 0) {
        delete this;
    }
    return remaining;
}

IDirect3D8* WINAPI Direct3DCreate8(UINT sdkVersion) {
    CallLog::Get().Record("Direct3DCreate8", {ArgOf(sdkVersion)});
    if (RecordingSetup::Get().createReturnsNull) {
        return nullptr;
    }
    return new RecordingDirect3D();
}

// ---------------------------------------------------------------- RecordingDirect3D

RecordingDirect3D::RecordingDirect3D() : RecordingObject("d3d") {}

// Asked for IUnknown, Direct3D 8's objects hand back themselves; the doubles do too, so that a
// wrapper handing out what is inside it shows.
HRESULT STDMETHODCALLTYPE RecordingDirect3D::QueryInterface(REFIID riid, void** object) {
    if (riid == kUnknownInterfaceId) {
        AddReference();
        *object = static_cast<IDirect3D8*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RecordingDirect3D::Release() {
    CallLog::Get().Record("IDirect3D8::Release");
    return DropReference();
}

HRESULT STDMETHODCALLTYPE RecordingDirect3D::GetAdapterDisplayMode(UINT adapter,
                                                                   D3DDISPLAYMODE* mode) {
    const HRESULT result =
        CallLog::Get().Record("GetAdapterDisplayMode", {ArgOf(adapter), ArgPointer(mode)});
    if (FAILED(result)) {
        return result;
    }
    *mode = RecordingSetup::Get().displayMode;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType,
                                                               D3DFORMAT adapterFormat, DWORD usage,
                                                               D3DRESOURCETYPE resourceType,
                                                               D3DFORMAT checkFormat) {
    const HRESULT result = CallLog::Get().Record(
        "CheckDeviceFormat",
        {ArgOf(adapter), ArgOf(static_cast<int>(deviceType)),
         ArgOf(static_cast<int>(adapterFormat)), ArgOf(usage),
         ArgOf(static_cast<int>(resourceType)), ArgOf(static_cast<int>(checkFormat))});
    if (FAILED(result)) {
        return result;
    }
    const auto& formats = RecordingSetup::Get().textureFormats;
    return formats.count(checkFormat) != 0 ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT STDMETHODCALLTYPE RecordingDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                                           D3DCAPS8* caps) {
    const HRESULT result = CallLog::Get().Record(
        "IDirect3D8::GetDeviceCaps", {ArgOf(adapter), ArgOf(static_cast<int>(deviceType))});
    if (FAILED(result)) {
        return result;
    }
    *caps = RecordingSetup::Get().caps;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType,
                                                          HWND focusWindow, DWORD behaviorFlags,
                                                          D3DPRESENT_PARAMETERS* parameters,
                                                          IDirect3DDevice8** device) {
    const HRESULT result =
        CallLog::Get().Record("CreateDevice", {ArgOf(adapter), ArgOf(static_cast<int>(deviceType)),
                                               ArgPointer(focusWindow), ArgHex(behaviorFlags),
                                               ArgPointer(parameters), ArgPointer(device)});
    if (FAILED(result)) {
        return result;
    }
    *device = new RecordingDevice(this, focusWindow, behaviorFlags, *parameters);
    return D3D_OK;
}

// ---------------------------------------------------------------- RecordingDevice

RecordingDevice::RecordingDevice(RecordingDirect3D* owner, HWND focusWindow, DWORD behaviorFlags,
                                 const D3DPRESENT_PARAMETERS& parameters)
    : RecordingObject("device"),
      parent(owner),
      creationParameters{D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, focusWindow, behaviorFlags},
      presentParameters(parameters),
      material{},
      textures{},
      stream(nullptr),
      streamStride(0),
      vertexShader(0),
      liveDefaultPool(0) {
    parent->AddReference();
    latestDevice = this;
}

RecordingDevice::~RecordingDevice() {
    for (auto& texture : textures) {
        if (texture != nullptr) {
            static_cast<RecordingTexture*>(texture)->DropReference();
        }
    }
    if (stream != nullptr) {
        static_cast<RecordingVertexBuffer*>(stream)->DropReference();
    }
    if (latestDevice == this) {
        latestDevice = nullptr;
    }
    parent->DropReference();
}

RecordingDevice* RecordingDevice::Latest() {
    return latestDevice;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::QueryInterface(REFIID riid, void** object) {
    if (riid == kUnknownInterfaceId) {
        AddReference();
        *object = static_cast<IDirect3DDevice8*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RecordingDevice::Release() {
    CallLog::Get().Record("IDirect3DDevice8::Release");
    return DropReference();
}

HRESULT STDMETHODCALLTYPE RecordingDevice::GetDirect3D(IDirect3D8** direct3d) {
    const HRESULT result = CallLog::Get().Record("GetDirect3D");
    if (FAILED(result)) {
        return result;
    }
    parent->AddReference();
    *direct3d = parent;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::GetDeviceCaps(D3DCAPS8* caps) {
    const HRESULT result = CallLog::Get().Record("GetDeviceCaps");
    if (FAILED(result)) {
        return result;
    }
    *caps = RecordingSetup::Get().caps;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::GetDisplayMode(D3DDISPLAYMODE* mode) {
    const HRESULT result = CallLog::Get().Record("GetDisplayMode");
    if (FAILED(result)) {
        return result;
    }
    *mode = RecordingSetup::Get().displayMode;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE
RecordingDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    const HRESULT result = CallLog::Get().Record("GetCreationParameters");
    if (FAILED(result)) {
        return result;
    }
    *parameters = creationParameters;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::Reset(D3DPRESENT_PARAMETERS* parameters) {
    const HRESULT result = CallLog::Get().Record("Reset", {ArgPointer(parameters)});
    if (FAILED(result)) {
        return result;
    }
    // Real Direct3D 8 refuses to reset while default-pool resources exist.
    if (liveDefaultPool > 0) {
        return D3DERR_DEVICELOST;
    }
    presentParameters = *parameters;
    renderStates.clear();
    stageStates.clear();
    transforms.clear();
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::Present(const RECT* sourceRect, const RECT* destRect,
                                                   HWND destWindowOverride,
                                                   const RGNDATA* dirtyRegion) {
    return CallLog::Get().Record(
        "Present", {ArgPointer(sourceRect), ArgPointer(destRect), ArgPointer(destWindowOverride),
                    ArgPointer(dirtyRegion)});
}

HRESULT STDMETHODCALLTYPE RecordingDevice::CreateTexture(UINT width, UINT height, UINT levels,
                                                         DWORD usage, D3DFORMAT format,
                                                         D3DPOOL pool,
                                                         IDirect3DTexture8** texture) {
    const HRESULT result = CallLog::Get().Record(
        "CreateTexture", {ArgOf(width), ArgOf(height), ArgOf(levels), ArgOf(usage),
                          ArgOf(static_cast<int>(format)), ArgOf(static_cast<int>(pool))});
    if (FAILED(result)) {
        return result;
    }
    if (texture == nullptr || width == 0 || height == 0) {
        return D3DERR_INVALIDCALL;
    }
    *texture = new RecordingTexture(this, width, height, levels, usage, format, pool);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf,
                                                              D3DPOOL pool,
                                                              IDirect3DVertexBuffer8** buffer) {
    const HRESULT result = CallLog::Get().Record(
        "CreateVertexBuffer",
        {ArgOf(length), ArgHex(usage), ArgHex(fvf), ArgOf(static_cast<int>(pool))});
    if (FAILED(result)) {
        return result;
    }
    // Direct3D 8 refuses a buffer too small to hold one vertex of its format.
    if (buffer == nullptr || length == 0) {
        return D3DERR_INVALIDCALL;
    }
    *buffer = new RecordingVertexBuffer(this, length, usage, fvf, pool);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::BeginScene() {
    return CallLog::Get().Record("BeginScene");
}

HRESULT STDMETHODCALLTYPE RecordingDevice::EndScene() {
    return CallLog::Get().Record("EndScene");
}

HRESULT STDMETHODCALLTYPE RecordingDevice::Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags,
                                                 D3DCOLOR color, float z, DWORD stencil) {
    return CallLog::Get().Record("Clear", {ArgOf(rectCount), ArgPointer(rects), ArgOf(flags),
                                           ArgHex(color), ArgOf(z), ArgOf(stencil)});
}

HRESULT STDMETHODCALLTYPE RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state,
                                                        const D3DMATRIX* matrix) {
    const HRESULT result =
        CallLog::Get().Record("SetTransform", {ArgOf(static_cast<int>(state)), ArgPointer(matrix)});
    if (matrix != nullptr) {
        lastTransforms[state] = *matrix;
    }
    if (FAILED(result)) {
        return result;
    }
    transforms[state] = *matrix;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::SetMaterial(const D3DMATERIAL8* newMaterial) {
    const HRESULT result = CallLog::Get().Record("SetMaterial", {ArgPointer(newMaterial)});
    if (FAILED(result)) {
        return result;
    }
    material = *newMaterial;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    const HRESULT result =
        CallLog::Get().Record("SetRenderState", {ArgOf(static_cast<int>(state)), ArgOf(value)});
    if (FAILED(result)) {
        return result;
    }
    renderStates[state] = value;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    const RecordingObject* named =
        texture == nullptr ? nullptr : static_cast<RecordingTexture*>(texture);
    const HRESULT result = CallLog::Get().Record("SetTexture", {ArgOf(stage), ObjectName(named)});
    if (FAILED(result)) {
        return result;
    }
    if (stage >= 8) {
        return D3DERR_INVALIDCALL;
    }
    // The device's own references are not calls of the game: they are not logged.
    if (texture != nullptr) {
        static_cast<RecordingTexture*>(texture)->AddReference();
    }
    if (textures[stage] != nullptr) {
        static_cast<RecordingTexture*>(textures[stage])->DropReference();
    }
    textures[stage] = texture;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::SetTextureStageState(DWORD stage,
                                                                D3DTEXTURESTAGESTATETYPE type,
                                                                DWORD value) {
    const HRESULT result = CallLog::Get().Record(
        "SetTextureStageState", {ArgOf(stage), ArgOf(static_cast<int>(type)), ArgOf(value)});
    if (FAILED(result)) {
        return result;
    }
    stageStates[{stage, static_cast<DWORD>(type)}] = value;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE primitiveType,
                                                         UINT startVertex, UINT primitiveCount) {
    return CallLog::Get().Record("DrawPrimitive", {ArgOf(static_cast<int>(primitiveType)),
                                                   ArgOf(startVertex), ArgOf(primitiveCount)});
}

HRESULT STDMETHODCALLTYPE RecordingDevice::SetVertexShader(DWORD handle) {
    const HRESULT result = CallLog::Get().Record("SetVertexShader", {ArgHex(handle)});
    if (FAILED(result)) {
        return result;
    }
    vertexShader = handle;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDevice::SetStreamSource(UINT streamNumber,
                                                           IDirect3DVertexBuffer8* streamData,
                                                           UINT stride) {
    const std::string name = streamData == nullptr
                                 ? "null"
                                 : ObjectName(static_cast<RecordingObject*>(
                                       static_cast<RecordingVertexBuffer*>(streamData)));
    const HRESULT result =
        CallLog::Get().Record("SetStreamSource", {ArgOf(streamNumber), name, ArgOf(stride)});
    if (FAILED(result)) {
        return result;
    }
    if (streamData != nullptr) {
        static_cast<RecordingVertexBuffer*>(streamData)->AddReference();
    }
    if (stream != nullptr) {
        static_cast<RecordingVertexBuffer*>(stream)->DropReference();
    }
    stream = streamData;
    streamStride = stride;
    return D3D_OK;
}

DWORD RecordingDevice::RenderState(D3DRENDERSTATETYPE state) const {
    const auto found = renderStates.find(state);
    return found == renderStates.end() ? 0xDEADBEEF : found->second;
}

DWORD RecordingDevice::TextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const {
    const auto found = stageStates.find({stage, static_cast<DWORD>(type)});
    return found == stageStates.end() ? 0xDEADBEEF : found->second;
}

D3DMATRIX RecordingDevice::Transform(D3DTRANSFORMSTATETYPE state) const {
    const auto found = transforms.find(state);
    if (found != transforms.end()) {
        return found->second;
    }
    D3DMATRIX identity{};
    identity.m[0][0] = identity.m[1][1] = identity.m[2][2] = identity.m[3][3] = 1.0f;
    return identity;
}

IDirect3DBaseTexture8* RecordingDevice::BoundTexture(DWORD stage) const {
    return stage < 8 ? textures[stage] : nullptr;
}

// Resources hold no reference on the device here, so that a texture bound to the device cannot
// keep it alive in a cycle; a resource outliving its device is a fault the sanitizers report.
void RecordingDevice::ResourceCreated(D3DPOOL pool) {
    if (pool == D3DPOOL_DEFAULT) {
        ++liveDefaultPool;
    }
}

void RecordingDevice::ResourceDestroyed(D3DPOOL pool) {
    if (pool == D3DPOOL_DEFAULT) {
        --liveDefaultPool;
    }
}

bool LastTransformSet(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    const auto found = lastTransforms.find(state);
    if (found == lastTransforms.end()) {
        return false;
    }
    *matrix = found->second;
    return true;
}

// ---------------------------------------------------------------- RecordingVertexBuffer

RecordingVertexBuffer::RecordingVertexBuffer(RecordingDevice* owner, UINT length, DWORD bufferUsage,
                                             DWORD format, D3DPOOL bufferPool)
    : RecordingObject("vertexbuffer"),
      device(owner),
      bytes(length, 0xCD),
      usage(bufferUsage),
      fvf(format),
      pool(bufferPool),
      locked(false) {
    device->ResourceCreated(pool);
}

RecordingVertexBuffer::~RecordingVertexBuffer() {
    device->ResourceDestroyed(pool);
}

HRESULT STDMETHODCALLTYPE RecordingVertexBuffer::QueryInterface(REFIID, void** object) {
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RecordingVertexBuffer::Release() {
    CallLog::Get().Record("IDirect3DVertexBuffer8::Release", {Name()});
    return DropReference();
}

HRESULT STDMETHODCALLTYPE RecordingVertexBuffer::GetDevice(IDirect3DDevice8** out) {
    device->AddReference();
    *out = device;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingVertexBuffer::Lock(UINT offsetToLock, UINT sizeToLock,
                                                      BYTE** data, DWORD flags) {
    const HRESULT result = CallLog::Get().Record(
        "Lock", {Name(), ArgOf(offsetToLock), ArgOf(sizeToLock), ArgHex(flags)});
    if (FAILED(result)) {
        return result;
    }
    if (data == nullptr || locked || offsetToLock > bytes.size()) {
        return D3DERR_INVALIDCALL;
    }
    locked = true;
    *data = bytes.data() + offsetToLock;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingVertexBuffer::Unlock() {
    const HRESULT result = CallLog::Get().Record("Unlock", {Name()});
    if (FAILED(result)) {
        return result;
    }
    if (!locked) {
        return D3DERR_INVALIDCALL;
    }
    locked = false;
    return D3D_OK;
}

// ---------------------------------------------------------------- RecordingTexture

RecordingTexture::RecordingTexture(RecordingDevice* owner, UINT width, UINT height, UINT levelCount,
                                   DWORD textureUsage, D3DFORMAT textureFormat, D3DPOOL texturePool)
    : RecordingObject("texture"),
      device(owner),
      usage(textureUsage),
      format(textureFormat),
      pool(texturePool) {
    UINT full = 1;
    for (UINT side = width > height ? width : height; side > 1; side /= 2) {
        ++full;
    }
    if (levelCount == 0 || levelCount > full) {
        levelCount = full;
    }
    UINT w = width;
    UINT h = height;
    for (UINT i = 0; i < levelCount; ++i) {
        const UINT pitch = w * BytesPerTexel(format);
        levels.push_back(
            Level{w, h, pitch, std::vector<BYTE>(static_cast<size_t>(pitch) * h, 0xCD), false});
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
    device->ResourceCreated(pool);
}

RecordingTexture::~RecordingTexture() {
    device->ResourceDestroyed(pool);
}

HRESULT STDMETHODCALLTYPE RecordingTexture::QueryInterface(REFIID, void** object) {
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RecordingTexture::Release() {
    CallLog::Get().Record("IDirect3DTexture8::Release", {Name()});
    return DropReference();
}

HRESULT STDMETHODCALLTYPE RecordingTexture::GetDevice(IDirect3DDevice8** out) {
    device->AddReference();
    *out = device;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level >= levels.size() || desc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    desc->Format = format;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = usage;
    desc->Pool = pool;
    desc->Size = static_cast<UINT>(levels[level].bytes.size());
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->Width = levels[level].width;
    desc->Height = levels[level].height;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingTexture::LockRect(UINT level, D3DLOCKED_RECT* lockedRect,
                                                     const RECT* rect, DWORD flags) {
    const HRESULT result =
        CallLog::Get().Record("LockRect", {Name(), ArgOf(level), ArgPointer(rect), ArgHex(flags)});
    if (FAILED(result)) {
        return result;
    }
    if (level >= levels.size() || lockedRect == nullptr || levels[level].locked ||
        rect != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    levels[level].locked = true;
    lockedRect->Pitch = static_cast<INT>(levels[level].pitch);
    lockedRect->pBits = levels[level].bytes.data();
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE RecordingTexture::UnlockRect(UINT level) {
    const HRESULT result = CallLog::Get().Record("UnlockRect", {Name(), ArgOf(level)});
    if (FAILED(result)) {
        return result;
    }
    if (level >= levels.size() || !levels[level].locked) {
        return D3DERR_INVALIDCALL;
    }
    levels[level].locked = false;
    return D3D_OK;
}

DWORD RecordingTexture::Texel(UINT level, UINT x, UINT y) const {
    const Level& data = levels[level];
    DWORD value = 0;
    std::memcpy(&value, data.bytes.data() + static_cast<size_t>(y) * data.pitch + x * 4u,
                sizeof(value));
    return value;
}
