// Reading numbers the way every prompt and file field reads them.
#pragma once

#include <cstdint>

// Leading decimal integer of a text: white space skipped, optional sign,
// digits up to the first other character. No digits gives 0. Values beyond
// the 32-bit range saturate at its limits.
int32_t ParseLeadingInt(const char* text);

// Same reading, but reports whether any digit was found and where it stopped.
// Leading blanks (space, tab, and the other isspace characters) are skipped.
int ScanInt(const char* text, int32_t* result, const char** end);

// Same reading, but a value beyond the 32-bit range keeps its low 32 bits
// (two's complement of the whole number) instead of saturating, so that its
// low bits are the number's own; *beyond (when given) says whether it was.
int ScanIntLow32(const char* text, int32_t* result, const char** end, bool* beyond);

int32_t ClampInt(int32_t v, int32_t low, int32_t high);
