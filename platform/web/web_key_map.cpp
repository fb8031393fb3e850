#include "platform/web/web_key_map.h"

#include <cstring>

#include "platform/directinput8.h"

namespace {

struct KeyName {
    const char* code;
    BYTE dik;
};

// The keys the game steers and quits with; every other key stays the page's.
constexpr KeyName kKeyNames[] = {
    {"ArrowUp", DIK_UP},       {"ArrowDown", DIK_DOWN}, {"ArrowLeft", DIK_LEFT},
    {"ArrowRight", DIK_RIGHT}, {"Escape", DIK_ESCAPE},
};

}  // namespace

BYTE WebKeyCodeToDik(const char* code) {
    if (code == nullptr) {
        return 0;
    }
    for (const KeyName& name : kKeyNames) {
        if (std::strcmp(code, name.code) == 0) {
            return name.dik;
        }
    }
    return 0;
}
