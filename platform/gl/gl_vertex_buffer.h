// IDirect3DVertexBuffer8 over an OpenGL buffer object. The bytes live in memory the caller locks
// and writes; the last Unlock uploads them in one call that also orphans the old storage, so a
// buffer refilled every frame (D3DLOCK_DISCARD) never waits for a draw still reading it.
#pragma once

#include <vector>

#include "platform/direct3d8.h"
#include "platform/gl/gl_api.h"
#include "platform/gl/gl_resource.h"

class GlVertexBuffer final : public IDirect3DVertexBuffer8, public GlResource {
public:
    static HRESULT Create(GlDevice* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                          IDirect3DVertexBuffer8** out);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return AddOutsideReference(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseOutsideReference(); }
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice8** device) override {
        return GetOwningDevice(device);
    }
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT STDMETHODCALLTYPE Lock(UINT offsetToLock, UINT sizeToLock, BYTE** data,
                                   DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;

    GLuint Name() const { return buffer; }
    UINT Length() const { return static_cast<UINT>(bytes.size()); }
    bool Locked() const { return lockCount != 0; }

private:
    GlVertexBuffer(GlDevice* device, UINT length, DWORD usage, GLuint buffer);
    ~GlVertexBuffer() override;

    std::vector<BYTE> bytes;
    DWORD usage;
    GLuint buffer;
    UINT lockCount;
    bool written;
};
