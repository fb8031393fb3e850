// What the capture run needs from the build it runs on: the window the game starts in, the fixed
// clock, the picture of a frame and the quit message. The headless build and the Windows build
// each give one; everything else of the run is shared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

class CaptureHost {
public:
    virtual ~CaptureHost() = default;

    // The window the game is started with; null when the build could not make one.
    virtual HWND Window() = 0;
    virtual void FixClock(uint32_t milliseconds) = 0;
    // Presents held to the display as the game's are (--paced), where the build shows frames
    // on a display; asked for before the game starts.
    virtual bool CanPace() const { return false; }
    // Asks for an OpenGL ES 3.0 context for the game's device; false where the build has none.
    virtual bool UseEsContext() { return false; }
    virtual void UseGamePacing() {}
    // Called once the game's start-up has succeeded, before its first frame.
    virtual void GameStarted() {}
    // Asks for the picture of the next frame: a build that must read it before the present
    // gets ready to.
    virtual void RequestShot() = 0;
    // The picture of the frame just run, RGBA, top row first; false when it could not be read.
    virtual bool TakeShot(std::vector<uint8_t>* rgba, int* width, int* height) = 0;
    // How much of the last frame's time went on reading its picture inside the frame: the tool's
    // own work, left out of the frame times.
    virtual double ShotMillisecondsInFrame() const = 0;
    // Stage timing (StageTimer) where the build can: started once the game has started, written
    // and stopped before the game shuts down.
    virtual bool CanTimeStages() const { return false; }
    virtual void StartStageTiming() {}
    virtual bool WriteStageTimes(const std::string&) { return false; }
    // Handles whatever the window system has for the process; true once the game has asked to
    // quit, after which no frame runs.
    virtual bool TakeQuitMessage() = 0;
};
