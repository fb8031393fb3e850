// The refresh rate of the display a window is on, read once and then again only when something
// can have changed it: a mode change or a move to another display shows in the next answer, and
// the answers in between cost nothing.
#pragma once

struct SDL_Window;

// Watches the events that can change a window's rate from now on: the window moving or changing
// display. Before the window is made: SDL drops the events already queued when this starts.
void StartDisplayRateWatch();
// Adds RandR's change notices where the window's X server sends them. Once the window is made.
void WatchDisplayRate(SDL_Window* window);
// Stops both, before SDL is shut down.
void StopWatchingDisplayRate();
// The next answer is read afresh (a device reset may follow a change of display or mode).
void ForgetDisplayRate();

// Retraces a second; 0 when the system does not say. Exact (59.94, 143.98) where the X server's
// RandR gives the mode's timings, else SDL's whole number.
double DisplayRefreshHertz(SDL_Window* window);
