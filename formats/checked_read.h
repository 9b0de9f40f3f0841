// Reading the bytes of a frame file so that a read error is told apart from
// the end of the file: a reader must not take a failing disk or network
// share for a file that simply ends there.
#pragma once

#include <cstddef>
#include <cstdio>

// Reads up to size bytes. Returns how many came; 0 at the end of the file
// or on a read error, and then *failed says which (set on an error, left
// as it was otherwise).
size_t CheckedRead(FILE* stream, void* to, size_t size, bool* failed);

// The reason the system gave (an errno value) for the last read that
// failed.
int ReadFailureCause();

// Test hook: every read fails once afterBytes bytes have been read since the
// hook was armed, as a failing disk would (EIO). A negative value disarms it.
// Never used by the program itself.
void SetReadFault(long long afterBytes);
