// Remembered file state and extension dispatch. Touches only the remembered
// file state.
#include "files/document_file.h"

#include <cstring>

int FilterIndex = 1;
const char* const DefaultExtensions[DEFAULT_EXTENSION_COUNT] = {"", "csv", "ild", "frm", ""};
char DocumentPath[DOCUMENT_PATH_LENGTH];
char DocumentFileTitle[DOCUMENT_TITLE_LENGTH];
bool DocumentFileIncomplete = false;

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

// A cut never splits a UTF-8 sequence: it goes back over continuation bytes.
static void CopyCut(char* to, size_t capacity, const char* from) {
    size_t length = strnlen(from, capacity);
    if (length == capacity) {
        length = capacity - 1;
        while (length > 0 && ((unsigned char)from[length] & 0xC0) == 0x80) --length;
    }
    std::memmove(to, from, length);
    to[length] = 0;
}

void RememberDocumentFile(int filterIndex, const char* path, const char* fileTitle) {
    if (filterIndex >= 1 && filterIndex < DEFAULT_EXTENSION_COUNT) FilterIndex = filterIndex;
    if (path) {
        if (strnlen(path, sizeof DocumentPath) < sizeof DocumentPath)
            std::memmove(DocumentPath, path, std::strlen(path) + 1);
        else
            DocumentPath[0] = 0;
    }
    if (fileTitle) CopyCut(DocumentFileTitle, sizeof DocumentFileTitle, fileTitle);
    DocumentFileIncomplete = false;
}

const char* FileTitleOf(const char* path) {
    const char* title = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/' || *c == ':') title = c + 1;
    return title;
}

void ResetDocumentFile() {
    FilterIndex = 1;
    DocumentPath[0] = 0;
    DocumentFileTitle[0] = 0;
    DocumentFileIncomplete = false;
}
