// Remembered file state. Touches only the remembered file state.
#include "files/document_file.h"

#include <cstring>

int FilterIndex = 1;
const char* const DefaultExtensions[DEFAULT_EXTENSION_COUNT] = {"", "csv", "ild", "frm", ""};
char DocumentPath[DOCUMENT_PATH_LENGTH];
char DocumentFileTitle[DOCUMENT_TITLE_LENGTH];
bool DocumentFileIncomplete = false;

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

void ResetDocumentFile() {
    FilterIndex = 1;
    DocumentPath[0] = 0;
    DocumentFileTitle[0] = 0;
    DocumentFileIncomplete = false;
}
