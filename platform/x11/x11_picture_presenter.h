// Shows the device's finished picture on an X11 window through the X server rather than through
// OpenGL's default framebuffer: the picture is read into memory shared with the server, which puts
// it on the window as it is or scales it there (RENDER's bilinear filter) and blackens the bars.
// Where OpenGL itself draws on the CPU, this spares the rasteriser a scaled copy of the whole
// picture and the window system a copy of the whole window, bars included, every frame.
#pragma once

#include <memory>

struct _XDisplay;

// Where a picture goes in the window, in X's coordinates (rows run down).
struct X11PicturePlace {
    int left;
    int top;
    int width;
    int height;
    int drawableWidth;
    int drawableHeight;
};

class X11PicturePresenter {
public:
    // Null when the window is not of 24-bit colour, or the X server cannot share memory with
    // this process or has no RENDER. The display connection must outlive the presenter.
    static std::unique_ptr<X11PicturePresenter> Create(_XDisplay* display, unsigned long window);
    ~X11PicturePresenter();
    X11PicturePresenter(const X11PicturePresenter&) = delete;
    X11PicturePresenter& operator=(const X11PicturePresenter&) = delete;

    // The memory shared with the server for a picture of width x height (four bytes a pixel,
    // blue first, top row first, `rowBytes` a row), free to be written once this returns; null
    // when there is none.
    unsigned char* Prepare(int width, int height, int* rowBytes);
    // Shows what was written into Prepare's memory at `place`, scaled to fit, with black bars
    // around it, at the retrace the interval asks for where the server counts them. The server
    // finishes showing it while the game goes on; the next Prepare waits for that before it
    // hands the memory out again.
    void Show(const X11PicturePlace& place);
    // Whether Show waits for the server's retraces (its Present extension), and the interval in
    // retraces between pictures it keeps (0: none, shown at once).
    bool WaitsForRetrace() const;
    void SetRetraceInterval(int interval);
    // The server's retraces a second, as measured; 0 while unknown.
    double RetraceHertz() const;

private:
    struct Server;  // the connection and what the server holds for us, kept out of this header
    explicit X11PicturePresenter(std::unique_ptr<Server> server);
    // The shared image and the server's copy of it, for pictures of this size.
    bool Allocate(int width, int height);
    void Drop();
    void FillBars(const X11PicturePlace& place);

    std::unique_ptr<Server> server;
};
