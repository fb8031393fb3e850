// The device's back buffer: an offscreen colour and depth target of the size the device was
// created with, holding the picture top row first (window row 0 is Direct3D's row 0). Presenting
// scales it into the window's drawable, flipped and letterboxed, so that a full-screen device never
// changes the display mode; the capture tool reads it back top row first.
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
    // else 16, as D16 has on Direct3D.
    bool Create(int width, int height, bool withDepth, D3DFORMAT depthFormat);
    void Destroy();
    // Forgets the OpenGL objects without deleting them: their context is already gone.
    void Abandon();
    void Bind() const;

    int Width() const { return width; }
    int Height() const { return height; }
    bool HasDepth() const { return depthRenderbuffer != 0; }

    // Copies the back buffer into the default framebuffer of the given size, centred, keeping its
    // aspect ratio, with black bars where the shapes differ.
    void BlitToWindow(int drawableWidth, int drawableHeight) const;

    // Reads the whole back buffer as RGBA bytes, top row first.
    void ReadPixels(std::vector<uint8_t>* rgba) const;

private:
    GLuint framebuffer = 0;
    GLuint colorRenderbuffer = 0;
    GLuint depthRenderbuffer = 0;
    int width = 0;
    int height = 0;
};
