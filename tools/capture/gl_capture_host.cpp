#include "tools/capture/gl_capture_host.h"

#include "app/game_app.h"

GlDevice* GlCaptureHost::Device() {
    return dynamic_cast<GlDevice*>(gameApp.GetDevice());
}

bool GlCaptureHost::TakeShot(std::vector<uint8_t>* rgba, int* width, int* height) {
    GlDevice* device = Device();
    if (device == nullptr) {
        return false;
    }
    device->ReadBackBuffer(rgba, width, height);
    return true;
}

void GlCaptureHost::StartStageTiming() {
    if (GlDevice* device = Device()) {
        stageTimer = std::make_unique<StageTimer>(device);
    }
}

bool GlCaptureHost::WriteStageTimes(const std::string& path) {
    const bool written = stageTimer != nullptr && stageTimer->Write(path);
    stageTimer.reset();
    return written;
}
