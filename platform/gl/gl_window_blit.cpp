#include "platform/gl/gl_window_blit.h"

#include <cstdint>

WindowPlacement PlacePicture(int pictureWidth, int pictureHeight, int drawableWidth,
                             int drawableHeight) {
    int width = drawableWidth;
    int height =
        static_cast<int>(static_cast<int64_t>(drawableWidth) * pictureHeight / pictureWidth);
    if (height > drawableHeight) {
        height = drawableHeight;
        width =
            static_cast<int>(static_cast<int64_t>(drawableHeight) * pictureWidth / pictureHeight);
    }
    return WindowPlacement{(drawableWidth - width) / 2, (drawableHeight - height) / 2, width,
                           height};
}

void BlitPictureToWindow(GLuint readFramebuffer, int pictureWidth, int pictureHeight,
                         int drawableWidth, int drawableHeight) {
    if (drawableWidth <= 0 || drawableHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
        return;
    }
    const WindowPlacement to =
        PlacePicture(pictureWidth, pictureHeight, drawableWidth, drawableHeight);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    // Only the bars are cleared: the picture covers the rest. They lie either side of it, or
    // above and below.
    if (to.width < drawableWidth || to.height < drawableHeight) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glEnable(GL_SCISSOR_TEST);
        if (to.width < drawableWidth) {
            glScissor(0, 0, to.left, drawableHeight);
            glClear(GL_COLOR_BUFFER_BIT);
            glScissor(to.left + to.width, 0, drawableWidth - to.left - to.width, drawableHeight);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        if (to.height < drawableHeight) {
            glScissor(0, 0, drawableWidth, to.bottom);
            glClear(GL_COLOR_BUFFER_BIT);
            glScissor(0, to.bottom + to.height, drawableWidth,
                      drawableHeight - to.bottom - to.height);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer);
    const bool sameSize = to.width == pictureWidth && to.height == pictureHeight;
    // Row 0 is the top of the picture, and the top of the window has the highest y: flipped.
    glBlitFramebuffer(0, 0, pictureWidth, pictureHeight, to.left, to.bottom + to.height,
                      to.left + to.width, to.bottom, GL_COLOR_BUFFER_BIT,
                      sameSize ? GL_NEAREST : GL_LINEAR);
}
