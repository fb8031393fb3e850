#include "platform/x11/x11_error_filter.h"

#include <X11/Xlib.h>

namespace {

XErrorHandler previous = nullptr;
bool installed = false;
int randrOpcode = -1;
int presentOpcode = -1;
unsigned long caught = 0;

int FilterError(Display* display, XErrorEvent* error) {
    if (error->request_code == randrOpcode || error->request_code == presentOpcode) {
        ++caught;
        return 0;
    }
    return previous != nullptr ? previous(display, error) : 0;
}

int Opcode(Display* display, const char* name) {
    int opcode = 0;
    int event = 0;
    int error = 0;
    return XQueryExtension(display, name, &opcode, &event, &error) ? opcode : -1;
}

}  // namespace

void X11ErrorFilter::Install(Display* display) {
    if (installed || display == nullptr) {
        return;
    }
    installed = true;
    randrOpcode = Opcode(display, "RANDR");
    presentOpcode = Opcode(display, "Present");
    previous = XSetErrorHandler(FilterError);
}

unsigned long X11ErrorFilter::Caught() {
    return caught;
}
