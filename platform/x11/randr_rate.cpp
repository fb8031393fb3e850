#include "platform/x11/randr_rate.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include "platform/x11/x11_error_filter.h"

double RandrRefreshHertz(Display* display, int centreX, int centreY) {
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    // XRRGetScreenResourcesCurrent is RandR 1.3's.
    if (!XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || major < 1 || (major == 1 && minor < 3)) {
        return 0.0;
    }
    X11ErrorFilter::Install(display);
    const unsigned long errorsBefore = X11ErrorFilter::Caught();
    // The server's current configuration, without probing the outputs again.
    XRRScreenResources* resources =
        XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (resources == nullptr) {
        return 0.0;
    }
    double hertz = 0.0;
    for (int c = 0; c < resources->ncrtc && hertz == 0.0; ++c) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[c]);
        if (crtc == nullptr) {
            continue;
        }
        const bool under = crtc->mode != None && centreX >= crtc->x &&
                           centreX < crtc->x + static_cast<int>(crtc->width) &&
                           centreY >= crtc->y && centreY < crtc->y + static_cast<int>(crtc->height);
        for (int m = 0; under && m < resources->nmode; ++m) {
            const XRRModeInfo& mode = resources->modes[m];
            if (mode.id != crtc->mode) {
                continue;
            }
            double lines = mode.vTotal;
            if ((mode.modeFlags & RR_DoubleScan) != 0) {
                lines *= 2.0;
            }
            if ((mode.modeFlags & RR_Interlace) != 0) {
                lines /= 2.0;
            }
            if (mode.hTotal != 0 && lines > 0.0) {
                hertz = static_cast<double>(mode.dotClock) / (mode.hTotal * lines);
            }
        }
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    XSync(display, False);
    return X11ErrorFilter::Caught() != errorsBefore ? -1.0 : hertz;
}
