#include "tools/capture/particle_dump.h"

#include <string>

void WriteParticleRows(std::FILE* file, const char* emitter, const ParticleSystem& system) {
    const Particle* particles = system.Particles();
    if (particles == nullptr) {
        return;
    }
    for (int32_t i = 0; i < system.Settings().count; ++i) {
        const Particle& p = particles[i];
        if (p.alive == 0) {
            continue;
        }
        std::fprintf(file, "%s,%d,%.9g,%.9g,%.9g\n", emitter, static_cast<int>(i), p.position.x,
                     p.position.y, p.position.z);
    }
}

void WriteParticleDump(std::FILE* file, const Scene& scene) {
    std::fprintf(file, "emitter,particle,x,y,z\n");
    WriteParticleRows(file, "spray", scene.Spray());
    const TreeField& trees = scene.Trees();
    for (int32_t i = 0; i < trees.TreeCount(); ++i) {
        const std::string name = "tree" + std::to_string(i);
        WriteParticleRows(file, name.c_str(), trees.Tree(i).leaves);
    }
}
