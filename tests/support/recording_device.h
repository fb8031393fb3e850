// The recording Direct3D 8 device for unit tests: implements the same interfaces as the OpenGL
// layer, logs every call with its arguments in the shared CallLog, succeeds unless told to fail,
// and keeps what was set (states, transforms, bindings, buffer and texture bytes) for inspection.
// Like real Direct3D 8 it refuses Reset while a D3DPOOL_DEFAULT resource is alive.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "platform/direct3d8.h"
#include "tests/support/call_log.h"

// What Direct3DCreate8 hands out; tests adjust it before the game creates its device.
struct RecordingSetup {
    D3DDISPLAYMODE displayMode;
    D3DCAPS8 caps;
    std::set<D3DFORMAT> textureFormats;
    bool createReturnsNull;

    static RecordingSetup& Get();
    // Back to the defaults: 1024 x 768 at 60 Hz in X8R8G8B8, A8R8G8B8 and X8R8G8B8 textures up to
    // 4096 texels a side, any shape, with mip maps.
    void Restore();
};

// IUnknown's interface id, which the recording Direct3D object and device answer with
// themselves; every other id gets E_NOINTERFACE.
inline const IID kUnknownInterfaceId = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Number of recording objects (Direct3D object, devices, buffers, textures) not yet destroyed.
int RecordingLiveObjects();

class RecordingDevice;

class RecordingObject {
public:
    explicit RecordingObject(const char* kind);
    virtual ~RecordingObject();
    ULONG AddReference() { return ++references; }
    ULONG DropReference();
    ULONG References() const { return references; }
    std::string Name() const { return ObjectName(this); }

private:
    ULONG references;
};

class RecordingVertexBuffer : public IDirect3DVertexBuffer8, public RecordingObject {
public:
    RecordingVertexBuffer(RecordingDevice* device, UINT length, DWORD usage, DWORD fvf,
                          D3DPOOL pool);
    ~RecordingVertexBuffer() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice8** device) override;
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT STDMETHODCALLTYPE Lock(UINT offsetToLock, UINT sizeToLock, BYTE** data,
                                   DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;

    const std::vector<BYTE>& Bytes() const { return bytes; }
    DWORD Usage() const { return usage; }
    DWORD Fvf() const { return fvf; }
    D3DPOOL Pool() const { return pool; }
    bool Locked() const { return locked; }

private:
    RecordingDevice* device;
    std::vector<BYTE> bytes;
    DWORD usage;
    DWORD fvf;
    D3DPOOL pool;
    bool locked;
};

class RecordingTexture : public IDirect3DTexture8, public RecordingObject {
public:
    RecordingTexture(RecordingDevice* device, UINT width, UINT height, UINT levels, DWORD usage,
                     D3DFORMAT format, D3DPOOL pool);
    ~RecordingTexture() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice8** device) override;
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD STDMETHODCALLTYPE GetLevelCount() override { return static_cast<DWORD>(levels.size()); }
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect,
                                       DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;

    struct Level {
        UINT width;
        UINT height;
        UINT pitch;
        std::vector<BYTE> bytes;
        bool locked;
    };
    const Level& LevelData(UINT level) const { return levels[level]; }
    D3DFORMAT Format() const { return format; }
    // The texel at (x, y) of a 32-bit level as A8R8G8B8.
    DWORD Texel(UINT level, UINT x, UINT y) const;

private:
    RecordingDevice* device;
    std::vector<Level> levels;
    DWORD usage;
    D3DFORMAT format;
    D3DPOOL pool;
};

class RecordingDirect3D : public IDirect3D8, public RecordingObject {
public:
    RecordingDirect3D();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType,
                                                D3DFORMAT adapterFormat, DWORD usage,
                                                D3DRESOURCETYPE resourceType,
                                                D3DFORMAT checkFormat) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                            D3DCAPS8* caps) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                           DWORD behaviorFlags,
                                           D3DPRESENT_PARAMETERS* presentParameters,
                                           IDirect3DDevice8** device) override;
};

class RecordingDevice : public IDirect3DDevice8, public RecordingObject {
public:
    RecordingDevice(RecordingDirect3D* parent, HWND focusWindow, DWORD behaviorFlags,
                    const D3DPRESENT_PARAMETERS& presentParameters);
    ~RecordingDevice() override;

    // The device most recently created through Direct3DCreate8; null when none is alive.
    static RecordingDevice* Latest();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D8** direct3d) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS8* caps) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE
    GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* presentParameters) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* sourceRect, const RECT* destRect,
                                      HWND destWindowOverride, const RGNDATA* dirtyRegion) override;
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                            D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DTexture8** texture) override;
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                                 IDirect3DVertexBuffer8** buffer) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags,
                                    D3DCOLOR color, float z, DWORD stencil) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state,
                                           const D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL8* material) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                   DWORD value) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE primitiveType, UINT startVertex,
                                            UINT primitiveCount) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(DWORD handle) override;
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT streamNumber, IDirect3DVertexBuffer8* streamData,
                                              UINT stride) override;

    // What the device holds now.
    const D3DPRESENT_PARAMETERS& PresentParameters() const { return presentParameters; }
    DWORD RenderState(D3DRENDERSTATETYPE state) const;
    DWORD TextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const;
    D3DMATRIX Transform(D3DTRANSFORMSTATETYPE state) const;
    const D3DMATERIAL8& Material() const { return material; }
    IDirect3DBaseTexture8* BoundTexture(DWORD stage) const;
    IDirect3DVertexBuffer8* BoundStream() const { return stream; }
    UINT BoundStride() const { return streamStride; }
    DWORD VertexShader() const { return vertexShader; }
    // Resources of D3DPOOL_DEFAULT not yet destroyed.
    int LiveDefaultPoolResources() const { return liveDefaultPool; }

    // Called by resources as they come and go.
    void ResourceCreated(D3DPOOL pool);
    void ResourceDestroyed(D3DPOOL pool);

private:
    RecordingDirect3D* parent;
    D3DDEVICE_CREATION_PARAMETERS creationParameters;
    D3DPRESENT_PARAMETERS presentParameters;
    std::map<DWORD, DWORD> renderStates;
    std::map<std::pair<DWORD, DWORD>, DWORD> stageStates;
    std::map<DWORD, D3DMATRIX> transforms;
    D3DMATERIAL8 material;
    IDirect3DBaseTexture8* textures[8];
    IDirect3DVertexBuffer8* stream;
    UINT streamStride;
    DWORD vertexShader;
    int liveDefaultPool;
};

// The matrix of the latest SetTransform call recorded for `state`, for tests that check values.
bool LastTransformSet(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix);
