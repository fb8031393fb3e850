#include "platform/x11/randr_change_events.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

bool RandrChangeEvents::Watch(Display* display) {
    eventBase = -1;
    int events = 0;
    int errors = 0;
    int major = 0;
    int minor = 0;
    // Both answers are kept by Xlib after the first ask: no round trip after that.
    if (display == nullptr || !XRRQueryExtension(display, &events, &errors) ||
        !XRRQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 2)) {
        return false;
    }
    // The selection is one per client and window, and SDL makes its own on this connection for
    // its hot-plug notices: the outputs' mask stays in.
    XRRSelectInput(display, DefaultRootWindow(display),
                   RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    XFlush(display);
    eventBase = events;
    return true;
}

bool RandrChangeEvents::IsChange(const XEvent& event) const {
    if (eventBase < 0) {
        return false;
    }
    if (event.type == eventBase + RRScreenChangeNotify) {
        return true;
    }
    if (event.type != eventBase + RRNotify) {
        return false;
    }
    const int subtype = reinterpret_cast<const XRRNotifyEvent&>(event).subtype;
    return subtype == RRNotify_CrtcChange || subtype == RRNotify_OutputChange;
}
