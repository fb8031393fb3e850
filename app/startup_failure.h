// The one line a process entry prints when the game could not start: the content file that
// stopped it, with its path, or else the start-up step that failed. The game itself never
// prints; the entries, which know where their output goes, do.
#pragma once

#include <string>

#include "app/game_app.h"
#include "d3dx/content_failure.h"

// Without the program's name or a line end, e.g. `cannot open "data/trees.ms3d"`.
std::string DescribeStartupFailure(GameApp::StartupStep step, const ContentFailure& content);

// When no folder holds data/ at all.
extern const char kNoDataDirectory[];
