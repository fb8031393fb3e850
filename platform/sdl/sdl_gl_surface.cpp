// The OpenGL device's window system on SDL2: a 3.3 core context on the game window (an ES 3.0 one
// where no core context can be had, or where one is asked for), full screen
// as a borderless desktop-sized window (the display mode is never changed), and the picture
// shown through the X server where that is cheaper (X11PicturePresenter).
#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdlib>
#include <cstring>

#include "platform/gl/gl_api.h"
#include "platform/gl/gl_context_request.h"
#include "platform/gl/gl_surface.h"
#include "platform/gl/gl_window_blit.h"
#include "platform/pace/present_pace.h"
#include "platform/sdl/display_rate.h"
#include "platform/sdl/sdl_full_screen.h"
#include "platform/x11/x11_picture_presenter.h"

namespace {

class SdlGlSurface : public GlSurface {
public:
    SdlGlSurface(SDL_Window* sdlWindow, SDL_GLContext glContext, const GlDialect& glDialect)
        : window(sdlWindow), context(glContext), dialect(glDialect), fullScreen(sdlWindow) {}
    ~SdlGlSurface() override { SDL_GL_DeleteContext(context); }

    // What SDL last heard from the window system, kept up to date by the game's event pump:
    // the picture follows the window when it is resized while the game runs.
    const GlDialect& Dialect() const override { return dialect; }
    void GetDrawableSize(int* width, int* height) override {
        SDL_GL_GetDrawableSize(window, width, height);
    }
    void SwapBuffers() override { SDL_GL_SwapWindow(window); }
    bool SetSwapInterval(int interval) override {
        if (x11Presenter != nullptr) {
            // Pictures the server shows follow its retraces only where they are the display's.
            x11Presenter->SetRetraceInterval(PresentWaitsForRetrace() ? interval : 0);
            return PresentWaitsForRetrace() || interval == 0;
        }
        return SDL_GL_SetSwapInterval(interval) == 0;
    }
    // Where the X server paces the pictures, its retraces count where they agree with the
    // mode's rate; a server whose count is a timer of its own (Xvfb, the dummy driver at other
    // than 60 Hz, a screen switched off) is not followed, and the mode's rate stands.
    double RefreshRateHz() override {
        const double mode = DisplayRefreshHertz(window);
        const double retraces = x11Presenter != nullptr ? x11Presenter->RetraceHertz() : 0.0;
        followRetraces = x11Presenter != nullptr && x11Presenter->WaitsForRetrace() &&
                         MeasuredRateIsTheDisplays(retraces, mode);
        return followRetraces ? retraces : mode;
    }
    void ForgetRefreshRate() override { ForgetDisplayRate(); }
    bool PresentWaitsForRetrace() const override {
        return followRetraces && x11Presenter->WaitsForRetrace();
    }
    bool HasDisplay() const override { return true; }
    void SetFullScreen(bool wanted) override { fullScreen.Set(wanted); }
    bool PreparePicture(int width, int height, int drawableWidth, int drawableHeight) override;
    void ShowPicture() override { x11Presenter->Show(place); }
    void UseX11Presenter(std::unique_ptr<X11PicturePresenter> presenter) {
        x11Presenter = std::move(presenter);
    }

private:
    SDL_Window* window;
    SDL_GLContext context;
    const GlDialect& dialect;
    SdlFullScreen fullScreen;
    std::unique_ptr<X11PicturePresenter> x11Presenter;
    X11PicturePlace place{};      // where ShowPicture puts what PreparePicture read
    bool followRetraces = false;  // whether the server's retraces are the display's
};

bool SdlGlSurface::PreparePicture(int width, int height, int drawableWidth, int drawableHeight) {
    if (x11Presenter == nullptr || drawableWidth <= 0 || drawableHeight <= 0) {
        return false;
    }
    int rowBytes = 0;
    unsigned char* pixels = x11Presenter->Prepare(width, height, &rowBytes);
    if (pixels == nullptr) {
        return false;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, rowBytes / 4);
    // The picture is stored top row first, as an X image is.
    dialect.ReadPixelsBgra(width, height, pixels);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const WindowPlacement to = PlacePicture(width, height, drawableWidth, drawableHeight);
    // X's rows run down.
    place = {to.left,       drawableHeight - to.bottom - to.height,
             to.width,      to.height,
             drawableWidth, drawableHeight};
    return true;
}

// Whether OpenGL draws on the CPU here (Mesa's software rasterisers): then the X server puts the
// picture on the window more cheaply than OpenGL's own present does. With a GPU, or when asked
// for with SKIMLARK_PRESENT=opengl, OpenGL presents.
bool PresentThroughX11() {
    const char* asked = std::getenv("SKIMLARK_PRESENT");
    if (asked != nullptr && std::strcmp(asked, "opengl") == 0) {
        return false;
    }
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer != nullptr && (std::strstr(renderer, "llvmpipe") != nullptr ||
                                   std::strstr(renderer, "softpipe") != nullptr ||
                                   std::strstr(renderer, "swrast") != nullptr);
}

// An OpenGL ES 3.0 context on the window; the attributes are put back for the next window, which
// tries the desktop's context first again.
SDL_GLContext CreateEsContext(SDL_Window* window) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    return context;
}

}  // namespace

bool GlQueryDesktopMode(D3DDISPLAYMODE* mode) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return false;
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        return false;
    }
    mode->Width = static_cast<UINT>(desktop.w);
    mode->Height = static_cast<UINT>(desktop.h);
    mode->RefreshRate = static_cast<UINT>(desktop.refresh_rate);
    mode->Format = SDL_BITSPERPIXEL(desktop.format) == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
    return true;
}

std::unique_ptr<GlSurface> GlCreateSurface(HWND window, bool fullScreen) {
    SDL_Window* sdlWindow = reinterpret_cast<SDL_Window*>(window);
    if (sdlWindow == nullptr) {
        return nullptr;
    }
    const GlDialect* dialect = &DesktopGlDialect();
    SDL_GLContext context = GlEsContextRequested() ? nullptr : SDL_GL_CreateContext(sdlWindow);
    if (context == nullptr) {
        context = CreateEsContext(sdlWindow);
        dialect = &EsGlDialect();
    }
    if (context == nullptr) {
        return nullptr;
    }
    auto surface = std::make_unique<SdlGlSurface>(sdlWindow, context, *dialect);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (PresentThroughX11() && SDL_GetWindowWMInfo(sdlWindow, &info) == SDL_TRUE &&
        info.subsystem == SDL_SYSWM_X11) {
        surface->UseX11Presenter(
            X11PicturePresenter::Create(info.info.x11.display, info.info.x11.window));
    }
    surface->SetFullScreen(fullScreen);
    return surface;
}
