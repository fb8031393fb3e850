#include "tools/capture/gl_capture_host.h"

#include "app/game_app.h"
#include "platform/gl/gl_device.h"

StageTimingDevice* GlCaptureHost::Device() {
    return dynamic_cast<StageTimingDevice*>(gameApp.GetDevice());
}

bool GlCaptureHost::TakeShot(std::vector<uint8_t>* rgba, int* width, int* height) {
    StageTimingDevice* device = Device();
    GlDevice* layer = device != nullptr ? dynamic_cast<GlDevice*>(device->Layer()) : nullptr;
    if (layer == nullptr) {
        return false;
    }
    layer->ReadBackBuffer(rgba, width, height);
    return true;
}

void GlCaptureHost::StartStageTiming() {
    if (StageTimingDevice* device = Device()) {
        stageTimer = std::make_unique<StageTimer>();
        device->SetStageTimer(stageTimer.get());
    }
}

bool GlCaptureHost::WriteStageTimes(const std::string& path) {
    if (StageTimingDevice* device = Device()) {
        device->SetStageTimer(nullptr);
    }
    const bool written = stageTimer != nullptr && stageTimer->Write(path);
    stageTimer.reset();
    return written;
}
