// Errors from the RandR and Present extensions, caught rather than left to Xlib's default
// handler, which ends the process: a CRTC that vanishes in a hot-plug, or a window gone from the
// server, makes a request of theirs fail while the game goes on. Other errors go to the handler
// that was there before.
#pragma once

struct _XDisplay;

class X11ErrorFilter {
public:
    // Installs the filter for the display's connection, once for the process.
    static void Install(_XDisplay* display);
    // How many errors of those extensions have been caught so far.
    static unsigned long Caught();
};
