#include "platform/gl/gl_presenter.h"

#include <utility>

#include "platform/gl/gl_window_blit.h"

std::unique_ptr<GlPresenter> GlPresenter::Start(std::unique_ptr<GlPresentContext> context,
                                                int refreshRateHz) {
    if (!context) {
        return nullptr;
    }
    std::unique_ptr<GlPresenter> presenter(new GlPresenter(std::move(context), refreshRateHz));
    presenter->thread = std::thread(&GlPresenter::Run, presenter.get());
    std::unique_lock<std::mutex> lock(presenter->mutex);
    presenter->changed.wait(lock, [&] { return presenter->started; });
    if (!presenter->current) {
        lock.unlock();
        presenter->thread.join();
        return nullptr;
    }
    return presenter;
}

GlPresenter::GlPresenter(std::unique_ptr<GlPresentContext> presentContext, int refreshRateHz)
    : context(std::move(presentContext)),
      pacer(MakeSystemPresentPacer()),
      readFramebuffer(0),
      swapInterval(-1),
      next{},
      pending(false),
      showing(false),
      stopping(false),
      started(false),
      current(false) {
    pacer.SetRefreshRate(refreshRateHz);
}

GlPresenter::~GlPresenter() {
    if (thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        changed.notify_all();
        thread.join();
    }
}

void GlPresenter::Submit(const Picture& picture) {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !pending && !showing; });
    next = picture;
    pending = true;
    lock.unlock();
    changed.notify_all();
}

void GlPresenter::WaitIdle() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !pending && !showing; });
}

void GlPresenter::Run() {
    const bool madeCurrent = context->MakeCurrent();
    if (madeCurrent) {
        glGenFramebuffers(1, &readFramebuffer);
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        started = true;
        current = madeCurrent;
    }
    changed.notify_all();
    if (!madeCurrent) {
        return;
    }
    for (;;) {
        Picture picture;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [this] { return pending || stopping; });
            if (!pending) {
                break;  // stopping, with nothing left to show
            }
            picture = next;
            pending = false;
            showing = true;
        }
        Show(picture);
        {
            std::lock_guard<std::mutex> lock(mutex);
            showing = false;
        }
        changed.notify_all();
    }
    glDeleteFramebuffers(1, &readFramebuffer);
    context->ReleaseCurrent();
}

void GlPresenter::Show(const Picture& picture) {
    // The device's context flushed the picture's drawing before handing it over.
    glClientWaitSync(picture.drawn, 0, GL_TIMEOUT_IGNORED);
    glDeleteSync(picture.drawn);
    if (picture.swapInterval != swapInterval) {
        context->SetSwapInterval(picture.swapInterval);
        swapInterval = picture.swapInterval;
    }
    // Attached afresh every time: a renderbuffer deleted by the device (a reset) and its name
    // given again must not leave this framebuffer holding the old storage.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer);
    glFramebufferRenderbuffer(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              picture.colorRenderbuffer);
    BlitPictureToWindow(readFramebuffer, picture.width, picture.height, picture.drawableWidth,
                        picture.drawableHeight);
    glFramebufferRenderbuffer(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, 0);
    context->SwapBuffers();
    if (picture.paced) {
        pacer.AfterSwap();
    }
}
