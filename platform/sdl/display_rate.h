// The refresh rate of the display a window is on, read afresh at each call: a mode change or a
// move to another display shows in the next answer.
#pragma once

struct SDL_Window;

// Retraces a second; 0 when the system does not say. Exact (59.94, 143.98) where the X server's
// RandR gives the mode's timings, else SDL's whole number.
double DisplayRefreshHertz(SDL_Window* window);
