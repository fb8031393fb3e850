// What differs between the two OpenGL dialects the Direct3D 8 layer speaks: desktop OpenGL 3.3
// core, and OpenGL ES 3.0 kept to what WebGL 2 allows (no BGRA uploads or texture swizzles, no
// glGetTexImage, no polygon modes, sampler LOD bias, border colours or provoking vertex choice).
// Every OpenGL call whose form depends on the dialect goes through here; the rest of the layer
// calls what both dialects share and reads as if there were one. The context's window system
// (its GlSurface) says which dialect the context speaks.
#pragma once

#include <cstddef>

#include "platform/direct3d8.h"
#include "platform/gl/fixed_function_shader.h"
#include "platform/gl/gl_api.h"
#include "platform/gl/gl_texture_format.h"

class GlDialect {
public:
    virtual ~GlDialect() = default;

    virtual const GlslDialect& Glsl() const = 0;

    // The context's first state that only one dialect has.
    virtual void InitContext() const = 0;
    virtual void ClearDepth(float depth) const = 0;

    // How a Direct3D format is kept in OpenGL; false for a format the layer does not create.
    virtual bool TextureFormatFor(D3DFORMAT format, GlTextureFormat* glFormat) const = 0;
    // Gives the bound texture the parameters its format needs (the desktop's swizzles).
    virtual void PrepareTexture(const GlTextureFormat& glFormat) const = 0;
    // Defines (define) or overwrites a whole level of the bound texture from Direct3D's bytes,
    // rows top first and packed.
    virtual void UploadLevel(const GlTextureFormat& glFormat, GLint level, GLsizei width,
                             GLsizei height, const BYTE* bytes, bool define) const = 0;
    // Reads a level of the texture back as Direct3D's bytes. The texture is bound for upload.
    virtual void ReadLevel(const GlTextureFormat& glFormat, GLuint texture, GLint level,
                           GLsizei width, GLsizei height, BYTE* bytes) const = 0;

    // A D3DCOLOR vertex attribute: four bytes at the offset, in memory order B, G, R, A.
    virtual void ColourAttribute(GLuint location, GLsizei stride, size_t offset) const = 0;

    // Sampler parameters not every dialect has.
    virtual GLenum WrapMode(GLenum wanted) const = 0;
    virtual void SetLodBias(GLuint sampler, float bias) const = 0;
    virtual void SetBorderColour(GLuint sampler, const float* colour) const = 0;

    // Raster state not every dialect has.
    virtual void SetPolygonMode(GLenum mode) const = 0;
    virtual void SetLineSmooth(bool enabled) const = 0;

    // Reads the bound read framebuffer into B, G, R, A bytes, as an X image holds them; the
    // pack row length and alignment are the caller's.
    virtual void ReadPixelsBgra(GLsizei width, GLsizei height, void* bytes) const = 0;
};

// The browser build links only the ES dialect: WebGL 2 lacks the desktop one's calls.
const GlDialect& DesktopGlDialect();
const GlDialect& EsGlDialect();
