#include "platform/scripted_keyboard.h"

#include <array>

namespace {

std::array<bool, 256> heldKeys{};

}  // namespace

void ScriptedKeyboardSetHeld(BYTE dikCode, bool held) {
    heldKeys[dikCode] = held;
}

void ScriptedKeyboardReleaseAll() {
    heldKeys.fill(false);
}

bool ScriptedKeyboardHeld(BYTE dikCode) {
    return heldKeys[dikCode];
}
