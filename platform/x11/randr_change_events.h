// RandR's notices that the screen, a CRTC or an output changed (a new mode or rate, a hot-plug, a
// CRTC moved): the only times a rate read from RandR can go out of date, so it need not be polled.
#pragma once

struct _XDisplay;
union _XEvent;

class RandrChangeEvents {
public:
    // Asks the server to send the connection the root window's changes; false where it has no
    // RandR 1.2 (whose CRTC and output notices these are): then none are asked for or seen.
    bool Watch(_XDisplay* display);
    // Whether an event read from that connection is one of those notices.
    bool IsChange(const _XEvent& event) const;

private:
    int eventBase = -1;
};
