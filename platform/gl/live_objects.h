// A count of the OpenGL layer's live objects (devices and their resources), so tests can check
// that nothing is left alive at teardown.
#pragma once

void CountGlObjectCreated();
void CountGlObjectDestroyed();
int LiveGlObjects();
