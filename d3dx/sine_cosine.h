// Sine and cosine of our own, so that every build computes the same bits: the C libraries differ
// (glibc evaluates its own polynomials; mingw-w64's sin and cos use the x87 fsin and fcos, whose
// built-in pi is 66 bits, and its sinf rounds that double result to float a second time). The
// game's rotations and its heading table take their values from here.
//
// Accurate to about one unit in the last place of a double for |x| up to 2^20 quarter turns
// (about 1.6 million radians); beyond that the angle is first reduced by an exact remainder
// against the double nearest 2 pi, the same on every build though no longer accurate. Infinities
// and NaN give NaN.
#pragma once

double Sine(double radians);
double Cosine(double radians);

// The double result rounded to float: correctly rounded except within a hair of a halfway case.
float Sine(float radians);
float Cosine(float radians);
