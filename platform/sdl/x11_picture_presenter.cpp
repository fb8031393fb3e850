#include "platform/sdl/x11_picture_presenter.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/gl/gl_api.h"
#include "platform/gl/gl_dialect.h"
#include "platform/gl/gl_window_blit.h"
#include "platform/sdl/x11_retrace_clock.h"

namespace {

constexpr int kDepth = 24;

// Set by the error handler that watches the server's attachment of the shared memory: a server
// on another machine, or in another IPC namespace, refuses it with an error that Xlib's default
// handler would end the process for.
bool attachRefused = false;

int NoteAttachError(Display*, XErrorEvent*) {
    attachRefused = true;
    return 0;
}

}  // namespace

struct X11PicturePresenter::Server {
    Display* display;
    Window window;
    Visual* visual;
    XRenderPictFormat* format;
    XImage* image = nullptr;
    XShmSegmentInfo shared{};
    GC windowGc = nullptr;
    GC pixmapGc = nullptr;
    Pixmap pixmap = 0;
    Picture source = 0;
    Picture target = 0;
    // A present's requests that read the image may still be running in the server.
    bool imageInUse = false;
    // The scale set on `source`, so that it is sent again only when the window changes.
    int scaledWidth = 0;
    int scaledHeight = 0;
    // What the last Prepare read and where Show puts it.
    bool prepared = false;
    int drawableWidth = 0;
    int drawableHeight = 0;
    // The retraces pictures wait for, where the server counts them; retraces between pictures.
    std::unique_ptr<X11RetraceClock> retraces;
    int retraceInterval = 0;
};

std::unique_ptr<X11PicturePresenter> X11PicturePresenter::Create(SDL_Window* sdlWindow,
                                                                 const GlDialect& dialect) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(sdlWindow, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return nullptr;
    }
    Display* display = info.info.x11.display;
    const Window window = info.info.x11.window;
    int eventBase = 0;
    int errorBase = 0;
    XWindowAttributes attributes;
    if (!XShmQueryExtension(display) || !XRenderQueryExtension(display, &eventBase, &errorBase) ||
        XGetWindowAttributes(display, window, &attributes) == 0 || attributes.depth != kDepth) {
        return nullptr;
    }
    XRenderPictFormat* format = XRenderFindVisualFormat(display, attributes.visual);
    if (format == nullptr) {
        return nullptr;
    }
    auto server = std::make_unique<Server>();
    server->display = display;
    server->window = window;
    server->visual = attributes.visual;
    server->format = format;
    server->retraces = X11RetraceClock::Create(XGetXCBConnection(display), window);
    std::unique_ptr<X11PicturePresenter> presenter(
        new X11PicturePresenter(std::move(server), dialect));
    // Tried once here, so that a server that will not share memory is found before the first
    // frame.
    if (!presenter->Allocate(1, 1)) {
        return nullptr;
    }
    return presenter;
}

X11PicturePresenter::X11PicturePresenter(std::unique_ptr<Server> connection,
                                         const GlDialect& glDialect)
    : server(std::move(connection)), dialect(&glDialect) {}

X11PicturePresenter::~X11PicturePresenter() {
    Drop();
}

bool X11PicturePresenter::Allocate(int width, int height) {
    Server& x11 = *server;
    if (x11.image != nullptr && x11.image->width == width && x11.image->height == height) {
        return true;
    }
    Drop();
    x11.image = XShmCreateImage(x11.display, x11.visual, kDepth, ZPixmap, nullptr, &x11.shared,
                                static_cast<unsigned>(width), static_cast<unsigned>(height));
    // Four bytes a pixel, blue first: what OpenGL's BGRA bytes are.
    if (x11.image == nullptr || x11.image->bits_per_pixel != 32 ||
        x11.image->byte_order != LSBFirst) {
        Drop();
        return false;
    }
    x11.shared.shmid =
        shmget(IPC_PRIVATE, static_cast<size_t>(x11.image->bytes_per_line) * x11.image->height,
               IPC_CREAT | 0600);
    if (x11.shared.shmid < 0) {
        Drop();
        return false;
    }
    void* address = shmat(x11.shared.shmid, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(x11.shared.shmid, IPC_RMID, nullptr);
        x11.shared.shmid = -1;
        Drop();
        return false;
    }
    x11.shared.shmaddr = x11.image->data = static_cast<char*>(address);
    x11.shared.readOnly = False;
    XSync(x11.display, False);
    attachRefused = false;
    XErrorHandler previous = XSetErrorHandler(NoteAttachError);
    const Bool attached = XShmAttach(x11.display, &x11.shared);
    XSync(x11.display, False);
    XSetErrorHandler(previous);
    // Marked for removal once both sides hold it: it goes when both have let go, even if this
    // process dies first.
    shmctl(x11.shared.shmid, IPC_RMID, nullptr);
    if (!attached || attachRefused) {
        shmdt(x11.shared.shmaddr);
        x11.shared.shmaddr = nullptr;
        Drop();
        return false;
    }
    x11.windowGc = XCreateGC(x11.display, x11.window, 0, nullptr);
    x11.pixmap = XCreatePixmap(x11.display, x11.window, static_cast<unsigned>(width),
                               static_cast<unsigned>(height), kDepth);
    x11.pixmapGc = XCreateGC(x11.display, x11.pixmap, 0, nullptr);
    XRenderPictureAttributes attributes{};
    x11.source = XRenderCreatePicture(x11.display, x11.pixmap, x11.format, 0, &attributes);
    XRenderSetPictureFilter(x11.display, x11.source, const_cast<char*>(FilterBilinear), nullptr, 0);
    x11.target = XRenderCreatePicture(x11.display, x11.window, x11.format, 0, &attributes);
    x11.scaledWidth = width;
    x11.scaledHeight = height;
    return true;
}

void X11PicturePresenter::Drop() {
    Server& x11 = *server;
    if (x11.source != 0) {
        XRenderFreePicture(x11.display, x11.source);
        x11.source = 0;
    }
    if (x11.target != 0) {
        XRenderFreePicture(x11.display, x11.target);
        x11.target = 0;
    }
    if (x11.pixmap != 0) {
        XFreePixmap(x11.display, x11.pixmap);
        x11.pixmap = 0;
    }
    if (x11.windowGc != nullptr) {
        XFreeGC(x11.display, x11.windowGc);
        x11.windowGc = nullptr;
    }
    if (x11.pixmapGc != nullptr) {
        XFreeGC(x11.display, x11.pixmapGc);
        x11.pixmapGc = nullptr;
    }
    if (x11.shared.shmaddr != nullptr) {
        XShmDetach(x11.display, &x11.shared);
        XSync(x11.display, False);
        shmdt(x11.shared.shmaddr);
    }
    x11.shared = XShmSegmentInfo{};
    x11.imageInUse = false;
    if (x11.image != nullptr) {
        x11.image->data = nullptr;  // the shared memory, not Xlib's to free
        XDestroyImage(x11.image);
        x11.image = nullptr;
    }
}

bool X11PicturePresenter::Prepare(int width, int height, int drawableWidth, int drawableHeight) {
    Server& x11 = *server;
    x11.prepared = false;
    if (width <= 0 || height <= 0 || drawableWidth <= 0 || drawableHeight <= 0 ||
        !Allocate(width, height)) {
        return false;
    }
    if (x11.imageInUse) {
        // The server has read the image once it has answered: it is ours to overwrite. By now,
        // a frame later, the answer is usually waiting.
        XSync(x11.display, False);
        x11.imageInUse = false;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, x11.image->bytes_per_line / 4);
    // The picture is stored top row first, as an X image is.
    dialect->ReadPixelsBgra(width, height, x11.image->data);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    x11.prepared = true;
    x11.drawableWidth = drawableWidth;
    x11.drawableHeight = drawableHeight;
    return true;
}

void X11PicturePresenter::Show() {
    Server& x11 = *server;
    if (!x11.prepared) {
        return;
    }
    x11.prepared = false;
    if (x11.retraces != nullptr) {
        x11.retraces->WaitForRetrace(x11.retraceInterval);
    }
    const int width = x11.image->width;
    const int height = x11.image->height;
    const int drawableWidth = x11.drawableWidth;
    const int drawableHeight = x11.drawableHeight;
    const WindowPlacement to = PlacePicture(width, height, drawableWidth, drawableHeight);
    const int top = drawableHeight - to.bottom - to.height;  // X's rows run down
    if (to.width == width && to.height == height) {
        XShmPutImage(x11.display, x11.window, x11.windowGc, x11.image, 0, 0, to.left, top,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), False);
    } else {
        XShmPutImage(x11.display, x11.pixmap, x11.pixmapGc, x11.image, 0, 0, 0, 0,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), False);
        if (to.width != x11.scaledWidth || to.height != x11.scaledHeight) {
            // Maps the window's pixels back into the picture's.
            XTransform scale = {{{XDoubleToFixed(static_cast<double>(width) / to.width), 0, 0},
                                 {0, XDoubleToFixed(static_cast<double>(height) / to.height), 0},
                                 {0, 0, XDoubleToFixed(1.0)}}};
            XRenderSetPictureTransform(x11.display, x11.source, &scale);
            x11.scaledWidth = to.width;
            x11.scaledHeight = to.height;
        }
        XRenderComposite(x11.display, PictOpSrc, x11.source, None, x11.target, 0, 0, 0, 0, to.left,
                         top, static_cast<unsigned>(to.width), static_cast<unsigned>(to.height));
    }
    FillBars(to.left, top, to.width, to.height, drawableWidth, drawableHeight);
    // Sent now, and done by the server while the game draws its next frame.
    XFlush(x11.display);
    x11.imageInUse = true;
}

bool X11PicturePresenter::WaitsForRetrace() const {
    return server->retraces != nullptr;
}

void X11PicturePresenter::SetRetraceInterval(int interval) {
    server->retraceInterval = interval;
}

double X11PicturePresenter::RetraceHertz() const {
    return server->retraces != nullptr ? server->retraces->Hertz() : 0.0;
}

void X11PicturePresenter::FillBars(int left, int top, int width, int height, int drawableWidth,
                                   int drawableHeight) {
    Server& x11 = *server;
    const XRenderColor black = {0, 0, 0, 0xFFFF};
    const auto fill = [&](int x, int y, int w, int h) {
        if (w > 0 && h > 0) {
            XRenderFillRectangle(x11.display, PictOpSrc, x11.target, &black, x, y,
                                 static_cast<unsigned>(w), static_cast<unsigned>(h));
        }
    };
    fill(0, 0, left, drawableHeight);
    fill(left + width, 0, drawableWidth - left - width, drawableHeight);
    fill(left, 0, width, top);
    fill(left, top + height, width, drawableHeight - top - height);
}
