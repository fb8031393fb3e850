#include "particles/particle_system.h"
#include "render/camera.h"
