// OpenGL entry points, called directly through the vendor-neutral libOpenGL, which dispatches to
// whichever context is current (GLX under SDL2, EGL in the headless build), desktop 3.3 core or
// ES 3.0 alike; in the browser, Emscripten's OpenGL ES 3.0 over WebGL 2. Only
// gl_dialect_desktop.cpp calls what ES lacks.
#pragma once

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
// Desktop names the shared translation tables use; only the desktop dialect passes them to
// OpenGL, and the browser build, which has only the ES dialect, does not compile it.
#define GL_BGRA 0x80E1
#define GL_UNSIGNED_INT_8_8_8_8_REV 0x8367
#define GL_UNSIGNED_SHORT_1_5_5_5_REV 0x8366
#define GL_UNSIGNED_SHORT_4_4_4_4_REV 0x8365
#define GL_CLAMP_TO_BORDER 0x812D
#define GL_MIRROR_CLAMP_TO_EDGE 0x8743
#define GL_POINT 0x1B00
#define GL_LINE 0x1B01
#define GL_FILL 0x1B02
#else
#include <GL/glcorearb.h>
#endif
