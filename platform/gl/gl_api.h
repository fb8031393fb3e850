// OpenGL entry points, called directly through the vendor-neutral libOpenGL, which dispatches to
// whichever context is current (GLX under SDL2, EGL in the headless build), desktop 3.3 core or
// ES 3.0 alike. Only gl_dialect_desktop.cpp calls what ES lacks.
#pragma once

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>
