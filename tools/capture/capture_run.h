// The capture tool's run on either build: parses the arguments, starts the game's own GameApp,
// runs its frames with the scripted keys and pad, writes shots, the trace and particle dumps, and
// prints the timing line. Returns the tool's exit code: 0 when the frames ran (or the game quit
// itself), 1 when the game's start-up failed or an output could not be written, 2 for unusable
// arguments.
#pragma once

#include <string>
#include <vector>

#include "tools/capture/capture_host.h"

int RunCapture(const std::vector<std::string>& arguments, CaptureHost* host);
