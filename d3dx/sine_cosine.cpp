#include "d3dx/sine_cosine.h"

#include <cmath>

namespace {

// pi/2 in three parts (Cody and Waite): the first two carry 33 significant bits each, so that
// k times either is exact for |k| up to 2^20 and the reduction x - k pi/2 loses nothing.
constexpr double kHalfPi1 = 0x1.921fb544p+0;
constexpr double kHalfPi2 = 0x1.0b4611a6p-34;
constexpr double kHalfPi3 = 0x1.3198a2e037073p-69;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
constexpr double kLargestQuarterTurns = 1048576.0;  // 2^20
constexpr double kTwoPi = 0x1.921fb54442d18p+2;

consteval double InverseFactorial(int n) {
    double factorial = 1.0;  // exact in a double up to 22!
    for (int i = 2; i <= n; ++i) {
        factorial *= i;
    }
    return 1.0 / factorial;
}

// Taylor series on |r| <= pi/4, its coefficients fixed at compile time: the first term left out
// (r^21/21!, r^22/22!) is below 1e-21.
double SineNear(double r) {
    const double r2 = r * r;
    double p = -InverseFactorial(19);
    p = p * r2 + InverseFactorial(17);
    p = p * r2 - InverseFactorial(15);
    p = p * r2 + InverseFactorial(13);
    p = p * r2 - InverseFactorial(11);
    p = p * r2 + InverseFactorial(9);
    p = p * r2 - InverseFactorial(7);
    p = p * r2 + InverseFactorial(5);
    p = p * r2 - InverseFactorial(3);
    return r + r * r2 * p;
}

double CosineNear(double r) {
    const double r2 = r * r;
    double p = InverseFactorial(20);
    p = p * r2 - InverseFactorial(18);
    p = p * r2 + InverseFactorial(16);
    p = p * r2 - InverseFactorial(14);
    p = p * r2 + InverseFactorial(12);
    p = p * r2 - InverseFactorial(10);
    p = p * r2 + InverseFactorial(8);
    p = p * r2 - InverseFactorial(6);
    p = p * r2 + InverseFactorial(4);
    return 1.0 - (0.5 * r2 - r2 * r2 * p);
}

// x = quarter * pi/2 + r for x >= 0, with |r| <= pi/4 (a little more at the far end of the
// range); returns the quarter modulo 4.
int Reduce(double x, double* r) {
    if (x * kTwoOverPi > kLargestQuarterTurns) {
        x = std::fmod(x, kTwoPi);  // exact on every C library
    }
    const double k = std::floor(x * kTwoOverPi + 0.5);
    *r = ((x - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3;
    return static_cast<int>(static_cast<long long>(k) & 3);
}

double SineOfPositive(double x) {
    double r = 0.0;
    switch (Reduce(x, &r)) {
        case 0:
            return SineNear(r);
        case 1:
            return CosineNear(r);
        case 2:
            return -SineNear(r);
        default:
            return -CosineNear(r);
    }
}

double CosineOfPositive(double x) {
    double r = 0.0;
    switch (Reduce(x, &r)) {
        case 0:
            return CosineNear(r);
        case 1:
            return -SineNear(r);
        case 2:
            return -CosineNear(r);
        default:
            return SineNear(r);
    }
}

}  // namespace

// Negative angles are mirrored, so that sine is odd and cosine even to the last bit.
double Sine(double radians) {
    if (!std::isfinite(radians)) {
        return radians - radians;  // NaN
    }
    return std::signbit(radians) ? -SineOfPositive(-radians) : SineOfPositive(radians);
}

double Cosine(double radians) {
    if (!std::isfinite(radians)) {
        return radians - radians;
    }
    return CosineOfPositive(std::fabs(radians));
}

float Sine(float radians) {
    return static_cast<float>(Sine(static_cast<double>(radians)));
}

float Cosine(float radians) {
    return static_cast<float>(Cosine(static_cast<double>(radians)));
}
