// The canvas's part in presents, which the browser build's entries choose before the game starts.
#pragma once

// Whether presents show the picture on the canvas (the game), or only finish the frame, as the
// headless build's do (the capture mode: its frame times then cover the drawing, which WebGL
// otherwise runs on after the call returns).
void WebSurfaceShowPresents(bool show);
