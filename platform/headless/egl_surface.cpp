// The OpenGL device's window system in the headless build: an OpenGL 3.3 core context on EGL with
// no surface at all (Mesa's surfaceless platform, llvmpipe when there is no GPU), or an OpenGL ES
// 3.0 one where that is asked for or no core context can be had. The device draws into its own
// back buffer, so nothing else is needed; presents are not paced.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "platform/gl/gl_context_request.h"
#include "platform/gl/gl_surface.h"

namespace {

const int kVirtualWidth = 1024;
const int kVirtualHeight = 768;

class EglSurfaceless : public GlSurface {
public:
    EglSurfaceless(EGLDisplay eglDisplay, EGLContext eglContext, const GlDialect& glDialect)
        : display(eglDisplay), context(eglContext), dialect(glDialect) {}
    ~EglSurfaceless() override {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display, context);
    }

    // The device window of the headless build is virtual, with the game's size.
    const GlDialect& Dialect() const override { return dialect; }
    void GetDrawableSize(int* width, int* height) override {
        *width = kVirtualWidth;
        *height = kVirtualHeight;
    }
    void SwapBuffers() override {}
    bool SetSwapInterval(int) override { return false; }
    double RefreshRateHz() override { return 0.0; }
    bool HasDisplay() const override { return false; }
    void SetFullScreen(bool) override {}

private:
    EGLDisplay display;
    EGLContext context;
    const GlDialect& dialect;
};

// EGL hands every caller in the process the same display for the same platform. Terminating it
// with each device would unload the whole driver, only for the next device (every image test
// makes one) to load it again; so it is initialised once and kept until the process ends.
EGLDisplay SharedSurfacelessDisplay() {
    static const EGLDisplay shared = [] {
        auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (getPlatformDisplay == nullptr) {
            return EGL_NO_DISPLAY;
        }
        EGLDisplay display =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0;
        EGLint minor = 0;
        if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
            return EGL_NO_DISPLAY;
        }
        return display;
    }();
    return shared;
}

}  // namespace

bool GlQueryDesktopMode(D3DDISPLAYMODE* mode) {
    mode->Width = kVirtualWidth;
    mode->Height = kVirtualHeight;
    mode->RefreshRate = 60;
    mode->Format = D3DFMT_X8R8G8B8;
    return true;
}

namespace {

// A context of the given API and version, current; EGL_NO_CONTEXT when there is none.
EGLContext CreateCurrentContext(EGLDisplay display, bool es) {
    if (!eglBindAPI(es ? EGL_OPENGL_ES_API : EGL_OPENGL_API)) {
        return EGL_NO_CONTEXT;
    }
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE,
                                       es ? EGL_OPENGL_ES3_BIT_KHR : EGL_OPENGL_BIT,
                                       EGL_SURFACE_TYPE, 0, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configCount) || configCount == 0) {
        config = EGL_NO_CONFIG_KHR;  // surfaceless contexts need no config
    }
    const EGLint coreAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                     3,
                                     EGL_CONTEXT_MINOR_VERSION,
                                     3,
                                     EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                     EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                     EGL_NONE};
    const EGLint esAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 0,
                                   EGL_NONE};
    EGLContext context =
        eglCreateContext(display, config, EGL_NO_CONTEXT, es ? esAttributes : coreAttributes);
    if (context == EGL_NO_CONTEXT) {
        return EGL_NO_CONTEXT;
    }
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        eglDestroyContext(display, context);
        return EGL_NO_CONTEXT;
    }
    return context;
}

}  // namespace

std::unique_ptr<GlSurface> GlCreateSurface(HWND, bool) {
    EGLDisplay display = SharedSurfacelessDisplay();
    if (display == EGL_NO_DISPLAY) {
        return nullptr;
    }
    const bool esOnly = GlEsContextRequested();
    EGLContext context = esOnly ? EGL_NO_CONTEXT : CreateCurrentContext(display, false);
    if (context != EGL_NO_CONTEXT) {
        return std::make_unique<EglSurfaceless>(display, context, DesktopGlDialect());
    }
    context = CreateCurrentContext(display, true);
    if (context == EGL_NO_CONTEXT) {
        return nullptr;
    }
    return std::make_unique<EglSurfaceless>(display, context, EsGlDialect());
}
