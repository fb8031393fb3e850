// The resource ids that skimlark.exe's resource script and its window class share. Plain macros:
// the resource compiler reads this file too.
#pragma once

// The game's icon group. Explorer shows the group with the lowest id as the program's own.
#define SKIMLARK_ICON_RESOURCE 1
