// Checks on a real display (Xvfb in CI) that presents keep the full-screen mode's pace: 120
// presents of a full-screen device must take about two seconds at 60 a second, not a few
// milliseconds, nor one on a desktop of a faster refresh; and the typical present must come
// within one and a half slots of the one before, not held back to half the pace. Prints the
// times; exits 1 when presents ran unpaced, too fast or too slow.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/direct3d8.h"
#include "platform/pace/present_pacer.h"
#include "platform/sdl/sdl_window.h"
#include "tests/display/full_screen_device.h"

int main() {
    const char* error = "";
    HWND window = SdlCreateGameWindow("Skimlark pacing check", 1024, 768, &error);
    if (window == nullptr) {
        std::fprintf(stderr, "no window: %s\n", error);
        return 1;
    }
    IDirect3D8* d3d = nullptr;
    IDirect3DDevice8* device = CreateFullScreenDevice(window, 1024, 768, true, &d3d);
    if (device == nullptr) {
        std::fprintf(stderr, "no device\n");
        return 1;
    }
    D3DDISPLAYMODE mode{};
    d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);

    const int presents = 120;
    const auto start = std::chrono::steady_clock::now();
    auto last = start;
    std::vector<double> intervals;
    for (int i = 0; i < presents; ++i) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF646464, 1.0f, 0);
        device->Present(nullptr, nullptr, nullptr, nullptr);
        const auto now = std::chrono::steady_clock::now();
        intervals.push_back(std::chrono::duration<double>(now - last).count());
        last = now;
    }
    const double seconds = std::chrono::duration<double>(last - start).count();
    // The median, which a busy machine's few slow frames do not move.
    std::nth_element(intervals.begin(), intervals.begin() + presents / 2, intervals.end());
    const double typical = intervals[presents / 2];
    const double perSecond = ChoosePresentPace(mode.RefreshRate).presentsPerSecond;
    const double expected = static_cast<double>(presents) / perSecond;
    std::printf(
        "%d presents on a %u Hz display took %.3f s (paced: %.3f s), %.2f ms apart as a "
        "rule\n",
        presents, mode.RefreshRate, seconds, expected, 1000.0 * typical);

    device->Release();
    d3d->Release();
    SdlDestroyGameWindow(window);
    const bool tooSlow = typical > 1.5 / perSecond;
    return seconds >= 0.95 * expected && !tooSlow ? 0 : 1;
}
