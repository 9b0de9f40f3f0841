// Frame names as text for people to read: quoted with escapes for a
// terminal, and as XML character data. Names are 16 raw bytes that may hold
// any byte. Touches nothing but the text it writes.
#pragma once

#include <cstddef>

#include "document/frame_store.h"

enum {
    QUOTED_NAME_SIZE = 2 + 4 * FRAME_NAME_LENGTH + 1,  // every byte as \xNN, quotes, zero
    XML_NAME_MAX = 6 * FRAME_NAME_LENGTH               // every byte as "&amp;"
};

// Bytes in double quotes, so that trailing spaces stay readable: a double
// quote or backslash gets a backslash, bytes below 0x20 and of 0x7F and
// above show as \xNN. text needs room for 4 * length + 3 bytes.
void FormatQuotedBytes(const char* bytes, int length, char* text);

// All 16 bytes of the name, quoted as above.
void FormatQuotedName(const FrameName* name, char text[QUOTED_NAME_SIZE]);

// The name as the Frame Table shows it (up to a zero byte), without its
// trailing spaces, as UTF-8 XML character data: bytes of 0xA0 and above as
// the Latin-1 characters they are, control bytes (below 0x20, 0x7F to 0x9F),
// which XML forbids or hides, as U+FFFD, and & < > escaped. Writes at most
// XML_NAME_MAX bytes at out, unterminated, and returns the end.
char* PutXmlName(char* out, const FrameName* name);
