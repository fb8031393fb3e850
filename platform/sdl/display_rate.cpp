#include "platform/sdl/display_rate.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {

// The rate of the RandR mode shown by the CRTC under the window's centre; 0 when there is none
// (not an X11 window, no RandR, or the window lies off every CRTC).
double RandrRefreshHertz(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return 0.0;
    }
    Display* display = info.info.x11.display;
    int eventBase = 0;
    int errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) {
        return 0.0;
    }
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
    const int centreX = x + width / 2;
    const int centreY = y + height / 2;

    // The server's current configuration, without probing the outputs again.
    XRRScreenResources* resources =
        XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (resources == nullptr) {
        return 0.0;
    }
    double hertz = 0.0;
    for (int c = 0; c < resources->ncrtc && hertz == 0.0; ++c) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[c]);
        if (crtc == nullptr) {
            continue;
        }
        const bool under = crtc->mode != None && centreX >= crtc->x &&
                           centreX < crtc->x + static_cast<int>(crtc->width) &&
                           centreY >= crtc->y && centreY < crtc->y + static_cast<int>(crtc->height);
        for (int m = 0; under && m < resources->nmode; ++m) {
            const XRRModeInfo& mode = resources->modes[m];
            if (mode.id != crtc->mode) {
                continue;
            }
            double lines = mode.vTotal;
            if ((mode.modeFlags & RR_DoubleScan) != 0) {
                lines *= 2.0;
            }
            if ((mode.modeFlags & RR_Interlace) != 0) {
                lines /= 2.0;
            }
            if (mode.hTotal != 0 && lines > 0.0) {
                hertz = static_cast<double>(mode.dotClock) / (mode.hTotal * lines);
            }
        }
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return hertz;
}

}  // namespace

double DisplayRefreshHertz(SDL_Window* window) {
    const double exact = RandrRefreshHertz(window);
    if (exact > 0.0) {
        return exact;
    }
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
        return mode.refresh_rate;
    }
    return 0.0;
}
