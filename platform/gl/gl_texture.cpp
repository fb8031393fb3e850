#include "platform/gl/gl_texture.h"

#include <cstring>
#include <new>

#include "platform/gl/gl_device.h"

UINT GlTexture::FullChainLength(UINT width, UINT height) {
    UINT side = width > height ? width : height;
    UINT count = 1;
    while (side > 1) {
        side >>= 1;
        ++count;
    }
    return count;
}

HRESULT GlTexture::Create(GlDevice* device, UINT width, UINT height, UINT levelCount, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, UINT maxSize, IDirect3DTexture8** out) {
    if (out == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    // As Windows' runtime does: a failed creation hands back no object.
    *out = nullptr;
    if (width == 0 || height == 0 || width > maxSize || height > maxSize) {
        return D3DERR_INVALIDCALL;
    }
    // Only plain textures: nothing renders into one, and dynamic ones lock like the rest.
    if ((usage & ~D3DUSAGE_DYNAMIC) != 0) {
        return D3DERR_INVALIDCALL;
    }
    if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED && pool != D3DPOOL_SYSTEMMEM) {
        return D3DERR_INVALIDCALL;
    }
    const UINT fullChain = FullChainLength(width, height);
    if (levelCount == 0) {
        levelCount = fullChain;
    }
    if (levelCount > fullChain) {
        return D3DERR_INVALIDCALL;
    }
    GlTextureFormat glFormat{};
    if (!device->Dialect().TextureFormatFor(format, &glFormat)) {
        return D3DERR_INVALIDCALL;
    }

    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    GlTexture* created = new (std::nothrow) GlTexture(device, name, format, glFormat, usage, pool);
    if (created == nullptr) {
        glDeleteTextures(1, &name);
        return E_OUTOFMEMORY;
    }
    created->BindForUpload();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levelCount) - 1);
    device->Dialect().PrepareTexture(glFormat);
    // Zeroed levels, so a level never written samples as black rather than garbage.
    const size_t largest = size_t{width} * height * glFormat.bytesPerPixel;
    std::unique_ptr<BYTE[]> zeros(new (std::nothrow) BYTE[largest]());
    if (!zeros) {
        created->Release();
        return E_OUTOFMEMORY;
    }
    created->levels.resize(levelCount);
    for (UINT level = 0; level < levelCount; ++level) {
        Level& l = created->levels[level];
        l.width = width >> level != 0 ? width >> level : 1;
        l.height = height >> level != 0 ? height >> level : 1;
        l.readOnlyLock = false;
        l.written = false;
        device->Dialect().UploadLevel(glFormat, static_cast<GLint>(level),
                                      static_cast<GLsizei>(l.width), static_cast<GLsizei>(l.height),
                                      zeros.get(), true);
    }
    if (glGetError() == GL_OUT_OF_MEMORY) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *out = created;
    return D3D_OK;
}

GlTexture::GlTexture(GlDevice* device, GLuint name, D3DFORMAT textureFormat,
                     const GlTextureFormat& uploadFormat, DWORD textureUsage, D3DPOOL texturePool)
    : GlResource(device),
      texture(name),
      format(textureFormat),
      glFormat(uploadFormat),
      usage(textureUsage),
      pool(texturePool) {}

GlTexture::~GlTexture() {
    if (Device()->HasContext()) {
        Device()->ForgetTexture(texture);
        glDeleteTextures(1, &texture);
    }
}

void GlTexture::BindForUpload() const {
    // A unit no stage uses, so the device's record of what each stage has bound stays true.
    glActiveTexture(GL_TEXTURE0 + GlDevice::kUploadTextureUnit);
    glBindTexture(GL_TEXTURE_2D, texture);
}

HRESULT STDMETHODCALLTYPE GlTexture::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE GlTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (desc == nullptr || level >= levels.size()) {
        return D3DERR_INVALIDCALL;
    }
    const Level& l = levels[level];
    desc->Format = format;
    desc->Type = D3DRTYPE_SURFACE;
    desc->Usage = usage;
    desc->Pool = pool;
    desc->Size = l.width * l.height * glFormat.bytesPerPixel;
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->Width = l.width;
    desc->Height = l.height;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlTexture::LockRect(UINT level, D3DLOCKED_RECT* lockedRect,
                                              const RECT* rect, DWORD flags) {
    if (lockedRect == nullptr || level >= levels.size()) {
        return D3DERR_INVALIDCALL;
    }
    Level& l = levels[level];
    if (l.lockedBytes) {
        return D3DERR_INVALIDCALL;  // already locked
    }
    RECT area = {0, 0, static_cast<LONG>(l.width), static_cast<LONG>(l.height)};
    if (rect != nullptr) {
        if (rect->left < 0 || rect->top < 0 || rect->right > area.right ||
            rect->bottom > area.bottom || rect->left >= rect->right || rect->top >= rect->bottom) {
            return D3DERR_INVALIDCALL;
        }
        area = *rect;
    }
    const size_t pitch = size_t{l.width} * glFormat.bytesPerPixel;
    l.lockedBytes.reset(new (std::nothrow) BYTE[pitch * l.height]());
    if (!l.lockedBytes) {
        return E_OUTOFMEMORY;
    }
    if (l.written) {
        // The whole level is read back, so a part locked and rewritten keeps the rest intact.
        BindForUpload();
        Device()->Dialect().ReadLevel(glFormat, texture, static_cast<GLint>(level),
                                      static_cast<GLsizei>(l.width), static_cast<GLsizei>(l.height),
                                      l.lockedBytes.get());
    }
    l.readOnlyLock = (flags & D3DLOCK_READONLY) != 0;
    lockedRect->Pitch = static_cast<INT>(pitch);
    lockedRect->pBits = l.lockedBytes.get() + static_cast<size_t>(area.top) * pitch +
                        static_cast<size_t>(area.left) * glFormat.bytesPerPixel;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlTexture::UnlockRect(UINT level) {
    if (level >= levels.size()) {
        return D3DERR_INVALIDCALL;
    }
    // Windows' runtime lets a texture level that is not locked be unlocked again.
    if (!levels[level].lockedBytes) {
        return D3D_OK;
    }
    Level& l = levels[level];
    if (!l.readOnlyLock) {
        BindForUpload();
        Device()->Dialect().UploadLevel(glFormat, static_cast<GLint>(level),
                                        static_cast<GLsizei>(l.width),
                                        static_cast<GLsizei>(l.height), l.lockedBytes.get(), false);
        l.written = true;
    }
    l.lockedBytes.reset();
    return D3D_OK;
}
