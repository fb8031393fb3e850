#include "platform/pace/present_pace.h"
