#include "platform/gl/gl_texture_format.h"

namespace {

constexpr GLint kRgba[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
constexpr GLint kRgbOne[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ONE};
constexpr GLint kLuminance[4] = {GL_RED, GL_RED, GL_RED, GL_ONE};
constexpr GLint kAlphaOnly[4] = {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED};
constexpr GLint kLuminanceAlpha[4] = {GL_RED, GL_RED, GL_RED, GL_GREEN};

GlTextureFormat Make(GLint internalFormat, GLenum format, GLenum type, UINT bytesPerPixel,
                     const GLint (&swizzle)[4]) {
    return {D3DFMT_UNKNOWN,
            internalFormat,
            format,
            type,
            bytesPerPixel,
            bytesPerPixel,
            {swizzle[0], swizzle[1], swizzle[2], swizzle[3]}};
}

bool DesktopFormatFor(D3DFORMAT format, GlTextureFormat* glFormat) {
    // The 32- and 16-bit ARGB layouts are little-endian words, which OpenGL's reversed packed
    // types read as they lie in memory.
    switch (format) {
        case D3DFMT_A8R8G8B8:
            *glFormat = Make(GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, 4, kRgba);
            return true;
        case D3DFMT_X8R8G8B8:
            *glFormat = Make(GL_RGBA8, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, 4, kRgbOne);
            return true;
        case D3DFMT_R5G6B5:
            *glFormat = Make(GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, kRgbOne);
            return true;
        case D3DFMT_A1R5G5B5:
            *glFormat = Make(GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, kRgba);
            return true;
        case D3DFMT_X1R5G5B5:
            *glFormat = Make(GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, 2, kRgbOne);
            return true;
        case D3DFMT_A4R4G4B4:
            *glFormat = Make(GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, 2, kRgba);
            return true;
        case D3DFMT_X4R4G4B4:
            *glFormat = Make(GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, 2, kRgbOne);
            return true;
        case D3DFMT_L8:
            *glFormat = Make(GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, kLuminance);
            return true;
        case D3DFMT_A8:
            *glFormat = Make(GL_R8, GL_RED, GL_UNSIGNED_BYTE, 1, kAlphaOnly);
            return true;
        case D3DFMT_A8L8:
            *glFormat = Make(GL_RG8, GL_RG, GL_UNSIGNED_BYTE, 2, kLuminanceAlpha);
            return true;
        default:
            return false;
    }
}

}  // namespace

bool GlTextureFormatFor(D3DFORMAT format, GlTextureFormat* glFormat) {
    if (!DesktopFormatFor(format, glFormat)) {
        return false;
    }
    glFormat->source = format;
    return true;
}
