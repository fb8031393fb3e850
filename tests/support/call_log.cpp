#include "tests/support/call_log.h"

#include <cstdio>

std::string RecordedCall::Text() const {
    std::string text = name + "(";
    for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += args[i];
    }
    return text + ")";
}

CallLog& CallLog::Get() {
    static CallLog log;
    return log;
}

void ResetObjectSerials();

void CallLog::Reset() {
    ResetObjectSerials();
    calls.clear();
    counts.clear();
    plannedFailures.clear();
    permanentFailures.clear();
}

HRESULT CallLog::Record(const std::string& name, std::vector<std::string> args) {
    calls.push_back(RecordedCall{name, std::move(args)});
    const int number = ++counts[name];
    const auto planned = plannedFailures.find({name, number});
    if (planned != plannedFailures.end()) {
        return planned->second;
    }
    const auto permanent = permanentFailures.find(name);
    if (permanent != permanentFailures.end()) {
        return permanent->second;
    }
    return S_OK;
}

void CallLog::FailNth(const std::string& name, int nth, HRESULT result) {
    plannedFailures[{name, counts[name] + nth}] = result;
}

void CallLog::FailAll(const std::string& name, HRESULT result) {
    permanentFailures[name] = result;
}

std::vector<std::string> CallLog::Texts() const {
    std::vector<std::string> texts;
    for (const auto& call : calls) {
        texts.push_back(call.Text());
    }
    return texts;
}

std::vector<std::string> CallLog::Texts(const std::vector<std::string>& names) const {
    std::vector<std::string> texts;
    for (const auto& call : calls) {
        for (const auto& name : names) {
            if (call.name == name) {
                texts.push_back(call.Text());
                break;
            }
        }
    }
    return texts;
}

int CallLog::Count(const std::string& name) const {
    int count = 0;
    for (const auto& call : calls) {
        if (call.name == name) {
            ++count;
        }
    }
    return count;
}

std::string ArgOf(unsigned long long value) {
    return std::to_string(value);
}
std::string ArgOf(long long value) {
    return std::to_string(value);
}
std::string ArgOf(int value) {
    return std::to_string(value);
}
std::string ArgOf(unsigned int value) {
    return std::to_string(value);
}

std::string ArgOf(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", static_cast<double>(value));
    return text;
}

std::string ArgHex(unsigned long long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "0x%llX", value);
    return text;
}

std::string ArgOf(const char* text) {
    return text == nullptr ? "null" : std::string(text);
}

namespace {

std::map<const void*, std::string>& Names() {
    static std::map<const void*, std::string> names;
    return names;
}

std::map<std::string, int>& Serials() {
    static std::map<std::string, int> serials;
    return serials;
}

}  // namespace

std::string ObjectName(const void* object) {
    if (object == nullptr) {
        return "null";
    }
    const auto found = Names().find(object);
    return found == Names().end() ? "unknown" : found->second;
}

void RegisterObjectName(const void* object, const std::string& kind) {
    Names()[object] = kind + "#" + std::to_string(++Serials()[kind]);
}

void ForgetObjectName(const void* object) {
    Names().erase(object);
}

void ResetObjectSerials() {
    Serials().clear();
}

const void* ObjectNamed(const std::string& name) {
    for (const auto& [object, objectName] : Names()) {
        if (objectName == name) {
            return object;
        }
    }
    return nullptr;
}
