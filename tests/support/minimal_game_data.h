// A complete but tiny data/ directory in the current working directory: every file the game opens
// by name, as small images and models, so that tests can run the whole start-up and frame on the
// recording device in milliseconds.
#pragma once

#include <string>

#include "tools/content/ms3d_writer.h"

// The level written by WriteMinimalGameData: three groups of one triangle each, in the plane
// y = 0; group 1 names its texture with folders.
content::Ms3dFile MinimalLevel();

// Trees at (10, -2, 30), (-50, -2, 0) and (0, -2, -400), plus the unplanted last point.
content::Ms3dFile MinimalTrees();

// A solid-colour 8 x 8 bitmap.
bool WriteSolidBitmap(const std::string& path, int red, int green, int blue);

// False when a file cannot be written.
bool WriteMinimalGameData();
