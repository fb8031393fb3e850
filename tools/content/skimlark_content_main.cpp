// skimlark-content: writes the game's data/ files into a directory.
//   skimlark-content DIR [--map FILE.png] [--icons ICONDIR]
// --icons writes the game's icons into ICONDIR/hicolor/SIZExSIZE/apps/skimlark.png.
// Exit code 0 on success, 1 when a file could not be made, 2 for unusable arguments.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/content/content_generator.h"

int main(int argc, char** argv) {
    std::string directory;
    content::ContentOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--map") == 0 && i + 1 < argc) {
            options.mapPath = argv[++i];
        } else if (std::strcmp(argv[i], "--icons") == 0 && i + 1 < argc) {
            options.iconDirectory = argv[++i];
        } else if (argv[i][0] != '-' && directory.empty()) {
            directory = argv[i];
        } else {
            directory.clear();
            break;
        }
    }
    if (directory.empty()) {
        std::fprintf(stderr, "usage: skimlark-content DIR [--map FILE.png] [--icons ICONDIR]\n");
        return 2;
    }
    std::string error;
    if (!content::GenerateContent(directory, options, &error)) {
        std::fprintf(stderr, "skimlark-content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
