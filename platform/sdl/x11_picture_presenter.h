// Shows the device's finished picture on an X11 window through the X server rather than through
// OpenGL's default framebuffer: the picture is read into memory shared with the server, which puts
// it on the window as it is or scales it there (RENDER's bilinear filter) and blackens the bars.
// Where OpenGL itself draws on the CPU, this spares the rasteriser a scaled copy of the whole
// picture and the window system a copy of the whole window, bars included, every frame.
#pragma once

#include <memory>

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>

class X11PicturePresenter {
public:
    // Null when the window is not an X11 window of 24-bit colour, or the X server cannot share
    // memory with this process or has no RENDER.
    static std::unique_ptr<X11PicturePresenter> Create(SDL_Window* window);
    ~X11PicturePresenter();
    X11PicturePresenter(const X11PicturePresenter&) = delete;
    X11PicturePresenter& operator=(const X11PicturePresenter&) = delete;

    // Reads the bound read framebuffer (width x height, top row first) and shows it centred in a
    // drawable of the given size, scaled to fit with its shape kept; false when nothing could be
    // shown.
    bool Present(int width, int height, int drawableWidth, int drawableHeight);

private:
    X11PicturePresenter(Display* display, Window window, Visual* visual);
    // The shared image and the server's copy of it, for pictures of this size.
    bool Prepare(int width, int height);
    void Drop();
    void FillBars(int left, int top, int width, int height, int drawableWidth, int drawableHeight);

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
};
