// Faults of an X server that a player's may show, injected into a program from outside it:
// preloaded (LD_PRELOAD), it passes the X calls below to the real ones until its fault sets in.
//
// SKIMLARK_X11_FAULT names the fault; SKIMLARK_X11_FAULT_AFTER the seconds after the program
// started at which it sets in (0 if unset):
//   present-counter-stops  each xcb_present_notify_msc is swallowed: the server never answers,
//                          as a screen switched off or a server that lost its clock
//   randr-1.2              XRRQueryVersion reports 1.2, which lacks the 1.3 requests
//   crtc-removed           each XRRGetCrtcInfo asks about a CRTC that does not exist, so that the
//                          server itself refuses it (BadRRCrtc), as for one unplugged mid-read
// When it first injects its fault it says so once on standard error: "x11_faults: FAULT from
// SECONDS", SECONDS being the CLOCK_MONOTONIC time, so that a check knows the fault took effect
// and when.
//
// Only calls through the dynamic linker's usual lookup are caught: a library that resolves its
// calls itself with dlsym on its own handle (SDL's X11 back end) still reaches the real ones.
// The prototypes are the libraries' own, spelled with plain types so that no development header
// is needed (a Display and a screen resources record are only passed on, an XID is an unsigned
// long, an XCB cookie a struct of one unsigned int).
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#define EXPORT __attribute__((visibility("default")))

enum Fault { kNone, kPresentCounterStops, kRandr12, kCrtcRemoved };

// The client part of the ID is that of a client slot the checks never fill, so no resource of
// the server has it.
static const unsigned long kMissingCrtc = 0x1ffffff0UL;

static enum Fault fault = kNone;
static double onset;  // CLOCK_MONOTONIC seconds
static int announced;

static double MonotonicSeconds(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

__attribute__((constructor)) static void ReadFault(void) {
    const char* name = getenv("SKIMLARK_X11_FAULT");
    const char* after = getenv("SKIMLARK_X11_FAULT_AFTER");
    if (name == NULL) {
        return;
    }
    if (strcmp(name, "present-counter-stops") == 0) {
        fault = kPresentCounterStops;
    } else if (strcmp(name, "randr-1.2") == 0) {
        fault = kRandr12;
    } else if (strcmp(name, "crtc-removed") == 0) {
        fault = kCrtcRemoved;
    } else {
        fprintf(stderr, "x11_faults: unknown fault \"%s\"\n", name);
        exit(2);  // a check asking for a fault that is not made would pass for nothing
    }
    onset = MonotonicSeconds() + (after != NULL ? atof(after) : 0.0);
}

// Whether the fault is `which` and has set in; the first time it has, says so.
static int Injecting(enum Fault which) {
    if (fault != which) {
        return 0;
    }
    const double now = MonotonicSeconds();
    if (now < onset) {
        return 0;
    }
    if (!__atomic_exchange_n(&announced, 1, __ATOMIC_ACQ_REL)) {
        fprintf(stderr, "x11_faults: %s from %.3f\n", getenv("SKIMLARK_X11_FAULT"), now);
    }
    return 1;
}

static void* RealFunction(const char* name) {
    void* function = dlsym(RTLD_NEXT, name);
    if (function == NULL) {
        abort();  // called, so it exists somewhere; failing loudly beats a fault never made
    }
    return function;
}

typedef struct {
    unsigned int sequence;
} VoidCookie;

typedef VoidCookie (*NotifyMscFunction)(void*, uint32_t, uint32_t, uint64_t, uint64_t, uint64_t);

EXPORT VoidCookie xcb_present_notify_msc(void* connection, uint32_t window, uint32_t serial,
                                         uint64_t targetMsc, uint64_t divisor, uint64_t remainder) {
    if (Injecting(kPresentCounterStops)) {
        const VoidCookie none = {0};
        return none;
    }
    NotifyMscFunction real = (NotifyMscFunction)RealFunction("xcb_present_notify_msc");
    return real(connection, window, serial, targetMsc, divisor, remainder);
}

typedef int (*QueryVersionFunction)(void*, int*, int*);

EXPORT int XRRQueryVersion(void* display, int* major, int* minor) {
    QueryVersionFunction real = (QueryVersionFunction)RealFunction("XRRQueryVersion");
    const int status = real(display, major, minor);
    if (status != 0 && Injecting(kRandr12)) {
        *major = 1;
        *minor = 2;
    }
    return status;
}

typedef void* (*GetCrtcInfoFunction)(void*, void*, unsigned long);

EXPORT void* XRRGetCrtcInfo(void* display, void* resources, unsigned long crtc) {
    GetCrtcInfoFunction real = (GetCrtcInfoFunction)RealFunction("XRRGetCrtcInfo");
    if (!Injecting(kCrtcRemoved)) {
        return real(display, resources, crtc);
    }
    void* info = real(display, resources, kMissingCrtc);
    if (info != NULL) {
        fprintf(stderr, "x11_faults: the server knows CRTC 0x%lx: no fault made\n", kMissingCrtc);
        abort();
    }
    return NULL;
}
