// Puts the device's picture on the window: scaled into the drawable with its shape kept, centred,
// flipped (the picture is stored top row first, the window's rows run bottom up), black bars
// where the shapes differ.
#pragma once

#include "platform/gl/gl_api.h"

// Where the picture goes in a drawable of the given size: the largest rectangle of the picture's
// shape that fits, centred. Window coordinates (y up).
struct WindowPlacement {
    int left;
    int bottom;
    int width;
    int height;
};
WindowPlacement PlacePicture(int pictureWidth, int pictureHeight, int drawableWidth,
                             int drawableHeight);

// Draws the picture of `readFramebuffer` into the default framebuffer and blackens the bars. Leaves
// the default framebuffer bound for drawing, the scissor test off and every colour channel
// writable.
void BlitPictureToWindow(GLuint readFramebuffer, int pictureWidth, int pictureHeight,
                         int drawableWidth, int drawableHeight);
