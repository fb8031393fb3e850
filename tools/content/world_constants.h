// The facts of the game that the content must be made for: heights of the sea, where the player
// starts and drifts, where the spray rises, and the size of the sky cube. The game defines them;
// the content tool only has to agree with them.
#pragma once

namespace content {

// Heights (world y).
const float kWaterHeight = -2.0f;
const float kSandHeight = -4.9f;
// A surface at or above this height under the player blocks its move.
const float kBlockingHeight = -4.0f;

// The water and sand squares are this wide, centred on the origin.
const float kSeaSize = 1000.0f;

// Player start and its current: 0.1 units per frame along +x.
const float kStartX = -3.0f;
const float kStartZ = -10.0f;
const float kDriftPerFrame = 0.1f;

// The glowing spray rises from here with a spread of 5 on each axis.
const float kSprayX = -40.0f;
const float kSprayY = 30.0f;
const float kSprayZ = 10.0f;

// The sky cube's edge; it travels with the camera, so nothing farther than half of it along an
// axis is seen.
const float kSkySize = 500.0f;

}  // namespace content
