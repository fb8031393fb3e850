#include "tools/capture/capture_options.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

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

bool ParseKey(std::string name, uint8_t* code) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (name == "UP") {
        *code = kDikUp;
    } else if (name == "LEFT") {
        *code = kDikLeft;
    } else if (name == "RIGHT") {
        *code = kDikRight;
    } else if (name == "ESCAPE") {
        *code = kDikEscape;
    } else {
        return false;
    }
    return true;
}

// KEY@FIRST-LAST
bool ParseHold(const std::string& text, KeyHold* hold) {
    const size_t at = text.find('@');
    const size_t dash = text.find('-', at == std::string::npos ? 0 : at);
    if (at == std::string::npos || dash == std::string::npos) {
        return false;
    }
    long long first = 0;
    long long last = 0;
    if (!ParseKey(text.substr(0, at), &hold->dikCode) ||
        !ParseNumber(text.substr(at + 1, dash - at - 1), 1, 0x7FFFFFFF, &first) ||
        !ParseNumber(text.substr(dash + 1), 1, 0x7FFFFFFF, &last) || last < first) {
        return false;
    }
    hold->firstFrame = static_cast<int>(first);
    hold->lastFrame = static_cast<int>(last);
    return true;
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
    "usage: skimlark-capture --frames N [--hold KEY@FIRST-LAST]... [--clock-ms T] "
    "[--shot FRAME=FILE.png]... [--trace FILE.csv] [--particles FRAME=FILE.csv]... "
    "[--frame-times FILE.csv] [--stage-times FILE.csv]";

bool ParseCaptureOptions(const std::vector<std::string>& arguments, CaptureOptions* options,
                         std::string* error) {
    CaptureOptions parsed;
    bool framesGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option != "--frames" && option != "--hold" && option != "--clock-ms" &&
            option != "--shot" && option != "--trace" && option != "--particles" &&
            option != "--frame-times" && option != "--stage-times") {
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
            KeyHold hold{};
            if (!ParseHold(value, &hold)) {
                *error =
                    "--hold needs KEY@FIRST-LAST with KEY one of UP, LEFT, RIGHT, ESCAPE "
                    "and 1 <= FIRST <= LAST, not \"" +
                    value + "\"";
                return false;
            }
            parsed.holds.push_back(hold);
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
