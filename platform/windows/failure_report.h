// The Windows game's one-line failure, where its player can see it. A program of the Windows
// subsystem started from Explorer or a shortcut has no standard error stream: the line would be
// lost, so it is also shown in a message box. Started from a console, or with the stream
// redirected, only the line is written, as on Linux.
#pragma once

// `line` without its line end, e.g. `skimlark: cannot open "data/trees.ms3d"`.
void ReportFailureLine(const char* line);
