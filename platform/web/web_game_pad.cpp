// The game pad in the browser: the first connected pad of the Gamepad API with the "standard"
// mapping (other layouts number their buttons as they like). The capture mode's scripted pad is a
// pad of the same shape that this read finds first, so that the game reads it as it reads a real
// one.
#include <emscripten/emscripten.h>

#include "platform/game_pad.h"
#include "platform/scripted_game_pad.h"

namespace {

// The fields of GamePadState, in this order, as the page reads them.
struct PadReading {
    int connected;
    int southButton;
    int backButton;
    int dpadLeft;
    int dpadRight;
    float leftStickX;
    float rightTrigger;
};

// The standard mapping's buttons 0 (A), 7 (right trigger), 8 (Back/Select), 14 and 15 (d-pad left
// and right), and its axis 0 (left stick x).
EM_JS(void, WebReadFirstPad, (PadReading * reading), {
    var pads = [];
    if (Module.skimlarkScriptedPad) {
        pads.push(Module.skimlarkScriptedPad);
    }
    if (navigator.getGamepads) {
        try {
            pads = pads.concat(Array.prototype.slice.call(navigator.getGamepads()));
        } catch (e) {
        }
    }
    var pad = pads.find(function(p) { return p && p.connected && p.mapping == "standard"; });
    var out = reading >> 2;
    HEAP32[out] = pad ? 1 : 0;
    if (!pad) {
        return;
    }
    var pressed = function(i) {
        var b = pad.buttons[i];
        return b && b.pressed ? 1 : 0;
    };
    HEAP32[out + 1] = pressed(0);
    HEAP32[out + 2] = pressed(8);
    HEAP32[out + 3] = pressed(14);
    HEAP32[out + 4] = pressed(15);
    HEAPF32[out + 5] = pad.axes.length > 0 ? pad.axes[0] : 0;
    HEAPF32[out + 6] = pad.buttons[7] ? pad.buttons[7].value : 0;
});

EM_JS(void, WebSetScriptedPad, (const PadReading* reading), {
    var at = reading >> 2;
    var button = function(pressed, value) {
        return {pressed : pressed != 0, value : value};
    };
    var buttons = [];
    for (var i = 0; i < 17; ++i) {
        buttons.push(button(0, 0));
    }
    buttons[0] = button(HEAP32[at + 1], HEAP32[at + 1]);
    buttons[8] = button(HEAP32[at + 2], HEAP32[at + 2]);
    buttons[14] = button(HEAP32[at + 3], HEAP32[at + 3]);
    buttons[15] = button(HEAP32[at + 4], HEAP32[at + 4]);
    buttons[7] = button(HEAPF32[at + 6] > 0 ? 1 : 0, HEAPF32[at + 6]);
    Module.skimlarkScriptedPad = {
        id : "scripted",
        index : 0,
        connected : true,
        mapping : "standard",
        buttons : buttons,
        axes : [ HEAPF32[at + 5], 0, 0, 0 ]
    };
});

EM_JS(void, WebRemoveScriptedPad, (), { delete Module.skimlarkScriptedPad; });

float Clamp(float value, float low, float high) {
    return value < low ? low : (value > high ? high : value);
}

}  // namespace

void GamePadOpen() {}

void GamePadRead(GamePadState* state) {
    PadReading reading{};
    WebReadFirstPad(&reading);
    *state = GamePadState{};
    if (reading.connected == 0) {
        return;
    }
    state->southButton = reading.southButton != 0;
    state->backButton = reading.backButton != 0;
    state->dpadLeft = reading.dpadLeft != 0;
    state->dpadRight = reading.dpadRight != 0;
    state->leftStickX = Clamp(reading.leftStickX, -1.0f, 1.0f);
    state->rightTrigger = Clamp(reading.rightTrigger, 0.0f, 1.0f);
}

void GamePadClose() {}

void ScriptedGamePadSet(const GamePadState& state) {
    const PadReading reading{1,
                             state.southButton ? 1 : 0,
                             state.backButton ? 1 : 0,
                             state.dpadLeft ? 1 : 0,
                             state.dpadRight ? 1 : 0,
                             Clamp(state.leftStickX, -1.0f, 1.0f),
                             Clamp(state.rightTrigger, 0.0f, 1.0f)};
    WebSetScriptedPad(&reading);
}

void ScriptedGamePadRemove() {
    WebRemoveScriptedPad();
}
