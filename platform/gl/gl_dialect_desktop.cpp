// The desktop dialect, OpenGL 3.3 core: Direct3D's bytes go up as they lie (BGRA and reversed
// packed types, swizzles for what a format lacks) and are read back with glGetTexImage; the
// sampler, polygon-mode and line-smoothing states exist as Direct3D has them.
#include "platform/gl/gl_dialect.h"

namespace {

class DesktopDialect final : public GlDialect {
public:
    const char* Name() const override { return "OpenGL 3.3 core"; }
    const GlslDialect& Glsl() const override { return kDesktopGlsl; }

    void InitContext() const override {
        glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);  // flat shading takes the first vertex
    }
    void ClearDepth(float depth) const override { glClearDepth(depth); }

    bool TextureFormatFor(D3DFORMAT format, GlTextureFormat* glFormat) const override {
        return GlTextureFormatFor(format, glFormat);
    }
    void PrepareTexture(const GlTextureFormat& glFormat) const override {
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, glFormat.swizzle);
    }
    void UploadLevel(const GlTextureFormat& glFormat, GLint level, GLsizei width, GLsizei height,
                     const BYTE* bytes, bool define) const override {
        if (define) {
            glTexImage2D(GL_TEXTURE_2D, level, glFormat.internalFormat, width, height, 0,
                         glFormat.format, glFormat.type, bytes);
        } else {
            glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, glFormat.format,
                            glFormat.type, bytes);
        }
    }
    void ReadLevel(const GlTextureFormat& glFormat, GLuint, GLint level, GLsizei, GLsizei,
                   BYTE* bytes) const override {
        glGetTexImage(GL_TEXTURE_2D, level, glFormat.format, glFormat.type, bytes);
    }

    void ColourAttribute(GLuint location, GLsizei stride, size_t offset) const override {
        // GL_BGRA as the size reads the bytes as they lie.
        glVertexAttribPointer(location, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              reinterpret_cast<const void*>(offset));
    }

    GLenum WrapMode(GLenum wanted) const override { return wanted; }
    void SetLodBias(GLuint sampler, float bias) const override {
        glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, bias);
    }
    void SetBorderColour(GLuint sampler, const float* colour) const override {
        glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, colour);
    }

    void SetPolygonMode(GLenum mode) const override { glPolygonMode(GL_FRONT_AND_BACK, mode); }
    void SetLineSmooth(bool enabled) const override {
        if (enabled) {
            glEnable(GL_LINE_SMOOTH);
        } else {
            glDisable(GL_LINE_SMOOTH);
        }
    }

    void ReadPixelsBgra(GLsizei width, GLsizei height, void* bytes) const override {
        glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, bytes);
    }
};

}  // namespace

const GlDialect& DesktopGlDialect() {
    static const DesktopDialect dialect;
    return dialect;
}
