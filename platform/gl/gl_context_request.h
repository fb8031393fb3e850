// Which dialect the window system's next context is made in. By default the desktop's OpenGL 3.3
// core, falling back to OpenGL ES 3.0 where no core context can be had; ES 3.0 alone when the
// program asks for it (the capture tool's --gles) or SKIMLARK_GL=es is set, so that the ES path
// can be checked on a machine that has both.
#pragma once

void GlRequestEsContext(bool es);
bool GlEsContextRequested();
