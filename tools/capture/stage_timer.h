// Where a frame's time goes on the OpenGL build, stage by stage in the scene's fixed order: the
// frame's start (input, camera, clear), the level, the sand and water, the trees, their leaves, the
// sky, the spray and the presentation. At each change of stage the drawing so far is finished
// (glFinish) before the clock is read, so a stage's time is what its own drawing costs, the
// game's work between its draws included, with nothing overlapping it: the stages add up to more
// than an unmeasured frame, where the rasteriser works while the game goes on.
#pragma once

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "platform/direct3d8.h"

// Told of the draws and presents by the tools' StageTimingDevice.
class StageTimer final {
public:
    enum Stage { kStart, kLevel, kWater, kTrees, kLeaves, kSky, kSpray, kPresent, kStageCount };
    using Times = std::array<double, kStageCount>;  // milliseconds

    StageTimer();
    StageTimer(const StageTimer&) = delete;
    StageTimer& operator=(const StageTimer&) = delete;

    // A draw about to be made with this vertex format and primitive type.
    void BeforeDraw(DWORD fvf, D3DPRIMITIVETYPE type);
    void BeforePresent();
    // Once the present has returned.
    void AfterPresent();

    // One entry per frame presented.
    const std::vector<Times>& Frames() const { return frames; }
    // frame,start,level,water,trees,leaves,sky,spray,present; false when it could not be written.
    bool Write(const std::string& path) const;

private:
    using Clock = std::chrono::steady_clock;
    void Enter(Stage next);

    Stage current;
    Clock::time_point since;
    Times frame;
    bool treesDrawn;
    bool skyDrawn;
    std::vector<Times> frames;
};
