// What the game tells the page around it (index.html): that it started, ended or failed.
#pragma once

// The game's first frame is about to run.
void WebPageGameStarted();
// A callback ran a game frame.
void WebPageFrameRan();
// The game ended itself (Escape, or the pad's Back) with this exit code.
void WebPageGameEnded(int exitCode);
// The game could not start: one line in the native build's words ("skimlark: ...").
void WebPageGameFailed(const char* line);
