// Frame names as quoted text and as XML character data.
#include "formats/name_text.h"

#include <cstdio>
#include <cstring>

void FormatQuotedBytes(const char* bytes, int length, char* text) {
    char* p = text;
    *p++ = '"';
    for (int i = 0; i < length; ++i) {
        unsigned char c = (unsigned char)bytes[i];
        if (c == '"' || c == '\\') {
            *p++ = '\\';
            *p++ = (char)c;
        } else if (c < 0x20 || c >= 0x7F) {
            std::snprintf(p, 5, "\\x%02X", c);
            p += 4;
        } else {
            *p++ = (char)c;
        }
    }
    *p++ = '"';
    *p = 0;
}

void FormatQuotedName(const FrameName* name, char text[QUOTED_NAME_SIZE]) {
    FormatQuotedBytes(name->bytes, FRAME_NAME_LENGTH, text);
}

char* PutXmlName(char* out, const FrameName* name) {
    int length = 0;
    while (length < FRAME_NAME_LENGTH && name->bytes[length] != 0) ++length;
    while (length > 0 && name->bytes[length - 1] == ' ') --length;
    for (int i = 0; i < length; ++i) {
        const unsigned char c = (unsigned char)name->bytes[i];
        const char* entity = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : nullptr;
        if (entity) {
            const size_t size = std::strlen(entity);
            std::memcpy(out, entity, size);
            out += size;
        } else if (c >= 0x20 && c < 0x7F) {
            *out++ = (char)c;
        } else if (c >= 0xA0) {
            *out++ = (char)(0xC0 | (c >> 6));
            *out++ = (char)(0x80 | (c & 0x3F));
        } else {
            std::memcpy(out, "\xEF\xBF\xBD", 3);
            out += 3;
        }
    }
    return out;
}
