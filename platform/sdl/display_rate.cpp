#include "platform/sdl/display_rate.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/x11/randr_rate.h"

namespace {

// The rate of the RandR mode shown by the CRTC under the window's centre; 0 when there is none
// (not an X11 window, no RandR, or the window lies off every CRTC).
double X11RefreshHertz(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return 0.0;
    }
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &width, &height);
    return RandrRefreshHertz(info.info.x11.display, x + width / 2, y + height / 2);
}

}  // namespace

double DisplayRefreshHertz(SDL_Window* window) {
    // A read the server refused (a CRTC gone in a hot-plug) keeps the rate read before it.
    static double lastExact = 0.0;
    const double exact = X11RefreshHertz(window);
    if (exact < 0.0 && lastExact > 0.0) {
        return lastExact;
    }
    if (exact > 0.0) {
        lastExact = exact;
        return exact;
    }
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
        return mode.refresh_rate;
    }
    return 0.0;
}
