// Text output gathered in one block before it goes to the atomic writer,
// for the writers that put out many short pieces (CSV lines, SVG paths).
// Touches nothing but the block and the file it writes.
#pragma once

#include <cstddef>

#include "formats/atomic_write.h"

enum { TEXT_OUTPUT_BLOCK = 256 * 1024 };

struct TextOutput {
    AtomicFile file;
    char* cursor;  // where the next byte goes
    char buffer[TEXT_OUTPUT_BLOCK];
};

// Starts the atomic write of path. 0, with the writer's warning shown, when
// the file cannot be created.
int BeginTextOutput(TextOutput* out, UiWindow owner, const char* path);

// Hands the block to the file and starts it again.
void FlushTextOutput(TextOutput* out);

// Room for size more bytes at the cursor (size at most the block): a writer
// asks once per piece of known greatest size, writes it and moves the cursor.
inline char* TextRoom(TextOutput* out, size_t size) {
    if ((size_t)(out->buffer + TEXT_OUTPUT_BLOCK - out->cursor) < size) FlushTextOutput(out);
    return out->cursor;
}

// Writes what is left and replaces the file; as FinishAtomicWrite.
int FinishTextOutput(TextOutput* out, UiWindow owner);
