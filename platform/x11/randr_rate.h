// The refresh rate of the RandR mode under a point of the screen, exact from the mode's timings
// (59.94, 143.98, where a window system rounds to whole numbers).
#pragma once

struct _XDisplay;

// Retraces a second of the CRTC showing the root window's point (x, y); 0 when there is none (no
// RandR 1.3, or the point lies off every CRTC); -1 when the server refused a request (a CRTC that
// vanished while it was read): the caller keeps the rate it had.
double RandrRefreshHertz(_XDisplay* display, int x, int y);
