// Writes every file of the game's data/ directory, the same bytes on every run: the level and
// its chunk textures, the tree and collision models, the sky, water, sand, tree, leaf and
// particle images; and, on request, a map of the world and the game's icons.
#pragma once

#include <string>
#include <vector>

namespace content {

struct ContentOptions {
    std::string mapPath;  // empty: no map
    // Where the icons go (see GenerateIcons). Empty: no icons.
    std::string iconDirectory;
    int skyFaceSize = 1024;
};

// False, with one line saying why, when a file cannot be made or written.
bool GenerateContent(const std::string& directory, const ContentOptions& options,
                     std::string* error);

// Writes the game's icons into a directory: each size laid out as the desktop's icon themes are,
// hicolor/SIZExSIZE/apps/skimlark.png, and all of them in one Windows icon, skimlark.ico.
bool GenerateIcons(const std::string& directory, std::string* error);

// The fixed files the game opens by name (the level's textures come on top of these).
const std::vector<std::string>& FixedContentFiles();

}  // namespace content
