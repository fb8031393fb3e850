// OpenGL 3.3 core entry points, called directly through the vendor-neutral libOpenGL, which
// dispatches to whichever context is current (GLX under SDL2, EGL in the headless build).
#pragma once

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>
