#include "platform/data_directory.h"

#include <system_error>

namespace fs = std::filesystem;

fs::path ChooseDataDirectory(const std::vector<fs::path>& candidates) {
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (!candidate.empty() && fs::is_directory(candidate / "data", error)) {
            return candidate;
        }
    }
    return {};
}

bool EnterDataDirectory() {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    const fs::path chosen = ChooseDataDirectory(
        DataDirectoryCandidates(error ? fs::path() : current, ExecutableDirectory()));
    if (chosen.empty()) {
        return false;
    }
    fs::current_path(chosen, error);
    return !error;
}
