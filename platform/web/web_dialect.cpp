// The browser build has one dialect: WebGL 2 is OpenGL ES 3.0. What a surface that names no
// dialect speaks (the desktop's, natively) is the ES dialect here; the desktop dialect, whose
// calls WebGL 2 lacks, is not compiled.
#include "platform/gl/gl_dialect.h"

const GlDialect& DesktopGlDialect() {
    return EsGlDialect();
}
