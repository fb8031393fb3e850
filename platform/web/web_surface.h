// The canvas's part in presents, which the browser build's entries choose before the game starts.
#pragma once

// Whether each present waits until its frame is drawn, as a headless present's glFinish does (the
// capture mode, whose frame times must cover the drawing). WebGL runs the drawing on after the
// calls return, and its finish does not wait for it; a read of one pixel of the shown picture
// does.
void WebSurfaceFinishPresents(bool finish);
