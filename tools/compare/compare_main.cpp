// skimlark-compare A.png B.png [--diff OUT.png]: how far two pictures of the same size differ.
// Prints one line:
//   mean_r=R mean_g=G mean_b=B over16_percent=P max=M
// the mean absolute difference of each channel in units of 1/255, the share of pixels (in per
// cent) whose largest channel difference is over 16/255, and the largest difference (0 to 255).
// --diff writes the heat map (see image_difference.h). Exit code 0 when compared, 1 when the heat
// map could not be written, 2 for unusable arguments, an unreadable picture or different sizes.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/capture/png_file.h"
#include "tools/compare/image_difference.h"
#include "tools/compare/png_reader.h"

namespace {

const char kUsage[] = "usage: skimlark-compare A.png B.png [--diff OUT.png]";

struct CompareArguments {
    std::string first;
    std::string second;
    std::string diffPath;  // empty: no heat map
};

bool ParseArguments(int argc, char** argv, CompareArguments* arguments) {
    std::vector<std::string> pictures;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--diff") {
            if (i + 1 >= argc || !arguments->diffPath.empty() || argv[i + 1][0] == '\0') {
                return false;
            }
            arguments->diffPath = argv[++i];
        } else if (argument.rfind("--", 0) == 0 || argument.empty()) {
            return false;
        } else {
            pictures.push_back(argument);
        }
    }
    if (pictures.size() != 2) {
        return false;
    }
    arguments->first = pictures[0];
    arguments->second = pictures[1];
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CompareArguments arguments;
    if (!ParseArguments(argc, argv, &arguments)) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 2;
    }
    std::vector<uint8_t> a;
    std::vector<uint8_t> b;
    int widthA = 0;
    int heightA = 0;
    int widthB = 0;
    int heightB = 0;
    if (!ReadRgbaPng(arguments.first, &a, &widthA, &heightA)) {
        std::fprintf(stderr, "skimlark-compare: cannot read \"%s\"\n", arguments.first.c_str());
        return 2;
    }
    if (!ReadRgbaPng(arguments.second, &b, &widthB, &heightB)) {
        std::fprintf(stderr, "skimlark-compare: cannot read \"%s\"\n", arguments.second.c_str());
        return 2;
    }
    if (widthA != widthB || heightA != heightB) {
        std::fprintf(stderr, "skimlark-compare: the sizes differ: %d x %d and %d x %d\n", widthA,
                     heightA, widthB, heightB);
        return 2;
    }
    ImageDifference difference;
    CompareImages(a, b, widthA, heightA, &difference);
    std::printf("mean_r=%.4f mean_g=%.4f mean_b=%.4f over16_percent=%.4f max=%d\n",
                difference.meanRed, difference.meanGreen, difference.meanBlue,
                difference.percentOverThreshold, difference.largest);
    if (!arguments.diffPath.empty() &&
        !WriteRgbPng(arguments.diffPath, DifferenceHeatMap(a, b, widthA, heightA), widthA,
                     heightA)) {
        std::fprintf(stderr, "skimlark-compare: cannot write \"%s\"\n", arguments.diffPath.c_str());
        return 1;
    }
    return 0;
}
