#include "tools/capture/capture_run.h"

#include <chrono>
#include <cstdio>

#include "app/game_app.h"
#include "app/startup_failure.h"
#include "platform/scripted_game_pad.h"
#include "platform/scripted_keyboard.h"
#include "tools/capture/particle_dump.h"
#include "tools/capture/png_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Output files are checked before the game starts, so a bad path is an argument error rather
// than a lost capture. Shots and dumps are created empty and filled (or removed) later.
bool CheckWritable(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

// The player's state after the frame's input update: the first frame step, so nothing later in
// the frame changes it.
void WriteTraceRow(FILE* trace, int frame) {
    D3DXVECTOR3 position(0, 0, 0);
    float yaw = 0;
    int forward = 0;
    int left = 0;
    int right = 0;
    gameApp.GetInput().GetState(&position, &yaw, &forward, &left, &right);
    // Nine significant digits give every float back exactly.
    std::fprintf(trace, "%d,%.9g,%.9g,%.9g,%.9g\n", frame, position.x, position.y, position.z, yaw);
}

bool WriteShot(CaptureHost* host, const std::string& path) {
    std::vector<uint8_t> rgba;
    int width = 0;
    int height = 0;
    return host->TakeShot(&rgba, &width, &height) && WriteRgbPng(path, rgba, width, height);
}

bool WriteParticles(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    WriteParticleDump(file, gameApp.GetScene());
    return std::fclose(file) == 0;
}

bool AnyOnFrame(const std::vector<FrameShot>& files, int frame) {
    for (const FrameShot& file : files) {
        if (file.frame == frame) {
            return true;
        }
    }
    return false;
}

// Writes the files due after `frame` with `write`; false when one could not be written.
template <typename Write>
bool WriteDueFiles(const std::vector<FrameShot>& files, int frame, Write write) {
    bool written = true;
    for (const FrameShot& file : files) {
        if (file.frame == frame && !write(file.path)) {
            std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n", file.path.c_str());
            written = false;
        }
    }
    return written;
}

// Files due after frames that never ran are removed, with a line saying so.
void RemoveFilesNotReached(const std::vector<FrameShot>& files, const char* kind, int framesRun) {
    for (const FrameShot& file : files) {
        if (file.frame > framesRun) {
            std::fprintf(stderr, "skimlark-capture: no %s of frame %d: the game quit after %d\n",
                         kind, file.frame, framesRun);
            std::remove(file.path.c_str());
        }
    }
}

// A CSV file with its header line, or null (said on standard error) when it cannot be made; null
// without a word when no path was given.
FILE* OpenCsv(const std::string& path, const char* header) {
    if (path.empty()) {
        return nullptr;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n", path.c_str());
        return nullptr;
    }
    std::fputs(header, file);
    return file;
}

// False, said on standard error, when what was written did not reach the file.
bool CloseCsv(FILE* file, const std::string& path) {
    if (file == nullptr || std::fclose(file) == 0) {
        return true;
    }
    std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n", path.c_str());
    return false;
}

void RemoveAll(const std::vector<FrameShot>& files) {
    for (const FrameShot& file : files) {
        std::remove(file.path.c_str());
    }
}

// What the run refuses before the game starts: options the build cannot honour, and outputs
// that cannot be written (each said on standard error).
bool CanRun(const CaptureOptions& options, CaptureHost* host) {
    if (!options.stageTimesPath.empty() && !host->CanTimeStages()) {
        std::fprintf(stderr, "skimlark-capture: --stage-times needs the OpenGL build\n");
        return false;
    }
    if (options.gles && !host->UseEsContext()) {
        std::fprintf(stderr, "skimlark-capture: --gles needs the OpenGL build\n");
        return false;
    }
    if (options.paced && !host->CanPace()) {
        std::fprintf(stderr,
                     "skimlark-capture: --paced needs a display (skimlark-capture-window)\n");
        return false;
    }
    if (!options.stageTimesPath.empty() && !CheckWritable(options.stageTimesPath)) {
        std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n",
                     options.stageTimesPath.c_str());
        return false;
    }
    for (const std::vector<FrameShot>* files : {&options.shots, &options.particleDumps}) {
        for (const FrameShot& file : *files) {
            if (!CheckWritable(file.path)) {
                std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n", file.path.c_str());
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int CaptureRun::Begin(const std::vector<std::string>& arguments, CaptureHost* host) {
    host_ = host;
    std::string error;
    if (!ParseCaptureOptions(arguments, &options_, &error)) {
        std::fprintf(stderr, "skimlark-capture: %s\n%s\n", error.c_str(), kCaptureUsage);
        return 2;
    }
    if (!CanRun(options_, host) || !OpenCsvs()) {
        return 2;
    }
    if (options_.clockFixed) {
        host->FixClock(options_.clockMilliseconds);
    }
    if (options_.paced) {
        host->UseGamePacing();
    }
    return StartGame() ? 0 : 1;
}

bool CaptureRun::OpenCsvs() {
    // Binary, so that every build writes the same bytes (no carriage returns on Windows).
    trace_ = OpenCsv(options_.tracePath, "frame,x,y,z,yaw\n");
    frameTimes_ = OpenCsv(options_.frameTimesPath, "frame,ms\n");
    if ((trace_ == nullptr && !options_.tracePath.empty()) ||
        (frameTimes_ == nullptr && !options_.frameTimesPath.empty())) {
        CloseCsvs();
        return false;
    }
    return true;
}

bool CaptureRun::CloseCsvs() {
    const bool traceClosed = CloseCsv(trace_, options_.tracePath);
    const bool frameTimesClosed = CloseCsv(frameTimes_, options_.frameTimesPath);
    trace_ = nullptr;
    frameTimes_ = nullptr;
    return traceClosed && frameTimesClosed;
}

bool CaptureRun::StartGame() {
    ScriptedKeyboardReleaseAll();
    // The scripted pad is connected, at rest, before the game looks for pads.
    ScriptedGamePadSet(GamePadState{});
    const HWND window = host_->Window();
    const Clock::time_point startupBegan = Clock::now();
    if (window == nullptr || !gameApp.Init(window)) {
        std::fprintf(stderr, "skimlark-capture: %s\n",
                     DescribeStartupFailure(gameApp.FailedStep(), LastContentFailure()).c_str());
        gameApp.Shutdown();
        ScriptedGamePadRemove();
        RemoveAll(options_.shots);
        RemoveAll(options_.particleDumps);
        CloseCsvs();
        return false;
    }
    startupMs_ = MillisecondsSince(startupBegan);
    host_->GameStarted();
    if (!options_.stageTimesPath.empty()) {
        host_->StartStageTiming();
    }
    return true;
}

bool CaptureRun::Frame() {
    const int frame = framesRun_ + 1;
    ScriptedKeyboardReleaseAll();
    for (uint8_t key : KeysHeldOnFrame(options_, frame)) {
        ScriptedKeyboardSetHeld(key, true);
    }
    ScriptedGamePadSet(PadOnFrame(options_, frame));
    if (AnyOnFrame(options_.shots, frame)) {
        host_->RequestShot();
    }
    const Clock::time_point frameBegan = Clock::now();
    gameApp.Frame();
    const double frameMs = MillisecondsSince(frameBegan) - host_->ShotMillisecondsInFrame();
    timing_.Add(frameMs);
    framesRun_ = frame;
    if (frameTimes_ != nullptr) {
        std::fprintf(frameTimes_, "%d,%.3f\n", frame, frameMs);
    }
    WriteFrameOutputs(frame);
    // The game quits itself (Escape) by posting the quit message; like the window's loop, no
    // frame runs after it.
    return !host_->TakeQuitMessage() && frame < options_.frames;
}

void CaptureRun::WriteFrameOutputs(int frame) {
    if (trace_ != nullptr) {
        WriteTraceRow(trace_, frame);
    }
    CaptureHost* host = host_;
    const bool shotsWritten = WriteDueFiles(
        options_.shots, frame, [host](const std::string& path) { return WriteShot(host, path); });
    const bool dumpsWritten = WriteDueFiles(options_.particleDumps, frame, WriteParticles);
    writeFailed_ = writeFailed_ || !shotsWritten || !dumpsWritten;
}

int CaptureRun::Finish() {
    // Before the device goes, which the timing watches.
    if (!options_.stageTimesPath.empty() && !host_->WriteStageTimes(options_.stageTimesPath)) {
        std::fprintf(stderr, "skimlark-capture: cannot write \"%s\"\n",
                     options_.stageTimesPath.c_str());
        writeFailed_ = true;
    }
    gameApp.Shutdown();
    ScriptedGamePadRemove();

    RemoveFilesNotReached(options_.shots, "shot", framesRun_);
    RemoveFilesNotReached(options_.particleDumps, "particle dump", framesRun_);
    writeFailed_ = !CloseCsvs() || writeFailed_;
    std::printf("startup_ms=%.2f frames=%d frame_ms_median=%.2f frame_ms_p99=%.2f\n", startupMs_,
                framesRun_, timing_.Median(), timing_.Percentile99());
    return writeFailed_ ? 1 : 0;
}

int RunCapture(const std::vector<std::string>& arguments, CaptureHost* host) {
    CaptureRun run;
    const int started = run.Begin(arguments, host);
    if (started != 0) {
        return started;
    }
    while (run.Frame()) {
    }
    return run.Finish();
}
