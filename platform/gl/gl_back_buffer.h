// The device's back buffer: an offscreen colour and depth target of the size the device was
// created with, holding the picture top row first (window row 0 is Direct3D's row 0). Presenting
// scales it into the window's drawable, flipped and letterboxed, so that a full-screen device never
// changes the display mode; the capture tool reads it back top row first.
//
// When the device presents from another thread, the back buffer has two colour buffers sharing
// one depth buffer: a presented picture goes to the presenter while drawing moves on to the other
// buffer. The picture stays what the back buffer holds, as Direct3D keeps it after a present: it
// is copied across before anything draws over it, unless a clear of the whole picture comes first.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/direct3d8.h"
#include "platform/gl/gl_api.h"

class GlBackBuffer {
public:
    GlBackBuffer() = default;
    ~GlBackBuffer();
    GlBackBuffer(const GlBackBuffer&) = delete;
    GlBackBuffer& operator=(const GlBackBuffer&) = delete;

    // With a depth buffer of the device's automatic depth format: D24X8 gets 24 bits, anything
    // else 16, as D16 has on Direct3D. `colorBuffers` is 1, or 2 for presenting from a thread.
    bool Create(int width, int height, bool withDepth, D3DFORMAT depthFormat, int colorBuffers);
    void Destroy();
    // Forgets the OpenGL objects without deleting them: their context is already gone.
    void Abandon();
    // Binds the framebuffer drawn into.
    void Bind() const;

    int Width() const { return width; }
    int Height() const { return height; }
    bool HasDepth() const { return depthRenderbuffer != 0; }

    // Copies the back buffer into the default framebuffer of the given size, centred, keeping its
    // aspect ratio, with black bars where the shapes differ.
    void BlitToWindow(int drawableWidth, int drawableHeight) const;

    // With two colour buffers: the colour buffer holding the picture, for the presenter; drawing
    // moves on to the other one.
    GLuint TakePicture();
    // Before drawing: brings the picture over to the buffer drawn into, unless the drawing is a
    // clear of every colour channel of the whole picture. True when it copied, which leaves every
    // colour channel writable and the scissor test off.
    bool PrepareToDraw(bool clearsWholePicture);

    // Reads the whole back buffer as RGBA bytes, top row first.
    void ReadPixels(std::vector<uint8_t>* rgba) const;

private:
    int Showing() const { return pictureElsewhere ? 1 - drawing : drawing; }

    GLuint framebuffers[2] = {0, 0};
    GLuint colorRenderbuffers[2] = {0, 0};
    GLuint depthRenderbuffer = 0;
    int colorBufferCount = 0;
    int drawing = 0;  // the colour buffer drawn into
    // The back buffer's picture is still in the other colour buffer.
    bool pictureElsewhere = false;
    int width = 0;
    int height = 0;
};
