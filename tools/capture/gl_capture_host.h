// What the capture tools of the OpenGL build share, whether they draw headless or in the game's
// window: shots read from the layer's own back buffer once the frame is over (it keeps it after
// the present), and stage timing through the tools' StageTimingDevice.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gl/gl_context_request.h"
#include "tools/capture/capture_host.h"
#include "tools/capture/stage_timer.h"
#include "tools/capture/stage_timing_device.h"

class GlCaptureHost : public CaptureHost {
public:
    bool UseEsContext() override {
        GlRequestEsContext(true);
        return true;
    }
    void RequestShot() override {}
    bool TakeShot(std::vector<uint8_t>* rgba, int* width, int* height) override;
    double ShotMillisecondsInFrame() const override { return 0.0; }
    bool CanTimeStages() const override { return true; }
    void StartStageTiming() override;
    bool WriteStageTimes(const std::string& path) override;

private:
    // The game's device once it has started; null before.
    static StageTimingDevice* Device();

    std::unique_ptr<StageTimer> stageTimer;
};
