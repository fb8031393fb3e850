// What the OpenGL device needs from a window system: a current 3.3 core context and, where there
// is a window, a default framebuffer to present into. The SDL2 and headless back-ends each
// define the two factory functions below; the build links exactly one of them.
#pragma once

#include <memory>

#include "platform/direct3d8.h"

// A second context on the device window, sharing the device context's objects, for presenting
// from a thread of its own. Made current on that thread only.
class GlPresentContext {
public:
    virtual ~GlPresentContext() = default;

    // Makes the context current on the calling thread; false when the window system refused.
    virtual bool MakeCurrent() = 0;
    virtual void ReleaseCurrent() = 0;
    // Shows what was drawn into the window's default framebuffer.
    virtual void SwapBuffers() = 0;
    virtual bool SetSwapInterval(int interval) = 0;
};

class GlSurface {
public:
    virtual ~GlSurface() = default;

    // Pixel size of the window's drawable; 0 x 0 when there is no window.
    virtual void GetDrawableSize(int* width, int* height) = 0;
    // Shows what was drawn into the default framebuffer.
    virtual void SwapBuffers() = 0;
    // Asks for retrace-synchronised swaps; false when the platform refused.
    virtual bool SetSwapInterval(int interval) = 0;
    virtual int RefreshRateHz() = 0;
    // Whether presents are paced to a display at all (false for the headless build).
    virtual bool HasDisplay() const = 0;
    // Switches between a borderless desktop-sized window and the plain window.
    virtual void SetFullScreen(bool fullScreen) = 0;
    // A context for presenting from another thread, with the device's context current again on
    // the calling thread; null where there is no window or none can be made.
    virtual std::unique_ptr<GlPresentContext> CreatePresentContext() { return nullptr; }
};

// The desktop's current mode: size, refresh rate and pixel format.
bool GlQueryDesktopMode(D3DDISPLAYMODE* mode);

// A context made current for the device window; null on failure.
std::unique_ptr<GlSurface> GlCreateSurface(HWND window, bool fullScreen);
