// The texture formats of the OpenGL ES dialect, where uploads must be in red, green, blue, alpha
// order and nothing swizzles (as WebGL 2 has it): the 32-bit formats and those with luminance or
// alpha alone go up as RGBA8, 4444 and 1555 as RGBA4 and RGB5_A1 with their bits moved, 565 as it
// is. Levels are read back through a framebuffer as RGBA8 and turned into Direct3D's bytes again.
// Pure, so the conversions are tested without a context.
#pragma once

#include <cstddef>

#include "platform/gl/gl_texture_format.h"

// False for a format the layer does not create.
bool GlEsTextureFormatFor(D3DFORMAT format, GlTextureFormat* glFormat);
// `count` texels in `source`'s layout as OpenGL ES is handed them (uploadBytesPerPixel each).
void GlEsConvertTexels(D3DFORMAT source, const BYTE* from, BYTE* to, size_t count);
// `count` texels read back as RGBA8, in `source`'s layout again; X bits and bytes read as set.
void GlEsTexelsFromRgba8(D3DFORMAT source, const BYTE* rgba, BYTE* to, size_t count);
