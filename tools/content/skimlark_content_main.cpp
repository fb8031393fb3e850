// skimlark-content: writes the game's data/ files into a directory.
//   skimlark-content DIR [--map FILE.png] [--icons ICONDIR]
//   skimlark-content --icons ICONDIR
// --icons writes the game's icons into ICONDIR/hicolor/SIZExSIZE/apps/skimlark.png and
// ICONDIR/skimlark.ico; given alone, it writes only those (as the Windows build does).
// Exit code 0 on success, 1 when a file could not be made, 2 for unusable arguments.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/content/content_generator.h"

int main(int argc, char** argv) {
    std::string directory;
    content::ContentOptions options;
    bool usable = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--map") == 0 && i + 1 < argc) {
            options.mapPath = argv[++i];
        } else if (std::strcmp(argv[i], "--icons") == 0 && i + 1 < argc) {
            options.iconDirectory = argv[++i];
        } else if (argv[i][0] != '-' && directory.empty()) {
            directory = argv[i];
        } else {
            usable = false;
            break;
        }
    }
    // The map is painted from the world, so it needs the data made too.
    const bool iconsOnly = directory.empty() && !options.iconDirectory.empty();
    if (!usable || (directory.empty() && !iconsOnly) || (iconsOnly && !options.mapPath.empty())) {
        std::fprintf(stderr,
                     "usage: skimlark-content DIR [--map FILE.png] [--icons ICONDIR]\n"
                     "       skimlark-content --icons ICONDIR\n");
        return 2;
    }
    std::string error;
    const bool made = iconsOnly ? content::GenerateIcons(options.iconDirectory, &error)
                                : content::GenerateContent(directory, options, &error);
    if (!made) {
        std::fprintf(stderr, "skimlark-content: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
