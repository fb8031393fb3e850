#include "platform/gl/gl_back_buffer.h"

#include <cstddef>

#include "platform/gl/gl_window_blit.h"

GlBackBuffer::~GlBackBuffer() {
    Destroy();
}

bool GlBackBuffer::Create(int newWidth, int newHeight, bool withDepth, D3DFORMAT depthFormat,
                          int colorBuffers) {
    Destroy();
    width = newWidth;
    height = newHeight;
    colorBufferCount = colorBuffers == 2 ? 2 : 1;

    if (withDepth) {
        // The depth's precision decides which of two nearly touching surfaces shows (a leaf just
        // in front of a palm frond), so D16 keeps its 16 bits, as Direct3D's does.
        glGenRenderbuffers(1, &depthRenderbuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, depthRenderbuffer);
        glRenderbufferStorage(
            GL_RENDERBUFFER,
            depthFormat == D3DFMT_D24X8 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16, width,
            height);
    }
    bool complete = true;
    glGenFramebuffers(colorBufferCount, framebuffers);
    glGenRenderbuffers(colorBufferCount, colorRenderbuffers);
    for (int i = 0; i < colorBufferCount; ++i) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[i]);
        // No alpha channel, as with the desktop's X8R8G8B8: destination alpha then reads as 1.
        glBindRenderbuffer(GL_RENDERBUFFER, colorRenderbuffers[i]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  colorRenderbuffers[i]);
        if (depthRenderbuffer != 0) {
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                      depthRenderbuffer);
        }
        complete = complete && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    drawing = 0;
    pictureElsewhere = false;
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
    for (int i = 0; i < 2; ++i) {
        if (colorRenderbuffers[i] != 0) {
            glDeleteRenderbuffers(1, &colorRenderbuffers[i]);
            colorRenderbuffers[i] = 0;
        }
        if (framebuffers[i] != 0) {
            glDeleteFramebuffers(1, &framebuffers[i]);
            framebuffers[i] = 0;
        }
    }
    colorBufferCount = 0;
}

void GlBackBuffer::Abandon() {
    framebuffers[0] = framebuffers[1] = 0;
    colorRenderbuffers[0] = colorRenderbuffers[1] = 0;
    depthRenderbuffer = 0;
    colorBufferCount = 0;
}

void GlBackBuffer::Bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[drawing]);
}

void GlBackBuffer::BlitToWindow(int drawableWidth, int drawableHeight) const {
    BlitPictureToWindow(framebuffers[Showing()], width, height, drawableWidth, drawableHeight);
    Bind();
}

GLuint GlBackBuffer::TakePicture() {
    const int picture = Showing();
    if (colorBufferCount == 2) {
        drawing = 1 - picture;
        pictureElsewhere = true;
        Bind();
    }
    return colorRenderbuffers[picture];
}

bool GlBackBuffer::PrepareToDraw(bool clearsWholePicture) {
    if (!pictureElsewhere) {
        return false;
    }
    pictureElsewhere = false;
    if (clearsWholePicture) {
        return false;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers[1 - drawing]);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffers[drawing]);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    Bind();
    return true;
}

void GlBackBuffer::ReadPixels(std::vector<uint8_t>* rgba) const {
    // The picture is stored top row first already.
    rgba->resize(static_cast<size_t>(width) * 4 * static_cast<size_t>(height));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers[Showing()]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffers[drawing]);
}
