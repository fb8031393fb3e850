#include "platform/gl/gl_back_buffer.h"

#include <cstddef>

#include "platform/gl/gl_window_blit.h"

GlBackBuffer::~GlBackBuffer() {
    Destroy();
}

bool GlBackBuffer::Create(int newWidth, int newHeight, bool withDepth, D3DFORMAT depthFormat) {
    Destroy();
    width = newWidth;
    height = newHeight;

    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);

    // No alpha channel, as with the desktop's X8R8G8B8: destination alpha then reads as 1.
    glGenRenderbuffers(1, &colorRenderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, colorRenderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              colorRenderbuffer);

    if (withDepth) {
        // The depth's precision decides which of two nearly touching surfaces shows (a leaf just
        // in front of a palm frond), so D16 keeps its 16 bits, as Direct3D's does.
        glGenRenderbuffers(1, &depthRenderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
        glRenderbufferStorage(
            GL_RENDERBUFFER,
            depthFormat == D3DFMT_D24X8 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16, width,
            height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  depthRenderbuffer);
    }

    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete) {
        Destroy();
    }
    return complete;
}

void GlBackBuffer::Destroy() {
    if (depthRenderbuffer != 0) {
        glDeleteRenderbuffers(1, &depthRenderbuffer);
        depthRenderbuffer = 0;
    }
    if (colorRenderbuffer != 0) {
        glDeleteRenderbuffers(1, &colorRenderbuffer);
        colorRenderbuffer = 0;
    }
    if (framebuffer != 0) {
        glDeleteFramebuffers(1, &framebuffer);
        framebuffer = 0;
    }
}

void GlBackBuffer::Abandon() {
    framebuffer = 0;
    colorRenderbuffer = 0;
    depthRenderbuffer = 0;
}

void GlBackBuffer::Bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

void GlBackBuffer::BlitToWindow(int drawableWidth, int drawableHeight) const {
    BlitPictureToWindow(framebuffer, width, height, drawableWidth, drawableHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

void GlBackBuffer::ReadPixels(std::vector<uint8_t>* rgba) const {
    // The picture is stored top row first already.
    rgba->resize(static_cast<size_t>(width) * 4 * static_cast<size_t>(height));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
}
