// The capture tools' scripted pad: what the script holds on the coming frame, handed to the
// build's pad through the same path a real pad's state takes (an SDL virtual controller on Linux,
// a scripted XInput source on Windows), so that the game reads it with GamePadRead as it would a
// pad in a player's hands.
#pragma once

#include "platform/game_pad.h"

// Connects the scripted pad (once) and sets what it holds until the next call. Values outside
// their range are clamped to it.
void ScriptedGamePadSet(const GamePadState& state);
// Disconnects the scripted pad; safe when it is not connected.
void ScriptedGamePadRemove();
