// How far two pictures of the same size differ: the mean absolute difference of each colour
// channel, the share of pixels whose largest channel difference is over a threshold, and the
// largest difference of all; and a heat map of where they differ. Alpha is not compared.
#pragma once

#include <cstdint>
#include <vector>

struct ImageDifference {
    double meanRed = 0.0;  // in units of 1/255
    double meanGreen = 0.0;
    double meanBlue = 0.0;
    double percentOverThreshold = 0.0;  // of all pixels, 0 to 100
    int largest = 0;                    // 0 to 255
};

// The threshold of the share: a pixel counts when its largest channel difference exceeds it.
constexpr int kDifferenceThreshold = 16;

// a and b hold width x height RGBA pixels each; false when the sizes do not match them.
bool CompareImages(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width,
                   int height, ImageDifference* difference);

// The heat map, RGBA: where the pictures agree, picture a in dark grey (a quarter of its mean
// channel), so the scene stays recognisable and only differences have colour; a difference up to
// the threshold in blue, brighter as it grows; above the threshold from red (just over) to yellow
// (255). Empty when the sizes do not match.
std::vector<uint8_t> DifferenceHeatMap(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                                       int width, int height);
