// IDirect3DDevice8 over OpenGL: what the device can do (capabilities, formats, the largest
// texture), the textures and vertex buffers it creates, and its references on those it binds.
#include "platform/gl/gl_device.h"

#include <cstring>

#include "platform/gl/gl_api.h"
#include "platform/gl/gl_texture.h"
#include "platform/gl/gl_texture_format.h"
#include "platform/gl/gl_translate.h"
#include "platform/gl/gl_vertex_buffer.h"

namespace {

std::atomic<UINT> knownMaxTextureSize{GlDevice::kMinimumMaxTextureSize};

}  // namespace

UINT GlDevice::KnownMaxTextureSize() {
    return knownMaxTextureSize;
}

void GlDevice::QueryMaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    if (size > static_cast<GLint>(kMinimumMaxTextureSize)) {
        maxTextureSize = static_cast<UINT>(size);
    }
    knownMaxTextureSize = maxTextureSize;
}

void GlDevice::FillCaps(D3DCAPS8* caps, UINT maxTextureSize) {
    std::memset(caps, 0, sizeof(*caps));
    caps->DeviceType = D3DDEVTYPE_HAL;
    caps->AdapterOrdinal = D3DADAPTER_DEFAULT;
    caps->Caps2 = D3DCAPS2_CANRENDERWINDOWED | D3DCAPS2_DYNAMICTEXTURES;
    caps->PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    caps->DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    // MASKZ, CULLNONE, CULLCW, CULLCCW, COLORWRITEENABLE, BLENDOP.
    caps->PrimitiveMiscCaps = 0x2 | 0x10 | 0x20 | 0x40 | 0x80 | 0x800;
    // ZTEST, ANTIALIASEDGES, MIPMAPLODBIAS.
    caps->RasterCaps = 0x10 | 0x1000 | 0x2000;
    caps->ZCmpCaps = 0xFF;  // every D3DCMP function
    caps->AlphaCmpCaps = 0xFF;
    caps->SrcBlendCaps = 0x1FFF;  // ZERO to BOTHINVSRCALPHA
    caps->DestBlendCaps = 0x1FFF;
    caps->ShadeCaps = 0x8 | 0x4000;  // COLORGOURAUDRGB, ALPHAGOURAUDBLEND
    // Any size, any shape: OpenGL 3.3 has no power-of-two or square restriction.
    caps->TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA |
                        D3DPTEXTURECAPS_MIPMAP | D3DPTEXTURECAPS_PROJECTED;
    caps->TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                              D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR |
                              D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MIPFLINEAR;
    caps->TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR |
                               D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_BORDER |
                               D3DPTADDRESSCAPS_INDEPENDENTUV | 0x20 /* MIRRORONCE */;
    caps->LineCaps = 0x1 | 0x2 | 0x4 | 0x8 | 0x10;  // TEXTURE, ZTEST, BLEND, ALPHACMP, FOG
    caps->MaxTextureWidth = maxTextureSize;
    caps->MaxTextureHeight = maxTextureSize;
    caps->MaxTextureAspectRatio = maxTextureSize;
    caps->MaxTextureRepeat = 8192;
    caps->MaxAnisotropy = 1;
    caps->MaxVertexW = 1.0e10f;
    caps->FVFCaps = kMaxTexCoordSets;
    // Every operation but premodulate and bump mapping: bit n - 1 for D3DTOP n.
    for (DWORD op = D3DTOP_DISABLE; op <= D3DTOP_LERP; ++op) {
        if (SupportedOp(op, false) == op) {
            caps->TextureOpCaps |= 1u << (op - 1);
        }
    }
    caps->MaxTextureBlendStages = kTextureStageCount;
    caps->MaxSimultaneousTextures = kTextureStageCount;
    caps->MaxActiveLights = 0;
    caps->MaxPointSize = 1.0f;
    caps->MaxPrimitiveCount = 0xFFFFF;
    caps->MaxVertexIndex = 0xFFFFF;
    caps->MaxStreams = 1;
    caps->MaxStreamStride = 255;
}

HRESULT GlDevice::CheckFormat(DWORD usage, D3DRESOURCETYPE resourceType, D3DFORMAT format) {
    if (resourceType == D3DRTYPE_TEXTURE && (usage & ~D3DUSAGE_DYNAMIC) == 0) {
        GlTextureFormat glFormat{};
        return GlTextureFormatFor(format, &glFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    if (resourceType == D3DRTYPE_SURFACE && usage == D3DUSAGE_DEPTHSTENCIL) {
        // The automatic depth buffer: 24 bits serve both.
        return format == D3DFMT_D16 || format == D3DFMT_D24X8 ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    return D3DERR_NOTAVAILABLE;
}

HRESULT STDMETHODCALLTYPE GlDevice::GetDeviceCaps(D3DCAPS8* caps) {
    if (caps == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    FillCaps(caps, maxTextureSize);
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                                  D3DFORMAT format, D3DPOOL pool,
                                                  IDirect3DTexture8** texture) {
    return GlTexture::Create(this, width, height, levels, usage, format, pool, maxTextureSize,
                             texture);
}

HRESULT STDMETHODCALLTYPE GlDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf,
                                                       D3DPOOL pool,
                                                       IDirect3DVertexBuffer8** buffer) {
    return GlVertexBuffer::Create(this, length, usage, fvf, pool, buffer);
}

void GlDevice::ReleaseBindings() {
    for (auto& texture : textures) {
        if (texture != nullptr) {
            GlTexture* bound = texture;
            texture = nullptr;
            bound->Unbind();
        }
    }
    if (streamSource != nullptr) {
        GlVertexBuffer* bound = streamSource;
        streamSource = nullptr;
        bound->Unbind();
    }
}

void GlDevice::ForgetTexture(GLuint name) {
    for (auto& applied : appliedTextures) {
        if (applied == name) {
            applied = 0;
        }
    }
}

void GlDevice::ForgetBuffer(GLuint name) {
    if (appliedVertexBuffer == name) {
        appliedVertexBuffer = 0;
    }
}

HRESULT STDMETHODCALLTYPE GlDevice::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    if (stage >= kTextureStageCount) {
        return D3DERR_INVALIDCALL;
    }
    GlTexture* glTexture = nullptr;
    if (texture != nullptr) {
        glTexture = dynamic_cast<GlTexture*>(texture);
        if (glTexture == nullptr || glTexture->Device() != this) {
            return D3DERR_INVALIDCALL;
        }
    }
    if (glTexture == textures[stage]) {
        return D3D_OK;
    }
    if (glTexture != nullptr) {
        glTexture->Bind();
    }
    GlTexture* previous = textures[stage];
    textures[stage] = glTexture;
    ++bindingVersion;
    if (previous != nullptr) {
        previous->Unbind();
    }
    return D3D_OK;
}

HRESULT STDMETHODCALLTYPE GlDevice::SetStreamSource(UINT streamNumber,
                                                    IDirect3DVertexBuffer8* streamData,
                                                    UINT stride) {
    if (streamNumber != 0) {
        return D3DERR_INVALIDCALL;
    }
    GlVertexBuffer* buffer = nullptr;
    if (streamData != nullptr) {
        buffer = dynamic_cast<GlVertexBuffer*>(streamData);
        if (buffer == nullptr || buffer->Device() != this) {
            return D3DERR_INVALIDCALL;
        }
    }
    streamStride = stride;
    if (buffer == streamSource) {
        return D3D_OK;
    }
    if (buffer != nullptr) {
        buffer->Bind();
    }
    GlVertexBuffer* previous = streamSource;
    streamSource = buffer;
    if (previous != nullptr) {
        previous->Unbind();
    }
    return D3D_OK;
}
