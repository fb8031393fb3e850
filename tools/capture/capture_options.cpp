#include "tools/capture/capture_options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace {

// DirectInput's scan codes of the keys the game reads.
constexpr uint8_t kDikEscape = 0x01;
constexpr uint8_t kDikUp = 0xC8;
constexpr uint8_t kDikLeft = 0xCB;
constexpr uint8_t kDikRight = 0xCD;

// A whole decimal number in [low, high], nothing else in the text.
bool ParseNumber(const std::string& text, long long low, long long high, long long* value) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    *value = parsed;
    return true;
}

std::string Upper(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

// The value a name stands for, its case ignored; false for a name not in the table.
template <typename Value>
bool LookUpName(const std::string& name, std::initializer_list<std::pair<const char*, Value>> table,
                Value* value) {
    const std::string upper = Upper(name);
    for (const auto& [known, meaning] : table) {
        if (upper == known) {
            *value = meaning;
            return true;
        }
    }
    return false;
}

bool ParseKey(const std::string& name, uint8_t* code) {
    return LookUpName<uint8_t>(
        name, {{"UP", kDikUp}, {"LEFT", kDikLeft}, {"RIGHT", kDikRight}, {"ESCAPE", kDikEscape}},
        code);
}

bool ParsePadButton(const std::string& name, PadButton* button) {
    return LookUpName<PadButton>(name,
                                 {{"PAD_A", PadButton::kA},
                                  {"PAD_LEFT", PadButton::kDpadLeft},
                                  {"PAD_RIGHT", PadButton::kDpadRight},
                                  {"PAD_BACK", PadButton::kBack}},
                                 button);
}

// NAME@FIRST-LAST, split into the name and the frames; the name may itself hold a minus sign.
bool ParseFramesOf(const std::string& text, std::string* name, int* firstFrame, int* lastFrame) {
    const size_t at = text.find('@');
    const size_t dash = text.find('-', at == std::string::npos ? 0 : at);
    if (at == std::string::npos || dash == std::string::npos) {
        return false;
    }
    long long first = 0;
    long long last = 0;
    if (!ParseNumber(text.substr(at + 1, dash - at - 1), 1, 0x7FFFFFFF, &first) ||
        !ParseNumber(text.substr(dash + 1), 1, 0x7FFFFFFF, &last) || last < first) {
        return false;
    }
    *name = text.substr(0, at);
    *firstFrame = static_cast<int>(first);
    *lastFrame = static_cast<int>(last);
    return true;
}

// A plain decimal in [low, high]: digits with an optional sign and point, nothing else.
bool ParseDecimal(const std::string& text, double low, double high, double* value) {
    if (text.empty() || text.find_first_not_of("+-.0123456789") != std::string::npos) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || end == text.c_str() || parsed < low || parsed > high) {
        return false;
    }
    *value = parsed;
    return true;
}

// KEY@FIRST-LAST, a key of the keyboard or a button of the pad
bool ParseHold(const std::string& text, CaptureOptions* options) {
    std::string name;
    int first = 0;
    int last = 0;
    if (!ParseFramesOf(text, &name, &first, &last)) {
        return false;
    }
    uint8_t code = 0;
    PadButton button = PadButton::kA;
    if (ParseKey(name, &code)) {
        options->holds.push_back({code, first, last});
    } else if (ParsePadButton(name, &button)) {
        options->padHolds.push_back({button, first, last});
    } else {
        return false;
    }
    return true;
}

// VALUE@FIRST-LAST for a pad axis
bool ParseAxis(const std::string& text, double low, double high, PadAxisSetting* setting,
               double* value) {
    std::string number;
    if (!ParseFramesOf(text, &number, &setting->firstFrame, &setting->lastFrame) ||
        !ParseDecimal(number, low, high, value)) {
        return false;
    }
    setting->value = static_cast<float>(*value);
    return true;
}

bool Covers(int firstFrame, int lastFrame, int frame) {
    return frame >= firstFrame && frame <= lastFrame;
}

// FRAME=FILE, for a shot or a particle dump
bool ParseFrameFile(const std::string& text, FrameShot* shot) {
    const size_t equals = text.find('=');
    long long frame = 0;
    if (equals == std::string::npos || equals + 1 >= text.size() ||
        !ParseNumber(text.substr(0, equals), 1, 0x7FFFFFFF, &frame)) {
        return false;
    }
    shot->frame = static_cast<int>(frame);
    shot->path = text.substr(equals + 1);
    return true;
}

}  // namespace

const char kCaptureUsage[] =
    "usage: skimlark-capture --frames N [--hold KEY@FIRST-LAST]... [--stick X@FIRST-LAST]... "
    "[--trigger V@FIRST-LAST]... [--clock-ms T] [--shot FRAME=FILE.png]... [--trace FILE.csv] "
    "[--particles FRAME=FILE.csv]... [--frame-times FILE.csv] [--stage-times FILE.csv] [--paced] "
    "[--gles]";

bool ParseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions* options,
                         std::string* error) {
    CaptureOptions parsed;
    bool framesGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--paced") {
            parsed.paced = true;
            continue;
        }
        if (option == "--gles") {
            parsed.gles = true;
            continue;
        }
        if (option != "--frames" && option != "--hold" && option != "--stick" &&
            option != "--trigger" && option != "--clock-ms" && option != "--shot" &&
            option != "--trace" && option != "--particles" && option != "--frame-times" &&
            option != "--stage-times") {
            *error = "unknown argument \"" + option + "\"";
            return false;
        }
        if (i + 1 >= arguments.size()) {
            *error = option + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];
        long long number = 0;
        if (option == "--frames") {
            if (!ParseNumber(value, 1, 0x7FFFFFFF, &number)) {
                *error = "--frames needs a whole number of at least 1, not \"" + value + "\"";
                return false;
            }
            parsed.frames = static_cast<int>(number);
            framesGiven = true;
        } else if (option == "--hold") {
            if (!ParseHold(value, &parsed)) {
                *error =
                    "--hold needs KEY@FIRST-LAST with KEY one of UP, LEFT, RIGHT, ESCAPE, PAD_A, "
                    "PAD_LEFT, PAD_RIGHT, PAD_BACK and 1 <= FIRST <= LAST, not \"" +
                    value + "\"";
                return false;
            }
        } else if (option == "--stick") {
            PadAxisSetting stick{};
            double x = 0.0;
            if (!ParseAxis(value, -1.0, 1.0, &stick, &x)) {
                *error =
                    "--stick needs X@FIRST-LAST with -1 <= X <= 1 and 1 <= FIRST <= LAST, not \"" +
                    value + "\"";
                return false;
            }
            parsed.sticks.push_back(stick);
        } else if (option == "--trigger") {
            PadAxisSetting trigger{};
            double v = 0.0;
            if (!ParseAxis(value, 0.0, 1.0, &trigger, &v)) {
                *error =
                    "--trigger needs V@FIRST-LAST with 0 <= V <= 1 and 1 <= FIRST <= LAST, not \"" +
                    value + "\"";
                return false;
            }
            // An XInput trigger has 255 steps: taken down to the step at or below it, the value
            // reads alike on both builds' pads, and exactly half never reads as past half.
            trigger.value = static_cast<float>(std::floor(v * 255.0 + 1e-9) / 255.0);
            parsed.triggers.push_back(trigger);
        } else if (option == "--clock-ms") {
            if (!ParseNumber(value, 0, 0xFFFFFFFFll, &number)) {
                *error =
                    "--clock-ms needs milliseconds from 0 to 4294967295, not \"" + value + "\"";
                return false;
            }
            parsed.clockFixed = true;
            parsed.clockMilliseconds = static_cast<uint32_t>(number);
        } else if (option == "--shot") {
            FrameShot shot;
            if (!ParseFrameFile(value, &shot)) {
                *error = "--shot needs FRAME=FILE.png with FRAME at least 1, not \"" + value + "\"";
                return false;
            }
            parsed.shots.push_back(shot);
        } else if (option == "--particles") {
            FrameShot dump;
            if (!ParseFrameFile(value, &dump)) {
                *error =
                    "--particles needs FRAME=FILE.csv with FRAME at least 1, not \"" + value + "\"";
                return false;
            }
            parsed.particleDumps.push_back(dump);
        } else {
            if (value.empty()) {
                *error = option + " needs a file name";
                return false;
            }
            if (option == "--trace") {
                parsed.tracePath = value;
            } else if (option == "--frame-times") {
                parsed.frameTimesPath = value;
            } else {
                parsed.stageTimesPath = value;
            }
        }
    }
    if (!framesGiven) {
        *error = "--frames is required";
        return false;
    }
    for (const FrameShot& shot : parsed.shots) {
        if (shot.frame > parsed.frames) {
            *error = "--shot for frame " + std::to_string(shot.frame) + " of only " +
                     std::to_string(parsed.frames) + " frames";
            return false;
        }
    }
    for (const FrameShot& dump : parsed.particleDumps) {
        if (dump.frame > parsed.frames) {
            *error = "--particles for frame " + std::to_string(dump.frame) + " of only " +
                     std::to_string(parsed.frames) + " frames";
            return false;
        }
    }
    *options = parsed;
    return true;
}

std::vector<uint8_t> KeysHeldOnFrame(const CaptureOptions& options, int frame) {
    std::vector<uint8_t> keys;
    for (const KeyHold& hold : options.holds) {
        if (frame >= hold.firstFrame && frame <= hold.lastFrame &&
            std::find(keys.begin(), keys.end(), hold.dikCode) == keys.end()) {
            keys.push_back(hold.dikCode);
        }
    }
    return keys;
}

GamePadState PadOnFrame(const CaptureOptions& options, int frame) {
    GamePadState pad{};
    for (const PadButtonHold& hold : options.padHolds) {
        if (Covers(hold.firstFrame, hold.lastFrame, frame)) {
            switch (hold.button) {
                case PadButton::kA:
                    pad.southButton = true;
                    break;
                case PadButton::kDpadLeft:
                    pad.dpadLeft = true;
                    break;
                case PadButton::kDpadRight:
                    pad.dpadRight = true;
                    break;
                case PadButton::kBack:
                    pad.backButton = true;
                    break;
            }
        }
    }
    for (const PadAxisSetting& stick : options.sticks) {
        if (Covers(stick.firstFrame, stick.lastFrame, frame)) {
            pad.leftStickX = stick.value;
        }
    }
    for (const PadAxisSetting& trigger : options.triggers) {
        if (Covers(trigger.firstFrame, trigger.lastFrame, frame)) {
            pad.rightTrigger = trigger.value;
        }
    }
    return pad;
}
