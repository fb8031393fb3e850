// The OpenGL ES 3.0 dialect, kept to what WebGL 2 allows so that what passes here runs in a
// browser too. Texels are converted on the CPU into RGBA-ordered uploads (gl_es_texels.h) and
// read back through a framebuffer; D3DCOLOR attributes are swapped into order by the program.
// What the dialect lacks and the game never asks for is left out, each a documented no-op: the
// sampler's LOD bias and border colour (D3DTADDRESS_BORDER clamps to the edge), wireframe and
// point fill modes (triangles are filled), line smoothing, and the provoking vertex (flat
// shading takes the last vertex of a triangle, not Direct3D's first).
#include <vector>

#include "platform/gl/gl_dialect.h"
#include "platform/gl/gl_es_texels.h"

namespace {

// GL_CLAMP_TO_BORDER, which the OpenGL ES 3.0 headers do not name.
constexpr GLenum kClampToBorder = 0x812D;

class EsDialect final : public GlDialect {
public:
    const char* Name() const override { return "OpenGL ES 3.0"; }
    const GlslDialect& Glsl() const override { return kEsGlsl; }

    void InitContext() const override {}
    void ClearDepth(float depth) const override { glClearDepthf(depth); }

    bool TextureFormatFor(D3DFORMAT format, GlTextureFormat* glFormat) const override {
        return GlEsTextureFormatFor(format, glFormat);
    }
    void PrepareTexture(const GlTextureFormat&) const override {}
    void UploadLevel(const GlTextureFormat& glFormat, GLint level, GLsizei width, GLsizei height,
                     const BYTE* bytes, bool define) const override {
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        std::vector<BYTE> converted(count * glFormat.uploadBytesPerPixel);
        GlEsConvertTexels(glFormat.source, bytes, converted.data(), count);
        if (define) {
            glTexImage2D(GL_TEXTURE_2D, level, glFormat.internalFormat, width, height, 0,
                         glFormat.format, glFormat.type, converted.data());
        } else {
            glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, glFormat.format,
                            glFormat.type, converted.data());
        }
    }
    void ReadLevel(const GlTextureFormat& glFormat, GLuint texture, GLint level, GLsizei width,
                   GLsizei height, BYTE* bytes) const override {
        GLint previous = 0;
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
        GLuint framebuffer = 0;
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture,
                               level);
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        std::vector<BYTE> rgba(count * 4);
        // Every colour-renderable normalised format reads back as RGBA bytes.
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
        glDeleteFramebuffers(1, &framebuffer);
        GlEsTexelsFromRgba8(glFormat.source, rgba.data(), bytes, count);
    }

    void ColourAttribute(GLuint location, GLsizei stride, size_t offset) const override {
        // B, G, R, A as they lie; the program swaps them (kEsGlsl).
        glVertexAttribPointer(location, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              reinterpret_cast<const void*>(offset));
    }

    GLenum WrapMode(GLenum wanted) const override {
        return wanted == kClampToBorder ? GL_CLAMP_TO_EDGE : wanted;
    }
    void SetLodBias(GLuint, float) const override {}
    void SetBorderColour(GLuint, const float*) const override {}

    void SetPolygonMode(GLenum) const override {}
    void SetLineSmooth(bool) const override {}

    void ReadPixelsBgra(GLsizei width, GLsizei height, void* bytes) const override {
        // Reading BGRA is an extension: read RGBA and swap red and blue in place.
        GLint rowLength = 0;
        glGetIntegerv(GL_PACK_ROW_LENGTH, &rowLength);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bytes);
        const size_t pitch = static_cast<size_t>(rowLength > 0 ? rowLength : width) * 4;
        auto* rows = static_cast<BYTE*>(bytes);
        for (GLsizei y = 0; y < height; ++y) {
            BYTE* pixel = rows + static_cast<size_t>(y) * pitch;
            for (GLsizei x = 0; x < width; ++x, pixel += 4) {
                const BYTE red = pixel[0];
                pixel[0] = pixel[2];
                pixel[2] = red;
            }
        }
    }
};

}  // namespace

const GlDialect& EsGlDialect() {
    static const EsDialect dialect;
    return dialect;
}
