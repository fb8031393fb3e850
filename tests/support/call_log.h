// The log shared by the test doubles of the platform (the recording Direct3D device, the fake
// DirectInput, the message box): every call in order with its arguments, success by default, and
// a plan of failures ("fail the 3rd SetMaterial with E_FAIL").
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"

struct RecordedCall {
    std::string name;
    std::vector<std::string> args;

    // "Name(a, b, c)", the form tests compare against.
    std::string Text() const;
};

class CallLog {
public:
    static CallLog& Get();

    // Forgets the calls, the call counts and the failure plan.
    void Reset();

    // Records a call and returns the result planned for it (S_OK unless a failure was planned).
    HRESULT Record(const std::string& name, std::vector<std::string> args = {});

    // The nth call of `name` counted from now (1 = the next one) returns `result`.
    void FailNth(const std::string& name, int nth, HRESULT result);
    // Every call of `name` from now on returns `result`.
    void FailAll(const std::string& name, HRESULT result);

    const std::vector<RecordedCall>& Calls() const { return calls; }
    // The texts of every call, or only of the calls with one of the given names.
    std::vector<std::string> Texts() const;
    std::vector<std::string> Texts(const std::vector<std::string>& names) const;
    int Count(const std::string& name) const;
    // Drops the calls recorded so far but keeps counts and the failure plan.
    void ClearCalls() { calls.clear(); }

private:
    std::vector<RecordedCall> calls;
    std::map<std::string, int> counts;
    std::map<std::pair<std::string, int>, HRESULT> plannedFailures;
    std::map<std::string, HRESULT> permanentFailures;
};

// Argument formatting shared by the doubles.
std::string ArgOf(unsigned long long value);
std::string ArgOf(long long value);
std::string ArgOf(int value);
std::string ArgOf(unsigned int value);
std::string ArgOf(float value);
std::string ArgHex(unsigned long long value);
std::string ArgOf(const char* text);

// Each double registers itself under a readable name ("texture#2"); null reads "null".
std::string ObjectName(const void* object);
void RegisterObjectName(const void* object, const std::string& kind);
void ForgetObjectName(const void* object);
// The live double registered under `name`, or null.
const void* ObjectNamed(const std::string& name);
