// Presents the device's pictures from a thread of its own, on a second context that shares the
// device context's objects. Without a GPU the drawing is done by the CPU's cores too: while the
// presenter waits for one picture to be finished, copies it to the window and swaps, the game's
// thread goes on with the next frame, so that neither waits for the other. At most one picture
// is in hand: handing over the next waits until the one before is on the screen, which keeps the
// game's loop paced by presentation, one frame ahead of the screen at most.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/gl/gl_api.h"
#include "platform/gl/gl_surface.h"
#include "platform/gl/present_pacer.h"

class GlPresenter {
public:
    struct Picture {
        GLuint colorRenderbuffer;  // shared with the presenter's context
        int width;
        int height;
        int drawableWidth;
        int drawableHeight;
        GLsync drawn;  // signalled once the picture is complete; the presenter deletes it
        int swapInterval;
        bool paced;  // held to the refresh after the swap
    };

    // Null when the context cannot be made current on a thread of its own.
    static std::unique_ptr<GlPresenter> Start(std::unique_ptr<GlPresentContext> context,
                                              int refreshRateHz);
    // Presents the picture in hand, then stops the thread.
    ~GlPresenter();
    GlPresenter(const GlPresenter&) = delete;
    GlPresenter& operator=(const GlPresenter&) = delete;

    // Hands over a picture, first waiting until the one before is on the screen.
    void Submit(const Picture& picture);
    // Waits until every picture handed over is on the screen.
    void WaitIdle();

private:
    GlPresenter(std::unique_ptr<GlPresentContext> context, int refreshRateHz);
    void Run();
    void Show(const Picture& picture);

    std::unique_ptr<GlPresentContext> context;
    PresentPacer pacer;
    GLuint readFramebuffer;
    int swapInterval;

    std::mutex mutex;
    std::condition_variable changed;
    Picture next;
    bool pending;  // `next` waits to be taken
    bool showing;  // a picture is being presented
    bool stopping;
    bool started;  // the thread has tried to make its context current
    bool current;  // ... and succeeded
    std::thread thread;
};
