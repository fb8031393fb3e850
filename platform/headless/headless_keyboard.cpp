#include "platform/headless/headless_keyboard.h"

#include <array>

namespace {

std::array<bool, 256> heldKeys{};

}  // namespace

void HeadlessSetKeyHeld(BYTE dikCode, bool held) {
    heldKeys[dikCode] = held;
}

void HeadlessReleaseAllKeys() {
    heldKeys.fill(false);
}

bool HeadlessKeyHeld(BYTE dikCode) {
    return heldKeys[dikCode];
}
