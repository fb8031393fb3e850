#include "platform/gl/gl_context_request.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<bool> esRequested{false};

}  // namespace

void GlRequestEsContext(bool es) {
    esRequested = es;
}

bool GlEsContextRequested() {
    const char* asked = std::getenv("SKIMLARK_GL");
    return esRequested || (asked != nullptr && std::strcmp(asked, "es") == 0);
}
