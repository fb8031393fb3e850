// Paints an image's rows on every core. Each pixel depends only on its own coordinates, so the
// result is the same whatever the number of threads.
#pragma once

#include <functional>

#include "tools/content/image.h"

namespace content {

// Calls paint(x, y) for every pixel and stores its colour.
void PaintImage(Image* image, const std::function<Color(int x, int y)>& paint);

}  // namespace content
