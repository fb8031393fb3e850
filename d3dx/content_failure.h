// Which content file stopped a load: the file that most recently could not be opened or read, or
// whose bytes could not be decoded as a model or an image. The loaders note it here without
// printing anything, so that the process entry can tell the player in one line why the game did
// not start. One thread loads everything, so a plain record serves.
#pragma once

#include <string>

enum class ContentFailureKind {
    kNone,
    kCannotOpen,    // missing, unreadable, or larger than any content file can be
    kCannotDecode,  // read, but not a model or image the game can use
};

struct ContentFailure {
    ContentFailureKind kind = ContentFailureKind::kNone;
    std::string path;  // as the game named it, backslashes turned into slashes
};

void NoteContentFailure(ContentFailureKind kind, const char* path);
// The most recent failure since the last ForgetContentFailure; kind kNone when there is none.
const ContentFailure& LastContentFailure();
// Called once a failure has been dealt with (reported, or done without), so that it is not
// blamed for a later one.
void ForgetContentFailure();
