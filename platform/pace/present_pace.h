// Holds presents to the pace of the full-screen 1024 x 768 mode the game asks for. That mode's
// default rate is 60 Hz, and every step of the game is a fixed amount per frame, so the game
// presents 60 times a second on any display of 60 Hz or more: a swap interval where the display
// runs at a whole multiple of 60 Hz, otherwise a clock grid at 60 Hz whose presents the display
// shows at its next retrace. Below 59 Hz it follows the display, as a mode of that rate would.
// The grid is also what paces a swap that does not wait for the retrace (Xvfb, some compositors);
// where swaps are seen to wait, the retraces lead instead (PresentPacer).
#pragma once

// How presents keep the pace on a display of a given rate.
struct PresentPace {
    int swapInterval;          // retraces per present, where the swap waits for them
    double presentsPerSecond;  // the clock grid that presents are held to
};

// The pace on a display refreshing `displayHertz` times a second (0 or less: not reported).
PresentPace ChoosePresentPace(double displayHertz);

// The display's rate from two sources: `measured` from the retraces a server counts, `claimed`
// from its mode (0: not reported). A count that disagrees with the mode by more than a few per
// cent is a timer of the server's own, not the display's (a server that drives no screen, a
// screen switched off): the mode's rate stands, and the count is not to be followed.
bool MeasuredRateIsTheDisplays(double measured, double claimed);
