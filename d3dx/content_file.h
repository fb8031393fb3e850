// Reads a content file (a model or an image) whole. Every content loader opens its files here, so
// that names written with backslashes (as model files store them) open the same file on systems
// where the backslash is not a path separator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The path with every backslash turned into a forward slash, which every platform accepts.
std::string NormaliseContentPath(const char* path);

// False, leaving *bytes as it was and noting the failure (content_failure.h), when the file cannot
// be opened or read or is larger than any content file can be.
bool ReadContentFile(const char* path, std::vector<uint8_t>* bytes);
