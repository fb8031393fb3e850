// The colour-keyed images: the tree, a falling leaf and the spray's glow. The game draws each on
// one triangle whose corners take texture coordinates (0,0), (1,0) and (1,1), so only the half of
// the image above its diagonal from top-left to bottom-right is ever seen, and everything there
// is painted. Pure black (0, 0, 0) is exactly what becomes transparent, so the background is pure
// black and nothing that should show is.
#pragma once

#include "tools/content/image.h"

namespace content {

// A palm leaning out of the lower right corner, its crown in the upper part of the image. The
// game stands the image on a point 8 units below its centre, so the trunk's foot, near the lower
// right corner, meets the ground to the viewer's right of that point.
Image PaintTree(int size);

// A pale leaf: the game tints it from orange to red through the vertex colour.
Image PaintLeaf(int size);

// A soft round glow, white in the middle: added to the scene tinted from dark red to orange.
Image PaintParticle(int size);

// True when every pixel wholly below the diagonal is pure black, so that nothing the game cannot
// draw is painted there.
bool IsKeyedBelowDiagonal(const Image& image);

}  // namespace content
