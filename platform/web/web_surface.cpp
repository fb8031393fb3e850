// The OpenGL device's window system in the browser: a WebGL 2 context on the page's canvas. The
// device draws into its own back buffer and copies it, letterboxed, into the canvas's default
// framebuffer, which the browser shows when the frame callback returns. The frame loop runs the
// game at the mode's 60 Hz on the callbacks, so to the device the canvas is a 60 Hz display whose
// every present waits for its retrace: it never holds a present back itself (a wait would block the
// page).
#include <emscripten/html5.h>

#include "platform/web/web_surface.h"

#include "platform/gl/gl_api.h"
#include "platform/gl/gl_surface.h"

namespace {

const char kCanvas[] = "#canvas";
bool finishPresents = false;

class WebGlSurface : public GlSurface {
public:
    explicit WebGlSurface(EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webglContext) : context(webglContext) {}
    ~WebGlSurface() override { emscripten_webgl_destroy_context(context); }

    const GlDialect& Dialect() const override { return EsGlDialect(); }
    void GetDrawableSize(int* width, int* height) override {
        if (emscripten_get_canvas_element_size(kCanvas, width, height) !=
            EMSCRIPTEN_RESULT_SUCCESS) {
            *width = 0;
            *height = 0;
        }
    }
    void SwapBuffers() override {
        if (finishPresents) {
            unsigned char pixel[4];
            glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        }
    }
    bool SetSwapInterval(int) override { return true; }
    bool PresentWaitsForRetrace() const override { return true; }
    double RefreshRateHz() override { return 60.0; }
    bool HasDisplay() const override { return true; }
    // The page owns full screen (the Fullscreen API needs a gesture of the player's).
    void SetFullScreen(bool) override {}

private:
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context;
};

}  // namespace

void WebSurfaceFinishPresents(bool finish) {
    finishPresents = finish;
}

bool GlQueryDesktopMode(D3DDISPLAYMODE* mode) {
    mode->Width = 1024;
    mode->Height = 768;
    mode->RefreshRate = 60;
    mode->Format = D3DFMT_X8R8G8B8;
    return true;
}

std::unique_ptr<GlSurface> GlCreateSurface(HWND, bool) {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    // The back buffer has its own depth; the canvas only receives the finished picture, opaque.
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.premultipliedAlpha = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(kCanvas, &attributes);
    if (context <= 0) {
        return nullptr;
    }
    if (emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        emscripten_webgl_destroy_context(context);
        return nullptr;
    }
    return std::make_unique<WebGlSurface>(context);
}
