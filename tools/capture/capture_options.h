// The capture tool's command line:
//   skimlark-capture --frames N [--hold KEY@FIRST-LAST]... [--clock-ms T]
//                    [--shot FRAME=FILE.png]... [--trace FILE.csv] [--particles FRAME=FILE.csv]...
//                    [--frame-times FILE.csv] [--stage-times FILE.csv]
// parsed into what the run needs; anything unusable is refused with a message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct KeyHold {
    uint8_t dikCode;
    int firstFrame;  // frames count from 1
    int lastFrame;   // inclusive
};

// A file written after a given frame: a shot or a particle dump.
struct FrameShot {
    int frame;
    std::string path;
};

struct CaptureOptions {
    int frames = 0;
    std::vector<KeyHold> holds;
    bool clockFixed = false;
    uint32_t clockMilliseconds = 0;
    std::vector<FrameShot> shots;
    std::string tracePath;       // empty: no trace
    std::string frameTimesPath;  // empty: none written
    std::string stageTimesPath;  // empty: stages not timed
    std::vector<FrameShot> particleDumps;
};

// False, with a one-line reason, when the arguments cannot be used.
bool ParseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions* options,
                         std::string* error);

// The DirectInput key codes held on a frame.
std::vector<uint8_t> KeysHeldOnFrame(const CaptureOptions& options, int frame);

extern const char kCaptureUsage[];
