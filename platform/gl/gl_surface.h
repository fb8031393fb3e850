// What the OpenGL device needs from a window system: a current OpenGL context (3.3 core or ES 3.0)
// and, where there is a window, a default framebuffer to present into. The SDL2 and headless
// back-ends each define the two factory functions below; the build links exactly one of them.
#pragma once

#include <memory>

#include "platform/direct3d8.h"
#include "platform/gl/gl_dialect.h"

class GlSurface {
public:
    virtual ~GlSurface() = default;

    // The dialect the context speaks.
    virtual const GlDialect& Dialect() const = 0;

    // Pixel size of the window's drawable; 0 x 0 when there is no window.
    virtual void GetDrawableSize(int* width, int* height) = 0;
    // Shows what was drawn into the default framebuffer.
    virtual void SwapBuffers() = 0;
    // Asks for retrace-synchronised swaps; false when the platform refused.
    virtual bool SetSwapInterval(int interval) = 0;
    // Whether a present surely waits for the retrace its swap interval asks for, so that no clock
    // need hold it back (a swap interval alone is only a request).
    virtual bool PresentWaitsForRetrace() const { return false; }
    // The display's retraces a second; 0 when not reported. Cheap: a window system reads it again
    // only when something can have changed it (or it cannot tell, once a second at most).
    virtual double RefreshRateHz() = 0;
    // The next RefreshRateHz reads the rate afresh.
    virtual void ForgetRefreshRate() {}
    // Whether presents are paced to a display at all (false for the headless build).
    virtual bool HasDisplay() const = 0;
    // Switches between a borderless desktop-sized window and the plain window.
    virtual void SetFullScreen(bool fullScreen) = 0;
    // Where the window system shows a picture more cheaply than the default framebuffer would:
    // reads the picture of the bound read framebuffer (width x height, top row first), to be
    // shown by ShowPicture centred in a drawable of the given size, scaled to fit. False when it
    // does not (then the device copies the picture into the default framebuffer and swaps).
    virtual bool PreparePicture(int /*width*/, int /*height*/, int /*drawableWidth*/,
                                int /*drawableHeight*/) {
        return false;
    }
    // Shows what PreparePicture read.
    virtual void ShowPicture() {}
};

// The desktop's current mode: size, refresh rate and pixel format.
bool GlQueryDesktopMode(D3DDISPLAYMODE* mode);

// A context made current for the device window; null on failure.
std::unique_ptr<GlSurface> GlCreateSurface(HWND window, bool fullScreen);
