#include "app/startup_failure.h"

const char kNoDataDirectory[] =
    "cannot find the game's data/ folder: not in the current folder, nor beside the program, "
    "nor where it is installed";

std::string DescribeStartupFailure(GameApp::StartupStep step, const ContentFailure& content) {
    // Only the steps that read content can be stopped by a file.
    const bool readsContent =
        step == GameApp::StartupStep::kScene || step == GameApp::StartupStep::kInput;
    if (readsContent && content.kind == ContentFailureKind::kCannotOpen) {
        return "cannot open \"" + content.path + "\"";
    }
    if (readsContent && content.kind == ContentFailureKind::kCannotDecode) {
        return "cannot decode \"" + content.path + "\"";
    }
    switch (step) {
        case GameApp::StartupStep::kDevice:
            return "cannot create the full-screen 1024 x 768 graphics device";
        case GameApp::StartupStep::kRenderStates:
            return "cannot set up the graphics device";
        case GameApp::StartupStep::kScene:
            return "cannot load the scene";
        case GameApp::StartupStep::kInput:
            return "cannot open the keyboard and mouse";
        case GameApp::StartupStep::kNone:
            break;
    }
    return "the start-up failed";
}
