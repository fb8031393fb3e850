#include "platform/sdl/refresh_rate_cache.h"

#include <gtest/gtest.h>

// Where RandR announces every change, a read stands until something marks it stale, however old.
TEST(RefreshRateCacheTest, AnAnnouncedRateIsReadAgainOnlyAfterAChange) {
    RefreshRateCache cache;
    EXPECT_TRUE(cache.Stale(0)) << "never read";
    cache.Store(143.98, true, 100);
    EXPECT_FALSE(cache.Stale(100 + 60 * 1000));
    EXPECT_DOUBLE_EQ(cache.Hertz(), 143.98);
    cache.MarkStale();
    EXPECT_TRUE(cache.Stale(200));
    cache.Store(60.0, true, 200);
    EXPECT_FALSE(cache.Stale(200));
    EXPECT_DOUBLE_EQ(cache.Hertz(), 60.0);
}

// Where nothing announces a change, the rate is polled once a second, also across the wrap of the
// 32-bit millisecond clock.
TEST(RefreshRateCacheTest, AnUnannouncedRateIsReadAgainASecondLaterAcrossTheClocksWrap) {
    RefreshRateCache cache;
    const std::uint32_t read = 0xFFFFFF00u;
    cache.Store(60.0, false, read);
    EXPECT_FALSE(cache.Stale(read + 10));
    EXPECT_FALSE(cache.Stale(read + RefreshRateCache::kPollMs - 1));
    EXPECT_TRUE(cache.Stale(read + RefreshRateCache::kPollMs));
}
