// Frame file kinds by their names' endings, and names without folders.
#include "formats/file_names.h"

#include <cstring>

static bool EndsWithIgnoringCase(const char* text, size_t length, const char* ending) {
    const char* tail = text + length - 4;
    for (int i = 0; i < 4; ++i) {
        char c = tail[i];
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
        if (c != ending[i]) return false;
    }
    return true;
}

bool HasFileEnding(const char* path, const char* ending) {
    if (!path) return false;
    size_t length = std::strlen(path);
    return length >= 4 && EndsWithIgnoringCase(path, length, ending);
}

FrameFileKind FrameFileKindOf(const char* path) {
    if (!path) return FRAME_FILE_NONE;
    size_t length = std::strlen(path);
    if (length < 4) return FRAME_FILE_NONE;
    if (EndsWithIgnoringCase(path, length, ".CSV")) return FRAME_FILE_CSV;
    if (EndsWithIgnoringCase(path, length, ".ILD")) return FRAME_FILE_ILDA;
    if (EndsWithIgnoringCase(path, length, ".FRM")) return FRAME_FILE_PACKED;
    return FRAME_FILE_NONE;
}

const char* FileTitleOf(const char* path) {
    const char* title = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/' || *c == ':') title = c + 1;
    return title;
}
