// The browser's entry point. The page (index.html) has put the data pack's files under data/ in
// the working directory and decoded its images before calling it. It starts the game on the
// page's canvas and hands the loop to the browser's frame callback: each callback that the pace
// lets through runs one game frame, and the browser shows it when the callback returns. main
// returns at once; the game lives on in the callbacks until it quits itself (Escape), when it is
// shut down and the page told. A start-up that fails tells the page why in one line.
#include <emscripten/html5.h>

#include <filesystem>
#include <string>

#include "app/game_app.h"
#include "app/startup_failure.h"
#include "platform/pace/callback_pacer.h"
#include "platform/posix/message_queue.h"
#include "platform/web/web_input.h"
#include "platform/web/web_page.h"

namespace {

CallbackPacer pacer;
// The canvas is the only window; the layers need a non-null handle for it.
char canvasWindow = 0;

EM_BOOL OnFrameCallback(double milliseconds, void*) {
    if (!pacer.RunsFrame(milliseconds)) {
        return EM_TRUE;
    }
    // A skipped frame (no focus) draws nothing; the callbacks keep coming at the display's rate.
    gameApp.Frame();
    WebPageFrameRan();
    int exitCode = 0;
    if (TakeQuitMessage(&exitCode)) {
        gameApp.Shutdown();
        WebPageGameEnded(exitCode);
        return EM_FALSE;
    }
    return EM_TRUE;
}

void Fail(const std::string& reason) {
    WebPageGameFailed(("skimlark: " + reason).c_str());
}

}  // namespace

int main(int, char**) {
    std::error_code error;
    if (!std::filesystem::is_directory("data", error)) {
        Fail(kNoDataDirectory);
        return 1;
    }
    WebInputListen();
    if (!gameApp.Init(reinterpret_cast<HWND>(&canvasWindow))) {
        Fail(DescribeStartupFailure(gameApp.FailedStep(), LastContentFailure()));
        gameApp.Shutdown();
        return 1;
    }
    WebPageGameStarted();
    emscripten_request_animation_frame_loop(OnFrameCallback, nullptr);
    return 0;
}
