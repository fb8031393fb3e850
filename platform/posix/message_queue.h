// The quit message of the builds without Win32: PostQuitMessage leaves it here, and the entry's
// event pump takes it as its WM_QUIT. Only the entry points and tests include this.
#pragma once

// True, with the code given to PostQuitMessage, when a quit message was waiting; it is removed.
bool TakeQuitMessage(int* exitCode);
