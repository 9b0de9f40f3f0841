// Paths are UTF-8 inside the program; Windows takes and gives them as
// UTF-16. The conversion both ways, with no platform dependency. A lone
// surrogate, which Windows allows in a file name, is carried as its own
// three-byte sequence, so that every name the system gives comes back to it
// unchanged.
#pragma once

#include <cstdint>

// Converts the NUL-terminated text into out, which holds capacity units,
// terminator included. Returns the units written before the terminator, or
// -1 (out empty) when the text is not UTF-8 or does not fit whole: a path is
// never cut.
int Utf8ToUtf16(const char* text, uint16_t* out, int capacity);

// The other way; capacity in bytes, terminator included. Up to three bytes
// a unit. -1 (out empty) when it does not fit whole.
int Utf16ToUtf8(const uint16_t* text, char* out, int capacity);

#ifdef _WIN32
// wchar_t is a UTF-16 unit on Windows.
static_assert(sizeof(wchar_t) == sizeof(uint16_t), "wchar_t is UTF-16");
inline int WidenText(const char* text, wchar_t* out, int capacity) {
    return Utf8ToUtf16(text, reinterpret_cast<uint16_t*>(out), capacity);
}
inline int NarrowText(const wchar_t* text, char* out, int capacity) {
    return Utf16ToUtf8(reinterpret_cast<const uint16_t*>(text), out, capacity);
}
#endif
