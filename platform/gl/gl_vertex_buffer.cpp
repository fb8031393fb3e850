#include "platform/gl/gl_vertex_buffer.h"

#include <new>

#include "platform/gl/gl_device.h"

namespace {

constexpr DWORD kVertexBufferUsages = D3DUSAGE_WRITEONLY | D3DUSAGE_SOFTWAREPROCESSING |
                                      D3DUSAGE_DONOTCLIP | D3DUSAGE_POINTS | D3DUSAGE_RTPATCHES |
                                      D3DUSAGE_NPATCHES | D3DUSAGE_DYNAMIC;

GLenum GlUsageFor(DWORD usage) {
    return (usage & D3DUSAGE_DYNAMIC) ? GL_STREAM_DRAW : GL_STATIC_DRAW;
}

}  // namespace

HRESULT GlVertexBuffer::Create(GlDevice* device, UINT length, DWORD usage, DWORD, D3DPOOL pool,
                               IDirect3DVertexBuffer8** out) {
    if (out == nullptr || length == 0 || (usage & ~kVertexBufferUsages) != 0) {
        return D3DERR_INVALIDCALL;
    }
    if (pool != D3DPOOL_DEFAULT && pool != D3DPOOL_MANAGED && pool != D3DPOOL_SYSTEMMEM) {
        return D3DERR_INVALIDCALL;
    }
    if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPOOL_MANAGED) {
        return D3DERR_INVALIDCALL;  // as Direct3D 8: dynamic buffers are never managed
    }
    GLuint name = 0;
    glGenBuffers(1, &name);
    if (name == 0) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    GlVertexBuffer* created = new (std::nothrow) GlVertexBuffer(device, length, usage, name);
    if (created == nullptr) {
        glDeleteBuffers(1, &name);
        return E_OUTOFMEMORY;
    }
    // Zeroed storage, so drawing a buffer never written reads zeros rather than garbage.
    glBindBuffer(GL_ARRAY_BUFFER, name);
    glBufferData(GL_ARRAY_BUFFER, length, created->bytes.data(), GlUsageFor(usage));
    if (glGetError() == GL_OUT_OF_MEMORY) {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *out = created;
    return D3D_OK;
}

GlVertexBuffer::GlVertexBuffer(GlDevice* device, UINT length, DWORD bufferUsage, GLuint name)
    : GlResource(device),
      bytes(length, 0),
      usage(bufferUsage),
      buffer(name),
      lockCount(0),
      written(false) {}

GlVertexBuffer::~GlVertexBuffer() {
    if (Device()->HasContext()) {
        Device()->ForgetBuffer(buffer);
        glDeleteBuffers(1, &buffer);
    }
}

HRESULT STDMETHODCALLTYPE GlVertexBuffer::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE GlVertexBuffer::Lock(UINT offsetToLock, UINT sizeToLock, BYTE** data,
                                               DWORD flags) {
    if (data == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const uint64_t length = bytes.size();
    // A size of 0 locks from the offset to the end.
    const uint64_t end = sizeToLock == 0 ? length : uint64_t{offsetToLock} + sizeToLock;
    if (offsetToLock >= length || end > length) {
        return D3DERR_INVALIDCALL;
    }
    ++lockCount;
    if ((flags & D3DLOCK_READONLY) == 0) {
        written = true;
    }
    *data = bytes.data() + offsetToLock;
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlVertexBuffer::Unlock() {
    if (lockCount == 0) {
        return D3DERR_INVALIDCALL;
    }
    if (--lockCount == 0 && written) {
        // Respecifying the whole store orphans the storage an earlier draw may still read.
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes.size()), bytes.data(),
                     GlUsageFor(usage));
        written = false;
    }
    return D3D_OK;
}
