// A fresh temporary directory that is the process's working directory for the life of the object,
// for tests of code that reads content from "data/" relative to it. Removed afterwards.
#pragma once

#include <filesystem>

class ScopedWorkingDirectory {
public:
    ScopedWorkingDirectory();
    ~ScopedWorkingDirectory();
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

    const std::filesystem::path& Path() const { return path; }

private:
    std::filesystem::path previous;
    std::filesystem::path path;
};
