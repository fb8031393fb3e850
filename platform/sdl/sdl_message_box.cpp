// MessageBoxA on SDL2: a simple modal box with one button.
#include <SDL.h>

#include "platform/win32.h"

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption != nullptr ? caption : "",
                             text != nullptr ? text : "", reinterpret_cast<SDL_Window*>(owner));
    return IDOK;
}
