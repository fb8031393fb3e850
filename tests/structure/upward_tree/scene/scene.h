#include "render/camera.h"
