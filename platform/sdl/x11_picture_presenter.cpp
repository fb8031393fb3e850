#include "platform/sdl/x11_picture_presenter.h"

#include <SDL_syswm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/gl/gl_api.h"
#include "platform/gl/gl_window_blit.h"

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

std::unique_ptr<X11PicturePresenter> X11PicturePresenter::Create(SDL_Window* sdlWindow) {
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
        XGetWindowAttributes(display, window, &attributes) == 0 || attributes.depth != kDepth ||
        XRenderFindVisualFormat(display, attributes.visual) == nullptr) {
        return nullptr;
    }
    std::unique_ptr<X11PicturePresenter> presenter(
        new X11PicturePresenter(display, window, attributes.visual));
    // Tried once here, so that a server that will not share memory is found before the first
    // frame.
    if (!presenter->Prepare(1, 1)) {
        return nullptr;
    }
    return presenter;
}

X11PicturePresenter::X11PicturePresenter(Display* xDisplay, Window xWindow, Visual* xVisual)
    : display(xDisplay),
      window(xWindow),
      visual(xVisual),
      format(XRenderFindVisualFormat(xDisplay, xVisual)) {}

X11PicturePresenter::~X11PicturePresenter() {
    Drop();
}

bool X11PicturePresenter::Prepare(int width, int height) {
    if (image != nullptr && image->width == width && image->height == height) {
        return true;
    }
    Drop();
    image = XShmCreateImage(display, visual, kDepth, ZPixmap, nullptr, &shared,
                            static_cast<unsigned>(width), static_cast<unsigned>(height));
    // Four bytes a pixel, blue first: what OpenGL's BGRA bytes are.
    if (image == nullptr || image->bits_per_pixel != 32 || image->byte_order != LSBFirst) {
        Drop();
        return false;
    }
    shared.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * image->height,
                          IPC_CREAT | 0600);
    if (shared.shmid < 0) {
        Drop();
        return false;
    }
    void* address = shmat(shared.shmid, nullptr, 0);
    // Marked for removal at once: it goes when both sides have let go, even if this process dies.
    shmctl(shared.shmid, IPC_RMID, nullptr);
    if (address == reinterpret_cast<void*>(-1)) {
        shared.shmid = -1;
        Drop();
        return false;
    }
    shared.shmaddr = image->data = static_cast<char*>(address);
    shared.readOnly = False;
    XSync(display, False);
    attachRefused = false;
    XErrorHandler previous = XSetErrorHandler(NoteAttachError);
    const Bool attached = XShmAttach(display, &shared);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!attached || attachRefused) {
        shmdt(shared.shmaddr);
        shared.shmaddr = nullptr;
        Drop();
        return false;
    }
    windowGc = XCreateGC(display, window, 0, nullptr);
    pixmap = XCreatePixmap(display, window, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), kDepth);
    pixmapGc = XCreateGC(display, pixmap, 0, nullptr);
    XRenderPictureAttributes attributes{};
    source = XRenderCreatePicture(display, pixmap, format, 0, &attributes);
    XRenderSetPictureFilter(display, source, const_cast<char*>(FilterBilinear), nullptr, 0);
    target = XRenderCreatePicture(display, window, format, 0, &attributes);
    scaledWidth = width;
    scaledHeight = height;
    return true;
}

void X11PicturePresenter::Drop() {
    if (source != 0) {
        XRenderFreePicture(display, source);
        source = 0;
    }
    if (target != 0) {
        XRenderFreePicture(display, target);
        target = 0;
    }
    if (pixmap != 0) {
        XFreePixmap(display, pixmap);
        pixmap = 0;
    }
    if (windowGc != nullptr) {
        XFreeGC(display, windowGc);
        windowGc = nullptr;
    }
    if (pixmapGc != nullptr) {
        XFreeGC(display, pixmapGc);
        pixmapGc = nullptr;
    }
    if (shared.shmaddr != nullptr) {
        XShmDetach(display, &shared);
        XSync(display, False);
        shmdt(shared.shmaddr);
    }
    shared = XShmSegmentInfo{};
    imageInUse = false;
    if (image != nullptr) {
        image->data = nullptr;  // the shared memory, not Xlib's to free
        XDestroyImage(image);
        image = nullptr;
    }
}

bool X11PicturePresenter::Present(int width, int height, int drawableWidth, int drawableHeight) {
    if (width <= 0 || height <= 0 || drawableWidth <= 0 || drawableHeight <= 0 ||
        !Prepare(width, height)) {
        return false;
    }
    if (imageInUse) {
        // The server has read the image once it has answered: it is ours to overwrite. By now,
        // a frame later, the answer is usually waiting.
        XSync(display, False);
        imageInUse = false;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, image->bytes_per_line / 4);
    // The picture is stored top row first, as an X image is.
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, image->data);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);

    const WindowPlacement to = PlacePicture(width, height, drawableWidth, drawableHeight);
    const int top = drawableHeight - to.bottom - to.height;  // X's rows run down
    if (to.width == width && to.height == height) {
        XShmPutImage(display, window, windowGc, image, 0, 0, to.left, top,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), False);
    } else {
        XShmPutImage(display, pixmap, pixmapGc, image, 0, 0, 0, 0, static_cast<unsigned>(width),
                     static_cast<unsigned>(height), False);
        if (to.width != scaledWidth || to.height != scaledHeight) {
            // Maps the window's pixels back into the picture's.
            XTransform scale = {{{XDoubleToFixed(static_cast<double>(width) / to.width), 0, 0},
                                 {0, XDoubleToFixed(static_cast<double>(height) / to.height), 0},
                                 {0, 0, XDoubleToFixed(1.0)}}};
            XRenderSetPictureTransform(display, source, &scale);
            scaledWidth = to.width;
            scaledHeight = to.height;
        }
        XRenderComposite(display, PictOpSrc, source, None, target, 0, 0, 0, 0, to.left, top,
                         static_cast<unsigned>(to.width), static_cast<unsigned>(to.height));
    }
    FillBars(to.left, top, to.width, to.height, drawableWidth, drawableHeight);
    // Sent now, and done by the server while the game draws its next frame.
    XFlush(display);
    imageInUse = true;
    return true;
}

void X11PicturePresenter::FillBars(int left, int top, int width, int height, int drawableWidth,
                                   int drawableHeight) {
    const XRenderColor black = {0, 0, 0, 0xFFFF};
    const auto fill = [&](int x, int y, int w, int h) {
        if (w > 0 && h > 0) {
            XRenderFillRectangle(display, PictOpSrc, target, &black, x, y, static_cast<unsigned>(w),
                                 static_cast<unsigned>(h));
        }
    };
    fill(0, 0, left, drawableHeight);
    fill(left + width, 0, drawableWidth - left - width, drawableHeight);
    fill(left, 0, width, top);
    fill(left, top + height, width, drawableHeight - top - height);
}
