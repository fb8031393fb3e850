// The capture tool's run on every build: parses the arguments, starts the game's own GameApp,
// runs its frames with the scripted keys and pad, writes shots, the trace and particle dumps, and
// prints the timing line. Exit codes: 0 when the frames ran (or the game quit itself), 1 when the
// game's start-up failed or an output could not be written, 2 for unusable arguments.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/capture/capture_host.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/frame_timing.h"

// The run in steps, for a build whose frames come one callback at a time: Begin, then Frame
// until it returns false, then Finish (only after Begin returned 0).
class CaptureRun {
public:
    // 0 once the game has started; otherwise the exit code, with nothing left to finish.
    int Begin(const std::vector<std::string>& arguments, CaptureHost* host);
    // Runs the next frame and writes what is due after it; false once no frame is to follow.
    bool Frame();
    // Writes the stage times, shuts the game down, prints the timing line; the exit code.
    int Finish();

private:
    bool OpenCsvs();
    bool CloseCsvs();
    bool StartGame();
    void WriteFrameOutputs(int frame);

    CaptureHost* host_ = nullptr;
    CaptureOptions options_;
    FILE* trace_ = nullptr;
    FILE* frameTimes_ = nullptr;
    FrameTiming timing_;
    double startupMs_ = 0.0;
    int framesRun_ = 0;
    bool writeFailed_ = false;
};

// The whole run in one call, for the builds that loop themselves.
int RunCapture(const std::vector<std::string>& arguments, CaptureHost* host);
