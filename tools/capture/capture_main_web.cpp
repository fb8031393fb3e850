// skimlark-capture in the browser: the page's capture mode (?capture=ARGUMENTS) runs it with the
// tool's own command line once the data is in place. The run is the tool's, unpaced, on the page's
// WebGL 2 canvas, each present waiting for its frame as the headless build's do; with the
// scripted keyboard and a scripted pad read through the Gamepad API's path. The files it
// writes stay in the working directory for the page to hand over.
#include <string>
#include <vector>

#include "platform/posix/message_queue.h"
#include "platform/posix/system_clock.h"
#include "platform/web/web_input.h"
#include "platform/web/web_page.h"
#include "platform/web/web_surface.h"
#include "tools/capture/capture_run.h"
#include "tools/capture/gl_capture_host.h"

namespace {

class WebCaptureHost final : public GlCaptureHost {
public:
    // The canvas is the only window; any distinct non-null handle serves.
    HWND Window() override { return reinterpret_cast<HWND>(&canvasWindow); }
    void FixClock(uint32_t milliseconds) override { FixSystemClock(milliseconds); }
    bool TakeQuitMessage() override { return ::TakeQuitMessage(nullptr); }

private:
    char canvasWindow = 0;
};

}  // namespace

int main(int argc, char** argv) {
    WebInputUseScript(true);
    WebSurfaceFinishPresents(true);
    WebCaptureHost host;
    const int exitCode = RunCapture(std::vector<std::string>(argv + 1, argv + argc), &host);
    WebPageGameEnded(exitCode);
    return exitCode;
}
