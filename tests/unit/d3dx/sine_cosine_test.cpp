#include "d3dx/sine_cosine.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// The heading table as the input system fills it: the values the player steers by.
TEST(SineCosineTest, HeadingTableMatchesTheCorrectlyRoundedValues) {
    for (int degree = 0; degree < 360; ++degree) {
        const double radians = degree / 180.0 * 3.141592653589793;
        // glibc's double sine and cosine are within half an ulp here; as floats they must agree.
        EXPECT_EQ(static_cast<float>(Sine(radians)), static_cast<float>(std::sin(radians)))
            << degree;
        EXPECT_EQ(static_cast<float>(Cosine(radians)), static_cast<float>(std::cos(radians)))
            << degree;
    }
    // sin of the double nearest pi is pi minus that double, 1.2246467991473532e-16; an x87 fsin
    // with its 66-bit pi gives 1.2246063538223773e-16 instead.
    EXPECT_EQ(std::bit_cast<uint64_t>(Sine(3.141592653589793)), 0x3CA1A62633145C07u);
    EXPECT_EQ(std::bit_cast<uint32_t>(static_cast<float>(Sine(3.141592653589793))), 0x250D3132u);
    EXPECT_EQ(std::bit_cast<uint32_t>(static_cast<float>(Cosine(3.141592653589793 / 2))),
              0x248D3132u);
}

// Floats are rounded once, from a double within an ulp, so nearly every one is the correctly
// rounded float; the long double sine of the x87 is the judge.
TEST(SineCosineTest, FloatResultsAreCorrectlyRounded) {
    int wrong = 0;
    int count = 0;
    for (int step = -80000; step <= 80000; ++step) {
        const float angle = static_cast<float>(step) * 1.0e-4f;
        wrong += Sine(angle) != static_cast<float>(sinl(angle)) ? 1 : 0;
        wrong += Cosine(angle) != static_cast<float>(cosl(angle)) ? 1 : 0;
        count += 2;
    }
    EXPECT_EQ(wrong, 0) << "of " << count;
}

TEST(SineCosineTest, DoublesAreWithinAnUlpAcrossTheGameRange) {
    for (int step = -200000; step <= 200000; ++step) {
        const double angle = step * 3.7e-5;
        const double sine = std::sin(angle);
        const double cosine = std::cos(angle);
        EXPECT_LE(std::fabs(Sine(angle) - sine),
                  std::nextafter(std::fabs(sine), 2.0) - std::fabs(sine))
            << angle;
        EXPECT_LE(std::fabs(Cosine(angle) - cosine),
                  std::nextafter(std::fabs(cosine), 2.0) - std::fabs(cosine))
            << angle;
    }
}

TEST(SineCosineTest, SymmetriesZeroAndUnusableAngles) {
    for (double angle : {0.1, 0.7853981633974483, 1.0, 2.5, 4.0, 100.0, 12345.678}) {
        EXPECT_EQ(Sine(-angle), -Sine(angle)) << angle;
        EXPECT_EQ(Cosine(-angle), Cosine(angle)) << angle;
    }
    EXPECT_EQ(Sine(0.0), 0.0);
    EXPECT_TRUE(std::signbit(Sine(-0.0)));
    EXPECT_EQ(Cosine(0.0), 1.0);
    EXPECT_EQ(Sine(0.0f), 0.0f);
    EXPECT_EQ(Cosine(0.0f), 1.0f);
    // Far beyond any angle the game turns: still a sine and a cosine, just not accurate ones.
    for (double far : {1.0e7, -3.0e9, 1.0e300}) {
        const double s = Sine(far);
        const double c = Cosine(far);
        EXPECT_NEAR(s * s + c * c, 1.0, 1.0e-12) << far;
    }
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(std::isnan(Sine(infinity)));
    EXPECT_TRUE(std::isnan(Cosine(-infinity)));
    EXPECT_TRUE(std::isnan(Sine(std::numeric_limits<double>::quiet_NaN())));
}

}  // namespace
