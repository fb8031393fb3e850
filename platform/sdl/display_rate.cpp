#include "platform/sdl/display_rate.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/sdl/refresh_rate_cache.h"
#include "platform/x11/randr_change_events.h"
#include "platform/x11/randr_rate.h"

namespace {

RefreshRateCache cache;
RandrChangeEvents randrChanges;
// Whether every change of the rate comes with an event (RandR 1.2's notices). Elsewhere the rate
// is SDL's whole number, which SDL keeps without asking the server: a read a second is free.
bool changesAnnounced = false;
// The exact rate last read from RandR, kept when the server refuses a read (a CRTC gone in a
// hot-plug).
double lastExact = 0.0;

bool IsRateChange(const SDL_Event& event) {
    if (event.type == SDL_WINDOWEVENT) {
        // The rate is the CRTC's under the window's centre, which a resize moves as well.
        const Uint8 what = event.window.event;
        return what == SDL_WINDOWEVENT_MOVED || what == SDL_WINDOWEVENT_SIZE_CHANGED ||
               what == SDL_WINDOWEVENT_DISPLAY_CHANGED;
    }
    return event.type == SDL_SYSWMEVENT && event.syswm.msg != nullptr &&
           event.syswm.msg->subsystem == SDL_SYSWM_X11 &&
           randrChanges.IsChange(event.syswm.msg->msg.x11.event);
}

// Sees every event as it enters SDL's queue, whoever takes it later (the entry's pump, a wait, the
// wait for the focus). The window system's own events are asked for only for RandR's notices:
// queued, each would wake a wait and run a pass of the game's loop, so none is queued.
int SDLCALL NoteRateChanges(void*, SDL_Event* event) {
    if (IsRateChange(*event)) {
        cache.MarkStale();
    }
    return event->type == SDL_SYSWMEVENT ? 0 : 1;
}

// The rate of the RandR mode shown by the CRTC under the window's centre; 0 when there is none
// (not an X11 window, no RandR, or the window lies off every CRTC); -1 when the server refused.
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

double ReadRefreshHertz(SDL_Window* window, bool* refused) {
    const double exact = X11RefreshHertz(window);
    *refused = exact < 0.0;
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

}  // namespace

void StartDisplayRateWatch() {
    cache.MarkStale();
    lastExact = 0.0;
    changesAnnounced = false;
    SDL_SetEventFilter(NoteRateChanges, nullptr);
}

void WatchDisplayRate(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    changesAnnounced = SDL_GetWindowWMInfo(window, &info) == SDL_TRUE &&
                       info.subsystem == SDL_SYSWM_X11 && randrChanges.Watch(info.info.x11.display);
    if (changesAnnounced) {
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }
}

void StopWatchingDisplayRate() {
    SDL_SetEventFilter(nullptr, nullptr);
    SDL_EventState(SDL_SYSWMEVENT, SDL_DISABLE);
    changesAnnounced = false;
    cache.MarkStale();
}

void ForgetDisplayRate() {
    cache.MarkStale();
}

double DisplayRefreshHertz(SDL_Window* window) {
    const Uint32 now = SDL_GetTicks();
    if (!cache.Stale(now)) {
        return cache.Hertz();
    }
    bool refused = false;
    const double hertz = ReadRefreshHertz(window, &refused);
    // A refused read is tried again a second later: the hot-plug under way may announce no more.
    cache.Store(hertz, changesAnnounced && !refused, now);
    return hertz;
}
