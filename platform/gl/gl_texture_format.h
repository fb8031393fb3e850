// The texture formats the OpenGL layer creates, as OpenGL upload formats: the bytes a locked
// Direct3D level holds are uploaded unchanged, and swizzles supply what the format lacks (alpha 1
// for the X formats, luminance spread over red, green and blue). Pure, so CheckDeviceFormat and
// its tests need no context.
#pragma once

#include "platform/direct3d8.h"
#include "platform/gl/gl_api.h"

struct GlTextureFormat {
    D3DFORMAT source;  // the Direct3D format whose bytes a locked level holds
    GLint internalFormat;
    GLenum format;
    GLenum type;
    UINT bytesPerPixel;        // of the Direct3D format
    UINT uploadBytesPerPixel;  // of what OpenGL is handed, where a dialect converts
    GLint swizzle[4];          // sources of red, green, blue, alpha
};

// False for a format the layer does not create (CheckDeviceFormat refuses it).
bool GlTextureFormatFor(D3DFORMAT format, GlTextureFormat* glFormat);
