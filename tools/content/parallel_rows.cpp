#include "tools/content/parallel_rows.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace content {

void PaintImage(Image* image, const std::function<Color(int x, int y)>& paint) {
    const int height = image->Height();
    const int width = image->Width();
    std::atomic<int> nextRow{0};
    auto worker = [&]() {
        for (int y = nextRow++; y < height; y = nextRow++) {
            for (int x = 0; x < width; ++x) {
                image->Set(x, y, paint(x, y));
            }
        }
    };
    const unsigned threads = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    for (unsigned i = 1; i < threads; ++i) {
        pool.emplace_back(worker);
    }
    worker();
    for (std::thread& t : pool) {
        t.join();
    }
}

}  // namespace content
