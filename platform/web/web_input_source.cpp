// The DirectInput objects' input in the browser: the page's key events on the window, and its
// focus. The capture mode plays a script instead, through the headless build's key table, and
// then stands in the foreground like the headless build. The mouse never moves: the game does
// not steer with it.
#include <emscripten/html5.h>

#include <cstring>

#include "platform/dinput/input_source.h"
#include "platform/scripted_keyboard.h"
#include "platform/web/web_input.h"
#include "platform/web/web_key_map.h"

namespace {

BYTE pageKeys[256] = {};
bool scripted = false;
bool pageFocused = true;
DWORD focusLosses = 0;

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    const BYTE dik = WebKeyCodeToDik(event->code);
    if (dik == 0) {
        return EM_FALSE;  // the page's own keys (F for full screen) go on to the page
    }
    pageKeys[dik] = eventType == EMSCRIPTEN_EVENT_KEYDOWN ? 0x80 : 0;
    return EM_TRUE;  // no scrolling on the arrows
}

EM_BOOL OnFocus(int eventType, const EmscriptenFocusEvent*, void*) {
    const bool focused = eventType == EMSCRIPTEN_EVENT_FOCUS;
    if (pageFocused && !focused) {
        ++focusLosses;
        // Keys released while away never send their key-up here.
        std::memset(pageKeys, 0, sizeof(pageKeys));
    }
    pageFocused = focused;
    return EM_FALSE;
}

}  // namespace

void WebInputListen() {
    const char* target = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(target, nullptr, EM_FALSE, OnKey);
    emscripten_set_keyup_callback(target, nullptr, EM_FALSE, OnKey);
    emscripten_set_focus_callback(target, nullptr, EM_FALSE, OnFocus);
    emscripten_set_blur_callback(target, nullptr, EM_FALSE, OnFocus);
}

void WebInputUseScript(bool useScript) {
    scripted = useScript;
}

void InputSourceOpen() {}

bool InputSourceHasFocus(HWND window) {
    return window != nullptr && (scripted || pageFocused);
}

DWORD InputSourceFocusLosses() {
    return scripted ? 0 : focusLosses;
}

void InputSourceReadKeys(BYTE keys[256]) {
    for (int code = 0; code < 256; ++code) {
        const bool held =
            scripted ? ScriptedKeyboardHeld(static_cast<BYTE>(code)) : pageKeys[code] != 0;
        keys[code] = held ? 0x80 : 0;
    }
}

void InputSourceTakeMouse(DIMOUSESTATE* state) {
    std::memset(state, 0, sizeof(*state));
}

void InputSourceHidePointer(bool) {}
