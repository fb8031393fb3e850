#include "d3dx/content_failure.h"

#include "d3dx/content_file.h"

namespace {

ContentFailure& Record() {
    static ContentFailure record;
    return record;
}

}  // namespace

void NoteContentFailure(ContentFailureKind kind, const char* path) {
    ContentFailure& record = Record();
    record.kind = kind;
    record.path = NormaliseContentPath(path != nullptr ? path : "");
}

const ContentFailure& LastContentFailure() {
    return Record();
}

void ForgetContentFailure() {
    Record() = ContentFailure{};
}
