#include "platform/web/web_page.h"

#include <emscripten/emscripten.h>

namespace {

// Each reaches the page's handler when it has one (the page may be a bare test harness).
EM_JS(void, JsGameStarted, (), {
    if (Module.onGameStarted)
        Module.onGameStarted();
});

// Counted for the page's tests of the pace.
EM_JS(void, JsFrameRan, (), { Module.skimlarkFramesRun = (Module.skimlarkFramesRun || 0) + 1; });

EM_JS(void, JsGameEnded, (int exitCode), {
    if (Module.onGameEnded)
        Module.onGameEnded(exitCode);
});

EM_JS(void, JsGameFailed, (const char* line), {
    var text = UTF8ToString(line);
    console.error(text);
    if (Module.onGameFailed)
        Module.onGameFailed(text);
});

}  // namespace

void WebPageGameStarted() {
    JsGameStarted();
}

void WebPageFrameRan() {
    JsFrameRan();
}

void WebPageGameEnded(int exitCode) {
    JsGameEnded(exitCode);
}

void WebPageGameFailed(const char* line) {
    JsGameFailed(line);
}
