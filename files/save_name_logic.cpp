// The save dialog's rename on a change of file type. Touches only the text
// it is given.
#include "files/save_name_logic.h"

#include <cstring>

#include "files/document_file.h"

int RewriteSaveName(char* text, int capacity, const char* extension) {
    if (!text || capacity <= 0 || !extension) return 0;
    int length = (int)strnlen(text, (size_t)capacity);
    if (length == 0 || length >= capacity) return 0;  // empty, or not terminated in the buffer
    const char* dot = (const char*)std::memchr(text, '.', (size_t)length);
    int keep = dot ? (int)(dot - text) : length;
    int extensionLength = (int)std::strlen(extension);
    // A long base name must not push the ending past the buffer.
    if (keep + 1 + extensionLength + 1 > capacity) return 0;
    text[keep] = '.';
    std::memcpy(text + keep + 1, extension, (size_t)extensionLength);
    text[keep + 1 + extensionLength] = 0;
    return 1;
}

const char* DefaultExtensionAt(int filterIndex) {
    if (filterIndex < 0 || filterIndex >= DEFAULT_EXTENSION_COUNT) return "";
    return DefaultExtensions[filterIndex];
}
