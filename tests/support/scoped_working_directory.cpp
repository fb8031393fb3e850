#include "tests/support/scoped_working_directory.h"

#include <stdlib.h>

#include <string>

ScopedWorkingDirectory::ScopedWorkingDirectory() : previous(std::filesystem::current_path()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "skimlark-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    path = pattern;
    std::filesystem::create_directories(path / "data");
    std::filesystem::current_path(path);
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(path, ignored);
}
