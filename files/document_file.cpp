// Remembered file state and extension dispatch.
#include "files/document_file.h"

#include <cstring>

int FilterIndex = 1;
const char* const DefaultExtensions[5] = {"", "csv", "ild", "frm", ""};
char DocumentPath[DOCUMENT_PATH_LENGTH];
char DocumentFileTitle[DOCUMENT_TITLE_LENGTH];

static bool EndsWithIgnoringCase(const char* text, size_t length, const char* ending) {
    const char* tail = text + length - 4;
    for (int i = 0; i < 4; ++i) {
        char c = tail[i];
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
        if (c != ending[i]) return false;
    }
    return true;
}

FrameFileKind FrameFileKindOf(const char* path) {
    size_t length = std::strlen(path);
    if (length < 4) return FRAME_FILE_NONE;
    if (EndsWithIgnoringCase(path, length, ".CSV")) return FRAME_FILE_CSV;
    if (EndsWithIgnoringCase(path, length, ".ILD")) return FRAME_FILE_ILDA;
    if (EndsWithIgnoringCase(path, length, ".FRM")) return FRAME_FILE_PACKED;
    return FRAME_FILE_NONE;
}

void ResetDocumentFile() {
    FilterIndex = 1;
    DocumentPath[0] = 0;
    DocumentFileTitle[0] = 0;
}
