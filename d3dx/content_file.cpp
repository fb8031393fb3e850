#include "d3dx/content_file.h"

#include <cstdio>

#include "d3dx/content_failure.h"

namespace {

// No model or image of the game comes near this; anything larger is not content.
const long kLargestContentFile = 256L * 1024 * 1024;

}  // namespace

std::string NormaliseContentPath(const char* path) {
    std::string normalised(path);
    for (char& c : normalised) {
        if (c == '\\') {
            c = '/';
        }
    }
    return normalised;
}

bool ReadContentFile(const char* path, std::vector<uint8_t>* bytes) {
    if (path == nullptr || bytes == nullptr) {
        return false;
    }
    std::FILE* file = std::fopen(NormaliseContentPath(path).c_str(), "rb");
    if (file == nullptr) {
        NoteContentFailure(ContentFailureKind::kCannotOpen, path);
        return false;
    }
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = ok && size >= 0 && size <= kLargestContentFile && std::fseek(file, 0, SEEK_SET) == 0;
    std::vector<uint8_t> contents;
    if (ok) {
        contents.resize(static_cast<size_t>(size));
        ok = size == 0 || std::fread(contents.data(), 1, contents.size(), file) == contents.size();
    }
    std::fclose(file);
    if (ok) {
        bytes->swap(contents);
    } else {
        NoteContentFailure(ContentFailureKind::kCannotOpen, path);
    }
    return ok;
}
