#include "platform/gl/gl_es_texels.h"

#include <cstdint>

namespace {

constexpr GLint kRgba[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};

GlTextureFormat Make(D3DFORMAT source, GLint internalFormat, GLenum format, GLenum type,
                     UINT bytesPerPixel, UINT uploadBytesPerPixel) {
    return {source,
            internalFormat,
            format,
            type,
            bytesPerPixel,
            uploadBytesPerPixel,
            {kRgba[0], kRgba[1], kRgba[2], kRgba[3]}};
}

uint16_t Word(const BYTE* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

void PutWord(BYTE* at, unsigned word) {
    at[0] = static_cast<BYTE>(word & 0xFFu);
    at[1] = static_cast<BYTE>((word >> 8) & 0xFFu);
}

void PutRgba(BYTE* at, unsigned r, unsigned g, unsigned b, unsigned a) {
    at[0] = static_cast<BYTE>(r);
    at[1] = static_cast<BYTE>(g);
    at[2] = static_cast<BYTE>(b);
    at[3] = static_cast<BYTE>(a);
}

// An 8-bit channel as the nearest value of `bits` bits.
unsigned Narrow(BYTE value, unsigned bits) {
    const unsigned top = (1u << bits) - 1u;
    return (value * top + 127u) / 255u;
}

void ConvertOne(D3DFORMAT source, const BYTE* from, BYTE* to) {
    const unsigned word = Word(from);
    switch (source) {
        case D3DFMT_A8R8G8B8:
            PutRgba(to, from[2], from[1], from[0], from[3]);
            break;
        case D3DFMT_X8R8G8B8:
            PutRgba(to, from[2], from[1], from[0], 0xFF);
            break;
        case D3DFMT_A1R5G5B5:  // ARRRRRGGGGGBBBBB to RRRRRGGGGGBBBBBA
            PutWord(to, ((word << 1) & 0xFFFEu) | (word >> 15));
            break;
        case D3DFMT_X1R5G5B5:
            PutWord(to, ((word << 1) & 0xFFFEu) | 1u);
            break;
        case D3DFMT_A4R4G4B4:  // AAAARRRRGGGGBBBB to RRRRGGGGBBBBAAAA
            PutWord(to, ((word << 4) & 0xFFF0u) | (word >> 12));
            break;
        case D3DFMT_X4R4G4B4:
            PutWord(to, ((word << 4) & 0xFFF0u) | 0xFu);
            break;
        case D3DFMT_L8:
            PutRgba(to, from[0], from[0], from[0], 0xFF);
            break;
        case D3DFMT_A8:
            PutRgba(to, 0, 0, 0, from[0]);
            break;
        case D3DFMT_A8L8:
            PutRgba(to, from[0], from[0], from[0], from[1]);
            break;
        default:  // R5G6B5: OpenGL's 5_6_5 word is Direct3D's
            PutWord(to, word);
            break;
    }
}

void FromRgba8One(D3DFORMAT source, const BYTE* rgba, BYTE* to) {
    const BYTE r = rgba[0];
    const BYTE g = rgba[1];
    const BYTE b = rgba[2];
    const BYTE a = rgba[3];
    switch (source) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
            PutRgba(to, b, g, r, source == D3DFMT_X8R8G8B8 ? 0xFF : a);
            break;
        case D3DFMT_R5G6B5:
            PutWord(to, (Narrow(r, 5) << 11) | (Narrow(g, 6) << 5) | Narrow(b, 5));
            break;
        case D3DFMT_A1R5G5B5:
        case D3DFMT_X1R5G5B5: {
            const unsigned alpha = source == D3DFMT_X1R5G5B5 ? 1u : Narrow(a, 1);
            PutWord(to, (alpha << 15) | (Narrow(r, 5) << 10) | (Narrow(g, 5) << 5) | Narrow(b, 5));
            break;
        }
        case D3DFMT_A4R4G4B4:
        case D3DFMT_X4R4G4B4: {
            const unsigned alpha = source == D3DFMT_X4R4G4B4 ? 0xFu : Narrow(a, 4);
            PutWord(to, (alpha << 12) | (Narrow(r, 4) << 8) | (Narrow(g, 4) << 4) | Narrow(b, 4));
            break;
        }
        case D3DFMT_L8:
            to[0] = r;
            break;
        case D3DFMT_A8:
            to[0] = a;
            break;
        case D3DFMT_A8L8:
            to[0] = r;
            to[1] = a;
            break;
        default:
            break;
    }
}

}  // namespace

bool GlEsTextureFormatFor(D3DFORMAT format, GlTextureFormat* glFormat) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
            *glFormat = Make(format, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, 4, 4);
            return true;
        case D3DFMT_R5G6B5:
            *glFormat = Make(format, GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, 2, 2);
            return true;
        case D3DFMT_A1R5G5B5:
        case D3DFMT_X1R5G5B5:
            *glFormat = Make(format, GL_RGB5_A1, GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1, 2, 2);
            return true;
        case D3DFMT_A4R4G4B4:
        case D3DFMT_X4R4G4B4:
            *glFormat = Make(format, GL_RGBA4, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, 2, 2);
            return true;
        case D3DFMT_L8:
        case D3DFMT_A8:
            *glFormat = Make(format, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, 1, 4);
            return true;
        case D3DFMT_A8L8:
            *glFormat = Make(format, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, 2, 4);
            return true;
        default:
            return false;
    }
}

void GlEsConvertTexels(D3DFORMAT source, const BYTE* from, BYTE* to, size_t count) {
    GlTextureFormat glFormat{};
    if (!GlEsTextureFormatFor(source, &glFormat)) {
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        ConvertOne(source, from + i * glFormat.bytesPerPixel,
                   to + i * glFormat.uploadBytesPerPixel);
    }
}

void GlEsTexelsFromRgba8(D3DFORMAT source, const BYTE* rgba, BYTE* to, size_t count) {
    GlTextureFormat glFormat{};
    if (!GlEsTextureFormatFor(source, &glFormat)) {
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        FromRgba8One(source, rgba + i * 4, to + i * glFormat.bytesPerPixel);
    }
}
