// skimlark-capture: runs the game's own GameApp on the headless build (EGL without a surface) in
// the current directory, with a scripted keyboard, a scripted pad (an SDL virtual controller, read
// through the game's own SDL2 pad) and a fixed or real clock, for a given number of frames; writes
// PNG shots of presented frames, a per-frame CSV trace of the player and particle dumps, and prints
// its timing as the last line:
//   startup_ms=S frames=N frame_ms_median=M frame_ms_p99=P
// Exit code 0 when the frames ran (or the game quit itself), 1 when the game's start-up failed,
// 2 for unusable arguments. Presents are not paced: the loop runs as fast as it draws.
#include <string>
#include <vector>

#include "platform/posix/message_queue.h"
#include "platform/posix/system_clock.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/gl_capture_host.h"

namespace {

class HeadlessCaptureHost final : public GlCaptureHost {
public:
    // The headless surface ignores the window; any distinct non-null handle serves.
    HWND Window() override { return reinterpret_cast<HWND>(&headlessWindow); }
    void FixClock(uint32_t milliseconds) override { FixSystemClock(milliseconds); }
    bool TakeQuitMessage() override { return ::TakeQuitMessage(nullptr); }

private:
    char headlessWindow = 0;
};

}  // namespace

int main(int argc, char** argv) {
    HeadlessCaptureHost host;
    return RunCapture(std::vector<std::string>(argv + 1, argv + argc), &host);
}
