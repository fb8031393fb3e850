// The capture tool's command line:
//   skimlark-capture --frames N [--hold KEY@FIRST-LAST]... [--stick X@FIRST-LAST]...
//                    [--trigger V@FIRST-LAST]... [--clock-ms T] [--shot FRAME=FILE.png]...
//                    [--trace FILE.csv] [--particles FRAME=FILE.csv]... [--frame-times FILE.csv]
//                    [--stage-times FILE.csv] [--paced] [--gles]
// parsed into what the run needs; anything unusable is refused with a message. KEY is a key of
// the keyboard or a button of the scripted game pad (PAD_A, PAD_LEFT, PAD_RIGHT, PAD_BACK).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/game_pad.h"

struct KeyHold {
    uint8_t dikCode;
    int firstFrame;  // frames count from 1
    int lastFrame;   // inclusive
};

enum class PadButton { kA, kDpadLeft, kDpadRight, kBack };

struct PadButtonHold {
    PadButton button;
    int firstFrame;
    int lastFrame;
};

// A pad axis kept at a value over frames: the left stick's x or the right trigger.
struct PadAxisSetting {
    float value;
    int firstFrame;
    int lastFrame;
};

// A file written after a given frame: a shot or a particle dump.
struct FrameShot {
    int frame;
    std::string path;
};

struct CaptureOptions {
    int frames = 0;
    std::vector<KeyHold> holds;
    std::vector<PadButtonHold> padHolds;
    std::vector<PadAxisSetting> sticks;    // -1 to 1
    std::vector<PadAxisSetting> triggers;  // 0 to 1, to XInput's nearest 1/255 step
    bool clockFixed = false;
    uint32_t clockMilliseconds = 0;
    std::vector<FrameShot> shots;
    std::string tracePath;       // empty: no trace
    std::string frameTimesPath;  // empty: none written
    std::string stageTimesPath;  // empty: stages not timed
    std::vector<FrameShot> particleDumps;
    bool paced = false;  // presents held to the display as the game's are
    bool gles = false;   // drawn on an OpenGL ES 3.0 context
};

// False, with a one-line reason, when the arguments cannot be used.
bool ParseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions* options,
                         std::string* error);

// The DirectInput key codes held on a frame.
std::vector<uint8_t> KeysHeldOnFrame(const CaptureOptions& options, int frame);

// The scripted pad on a frame: at rest where nothing is said; where several settings of one axis
// cover the frame, the last given counts.
GamePadState PadOnFrame(const CaptureOptions& options, int frame);

extern const char kCaptureUsage[];
