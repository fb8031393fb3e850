// Where the game's content lives. The game reads every file as "data/...", relative to the
// working directory, so before it starts the process entry makes the working directory the folder
// that holds data/: the current one if it does, else the program's own folder, else (where the
// build installs its data apart from the program) the installed data found relative to the
// program, so that an installed tree still works after it is moved.
#pragma once

#include <filesystem>
#include <vector>

// The folders to look in, best first, for a program in `executableDirectory` started in
// `currentDirectory`. Each platform has its own list.
std::vector<std::filesystem::path> DataDirectoryCandidates(
    const std::filesystem::path& currentDirectory,
    const std::filesystem::path& executableDirectory);

// The folder holding the running program; empty when the system cannot say.
std::filesystem::path ExecutableDirectory();

// The first candidate with a data/ directory in it; empty when none has one.
std::filesystem::path ChooseDataDirectory(const std::vector<std::filesystem::path>& candidates);

// Makes the chosen folder the working directory. False, with the working directory left as it
// was, when no candidate holds data/ or the change fails.
bool EnterDataDirectory();
