// Where the Windows program is: its data\ sits beside skimlark.exe, whatever folder a shortcut
// or a console starts it in. Wide names, so that a folder named in any language is found.
#include <windows.h>

#include "platform/data_directory.h"

namespace fs = std::filesystem;

std::vector<fs::path> DataDirectoryCandidates(const fs::path& currentDirectory,
                                              const fs::path& executableDirectory) {
    std::vector<fs::path> candidates{currentDirectory};
    if (!executableDirectory.empty()) {
        candidates.push_back(executableDirectory);
    }
    return candidates;
}

fs::path ExecutableDirectory() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return {};
        }
        if (length < name.size()) {
            name.resize(length);
            return fs::path(name).parent_path();
        }
        // Cut short: try again with more room.
        name.resize(name.size() * 2);
    }
}
