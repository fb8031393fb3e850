// Full screen for an SDL2 window as a borderless window over the whole desktop, the display mode
// left as it is, whether or not a window manager runs.
#pragma once

#include <SDL.h>

class SdlFullScreen {
public:
    explicit SdlFullScreen(SDL_Window* sdlWindow) : window(sdlWindow) {}

    // Covers the desktop of the window's display, or gives the window back its earlier size,
    // position and border. Asking for the state the window is already in does nothing.
    void Set(bool fullScreen);

private:
    void Enter();
    void Leave();

    SDL_Window* window;
    bool entered = false;
    SDL_Rect windowed{};
};
