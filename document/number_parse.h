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

int32_t ClampInt(int32_t v, int32_t low, int32_t high);
