// The particle dump of the capture tool: every live particle of the spray and of each tree's
// leaves, as CSV with the header `emitter,particle,x,y,z`. The emitter is `spray` or `treeN` (N
// the tree's index), the particle its slot in the emitter; positions are in the emitter's own
// space, with nine significant digits, so that every float is given back exactly and two dumps
// agree byte for byte exactly when the positions do.
#pragma once

#include <cstdio>

#include "particles/particle_system.h"
#include "scene/scene.h"

void WriteParticleRows(std::FILE* file, const char* emitter, const ParticleSystem& system);
void WriteParticleDump(std::FILE* file, const Scene& scene);
