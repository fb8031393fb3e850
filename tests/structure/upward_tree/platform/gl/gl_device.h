#include "platform/sdl/display_rate.h"
#include "platform/pace/present_pace.h"
