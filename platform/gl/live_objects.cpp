#include "platform/gl/live_objects.h"

#include <atomic>

namespace {

std::atomic<int> liveObjects{0};

}  // namespace

void CountGlObjectCreated() {
    ++liveObjects;
}

void CountGlObjectDestroyed() {
    --liveObjects;
}

int LiveGlObjects() {
    return liveObjects;
}
