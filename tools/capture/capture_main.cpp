// skimlark-capture: runs the game's own GameApp on the headless build (EGL without a surface) in
// the current directory, with a scripted keyboard and a fixed or real clock, for a given number
// of frames; writes PNG shots of presented frames and a per-frame CSV trace of the player, and
// prints its timing as the last line:
//   startup_ms=S frames=N frame_ms_median=M frame_ms_p99=P
// Exit code 0 when the frames ran (or the game quit itself), 1 when the game's start-up failed,
// 2 for unusable arguments. Presents are not paced: the loop runs as fast as it draws.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/game_app.h"
#include "platform/gl/gl_device.h"
#include "platform/headless/headless_keyboard.h"
#include "platform/posix/message_queue.h"
#include "platform/posix/system_clock.h"
#include "tools/capture/capture_options.h"
#include "tools/capture/frame_timing.h"
#include "tools/capture/png_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Output files are checked before the game starts, so a bad path is an argument error rather
// than a lost capture. Shots are created empty and filled (or removed) later.
bool CheckWritable(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

struct PlayerTraceState {
    float x;
    float y;
    float z;
    float yaw;
};

// The player's state after the frame's input update. Not yet available: the game has no input
// system, so the tool refuses --trace until it has.
bool PlayerStateAvailable() {
    return false;
}

PlayerTraceState TracePlayerState() {
    return {0.0f, 0.0f, 0.0f, 0.0f};
}

bool WriteShot(const std::string& path) {
    auto* device = dynamic_cast<GlDevice*>(gameApp.GetDevice());
    if (device == nullptr) {
        return false;
    }
    std::vector<uint8_t> rgba;
    int width = 0;
    int height = 0;
    device->ReadBackBuffer(&rgba, &width, &height);
    return WriteRgbPng(path, rgba, width, height);
}

}  // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        std::fprintf(stderr, "skimlark-capture: %s\n%s\n", error.c_str(), kCaptureUsage);
        return 2;
    }
    for (const FrameShot& shot : options.shots) {
        if (!CheckWritable(shot.path)) {
            std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n", shot.path.c_str());
            return 2;
        }
    }
    FILE* trace = nullptr;
    if (!options.tracePath.empty() && !PlayerStateAvailable()) {
        std::fprintf(stderr,
                     "skimlark-capture: --trace needs the player's state, which this "
                     "build of the game does not have yet\n");
        return 2;
    }
    if (!options.tracePath.empty()) {
        trace = std::fopen(options.tracePath.c_str(), "w");
        if (trace == nullptr) {
            std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n",
                         options.tracePath.c_str());
            return 2;
        }
        std::fprintf(trace, "frame,x,y,z,yaw\n");
    }
    if (options.clockFixed) {
        FixSystemClock(options.clockMilliseconds);
    }

    // The headless surface ignores the window; any distinct non-null handle serves.
    static char headlessWindow;
    HeadlessReleaseAllKeys();
    const Clock::time_point startupBegan = Clock::now();
    if (!gameApp.Init(reinterpret_cast<HWND>(&headlessWindow))) {
        std::fprintf(stderr, "skimlark-capture: the game's start-up failed\n");
        gameApp.Shutdown();
        for (const FrameShot& shot : options.shots) {
            std::remove(shot.path.c_str());
        }
        if (trace != nullptr) {
            std::fclose(trace);
        }
        return 1;
    }
    const double startupMs = MillisecondsSince(startupBegan);

    FrameTiming timing;
    std::vector<bool> shotTaken(options.shots.size(), false);
    bool writeFailed = false;
    int framesRun = 0;
    for (int frame = 1; frame <= options.frames; ++frame) {
        HeadlessReleaseAllKeys();
        for (uint8_t key : KeysHeldOnFrame(options, frame)) {
            HeadlessSetKeyHeld(key, true);
        }
        const Clock::time_point frameBegan = Clock::now();
        gameApp.Frame();
        timing.Add(MillisecondsSince(frameBegan));
        framesRun = frame;

        if (trace != nullptr) {
            const PlayerTraceState player = TracePlayerState();
            std::fprintf(trace, "%d,%.9g,%.9g,%.9g,%.9g\n", frame, player.x, player.y, player.z,
                         player.yaw);
        }
        for (size_t i = 0; i < options.shots.size(); ++i) {
            if (options.shots[i].frame == frame) {
                shotTaken[i] = true;
                if (!WriteShot(options.shots[i].path)) {
                    std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n",
                                 options.shots[i].path.c_str());
                    writeFailed = true;
                }
            }
        }
        // The game quits itself (Escape) by posting the quit message; like the window's loop,
        // no frame runs after it.
        if (TakeQuitMessage(nullptr)) {
            break;
        }
    }
    gameApp.Shutdown();

    for (size_t i = 0; i < options.shots.size(); ++i) {
        if (!shotTaken[i]) {
            std::fprintf(stderr, "skimlark-capture: no shot of frame %d: the game quit after %d\n",
                         options.shots[i].frame, framesRun);
            std::remove(options.shots[i].path.c_str());
        }
    }
    if (trace != nullptr && std::fclose(trace) != 0) {
        std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n", options.tracePath.c_str());
        writeFailed = true;
    }
    std::printf("startup_ms=%.2f frames=%d frame_ms_median=%.2f frame_ms_p99=%.2f\n", startupMs,
                framesRun, timing.Median(), timing.Percentile99());
    return writeFailed ? 1 : 0;
}
