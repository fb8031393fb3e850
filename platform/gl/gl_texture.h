// IDirect3DTexture8 over an OpenGL 2D texture with its whole mip chain allocated at creation.
// LockRect hands out memory in the Direct3D layout (rows top first, the format's own bytes);
// UnlockRect uploads that level and frees the memory, so a loaded texture keeps no copy beside
// the one OpenGL holds. A later lock of the same level reads it back first.
#pragma once

#include <memory>
#include <vector>

#include "platform/direct3d8.h"
#include "platform/gl/gl_api.h"
#include "platform/gl/gl_resource.h"
#include "platform/gl/gl_texture_format.h"

class GlTexture final : public IDirect3DTexture8, public GlResource {
public:
    static HRESULT Create(GlDevice* device, UINT width, UINT height, UINT levels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, UINT maxSize, IDirect3DTexture8** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddOutsideReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseOutsideReference(); }
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice8** device) override {
        return GetOwningDevice(device);
    }
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD STDMETHODCALLTYPE GetLevelCount() override { return static_cast<DWORD>(levels.size()); }
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect,
                                       DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;

    GLuint Name() const { return texture; }

    // Levels of a full chain for a width x height image: floor(log2(larger side)) + 1.
    static UINT FullChainLength(UINT width, UINT height);

private:
    struct Level {
        UINT width;
        UINT height;
        std::unique_ptr<BYTE[]> lockedBytes;  // only while locked
        bool readOnlyLock;
        bool written;  // uploaded at least once; until then the level is zeros
    };

    GlTexture(GlDevice* device, GLuint texture, D3DFORMAT format, const GlTextureFormat& glFormat,
              DWORD usage, D3DPOOL pool);
    ~GlTexture() override;
    void BindForUpload() const;

    GLuint texture;
    D3DFORMAT format;
    GlTextureFormat glFormat;
    DWORD usage;
    D3DPOOL pool;
    std::vector<Level> levels;
};
