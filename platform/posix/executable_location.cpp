// Where the Linux program and its data are: /proc/self/exe names the program even when it was
// started through a symbolic link, and an install keeps the data in ../share/games/skimlark
// beside the program's games/ (Debian's place for games: /usr/games and /usr/share/games).
#include <system_error>

#include "platform/data_directory.h"

namespace fs = std::filesystem;

std::vector<fs::path> DataDirectoryCandidates(const fs::path& currentDirectory,
                                              const fs::path& executableDirectory) {
    std::vector<fs::path> candidates{currentDirectory};
    if (!executableDirectory.empty()) {
        candidates.push_back(executableDirectory);
        candidates.push_back(executableDirectory.parent_path() / "share" / "games" / "skimlark");
    }
    return candidates;
}

fs::path ExecutableDirectory() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}
