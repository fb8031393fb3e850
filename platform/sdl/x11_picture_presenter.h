// Shows the device's finished picture on an X11 window through the X server rather than through
// OpenGL's default framebuffer: the picture is read into memory shared with the server, which puts
// it on the window as it is or scales it there (RENDER's bilinear filter) and blackens the bars.
// Where OpenGL itself draws on the CPU, this spares the rasteriser a scaled copy of the whole
// picture and the window system a copy of the whole window, bars included, every frame.
#pragma once

#include <memory>

struct SDL_Window;
class GlDialect;

class X11PicturePresenter {
public:
    // Null when the window is not an X11 window of 24-bit colour, or the X server cannot share
    // memory with this process or has no RENDER. Pictures are read in the context's dialect.
    static std::unique_ptr<X11PicturePresenter> Create(SDL_Window* window,
                                                       const GlDialect& dialect);
    ~X11PicturePresenter();
    X11PicturePresenter(const X11PicturePresenter&) = delete;
    X11PicturePresenter& operator=(const X11PicturePresenter&) = delete;

    // Reads the bound read framebuffer (width x height, top row first), to be shown centred in a
    // drawable of the given size, scaled to fit with its shape kept; false when it cannot be.
    bool Prepare(int width, int height, int drawableWidth, int drawableHeight);
    // Shows what Prepare read, at the retrace the interval asks for where the server counts
    // them. The server finishes showing it while the game goes on; the next Prepare waits for
    // that before it reuses the shared memory.
    void Show();
    // Whether Show waits for the server's retraces (its Present extension), and the interval in
    // retraces between pictures it keeps (0: none, shown at once).
    bool WaitsForRetrace() const;
    void SetRetraceInterval(int interval);
    // The server's retraces a second, as measured; 0 while unknown.
    double RetraceHertz() const;

private:
    struct Server;  // the connection and what the server holds for us, kept out of this header
    X11PicturePresenter(std::unique_ptr<Server> server, const GlDialect& dialect);
    // The shared image and the server's copy of it, for pictures of this size.
    bool Allocate(int width, int height);
    void Drop();
    void FillBars(int left, int top, int width, int height, int drawableWidth, int drawableHeight);

    std::unique_ptr<Server> server;
    const GlDialect* dialect;
};
