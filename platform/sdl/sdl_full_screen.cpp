#include "platform/sdl/sdl_full_screen.h"

void SdlFullScreen::Set(bool fullScreen) {
    if (fullScreen == entered) {
        return;
    }
    if (fullScreen) {
        Enter();
    } else {
        Leave();
    }
}

// SDL's desktop full screen only asks the window manager: with none, the window kept its size
// while SDL reported the desktop's, and the picture was laid out for a window that was not
// there. So the window is first made borderless and placed over the desktop by hand, which the X
// server does at once when no window manager decides; a window manager then takes the request
// and keeps the window full screen.
void SdlFullScreen::Enter() {
    const int display = SDL_GetWindowDisplayIndex(window);
    SDL_Rect desktop;
    if (display < 0 || SDL_GetDisplayBounds(display, &desktop) != 0) {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        entered = true;
        return;
    }
    SDL_GetWindowPosition(window, &windowed.x, &windowed.y);
    SDL_GetWindowSize(window, &windowed.w, &windowed.h);
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, desktop.x, desktop.y);
    SDL_SetWindowSize(window, desktop.w, desktop.h);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    entered = true;
}

void SdlFullScreen::Leave() {
    SDL_SetWindowFullscreen(window, 0);
    if (windowed.w > 0 && windowed.h > 0) {
        SDL_SetWindowBordered(window, SDL_TRUE);
        SDL_SetWindowSize(window, windowed.w, windowed.h);
        SDL_SetWindowPosition(window, windowed.x, windowed.y);
    }
    entered = false;
}
