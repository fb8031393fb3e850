#include "tools/capture/stage_timer.h"

#include <cstdio>

#include "platform/gl/gl_api.h"

namespace {

// The scene's vertex formats: the level's, the sky's and the one every other part draws with.
constexpr DWORD kLevelFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
constexpr DWORD kSkyFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr DWORD kColorFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;

}  // namespace

StageTimer::StageTimer()
    : current(kStart), since(Clock::now()), frame{}, treesDrawn(false), skyDrawn(false) {}

void StageTimer::Enter(Stage next) {
    if (next == current) {
        return;
    }
    glFinish();
    const Clock::time_point now = Clock::now();
    frame[current] += std::chrono::duration<double, std::milli>(now - since).count();
    since = now;
    current = next;
}

void StageTimer::BeforeDraw(DWORD fvf, D3DPRIMITIVETYPE type) {
    // The scene's order tells its parts apart: the sand and the water are strips, the trees one
    // list, each tree's leaves a list of their own, and the spray's list comes after the sky.
    Stage stage = current;
    if (fvf == kLevelFvf) {
        stage = kLevel;
    } else if (fvf == kSkyFvf) {
        stage = kSky;
        skyDrawn = true;
    } else if (fvf == kColorFvf) {
        if (type == D3DPT_TRIANGLESTRIP) {
            stage = kWater;
        } else if (skyDrawn) {
            stage = kSpray;
        } else if (!treesDrawn) {
            stage = kTrees;
            treesDrawn = true;
        } else {
            stage = kLeaves;
        }
    }
    Enter(stage);
}

void StageTimer::BeforePresent() {
    Enter(kPresent);
}

void StageTimer::AfterPresent() {
    Enter(kStart);
    frames.push_back(frame);
    frame = Times{};
    treesDrawn = false;
    skyDrawn = false;
}

bool StageTimer::Write(const std::string& path) const {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fputs("frame,start,level,water,trees,leaves,sky,spray,present\n", file);
    for (size_t i = 0; i < frames.size(); ++i) {
        std::fprintf(file, "%zu", i + 1);
        for (double ms : frames[i]) {
            std::fprintf(file, ",%.3f", ms);
        }
        std::fputc('\n', file);
    }
    return std::fclose(file) == 0;
}
