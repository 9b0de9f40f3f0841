// Writing a file so that the old one survives any failure: the data goes to
// a temporary file beside the target, every write and the close are checked,
// and only then does the temporary file replace the target in one step.
#pragma once

#include <cstdio>

#include "document/ui_port.h"

enum { ATOMIC_PATH_LENGTH = 4096 };

struct AtomicFile {
    FILE* stream;
    bool failed;  // some write went wrong; Finish will refuse
    char targetPath[ATOMIC_PATH_LENGTH];
    char tempPath[ATOMIC_PATH_LENGTH];
};

// Creates the temporary file. On failure shows "Failed to create frame file."
// (caption "Saving Frames") and returns 0.
int BeginAtomicWrite(AtomicFile* file, UiWindow owner, const char* path);

// Checked writes; a failure is remembered in file->failed.
void AtomicWriteBytes(AtomicFile* file, const void* data, size_t size);

// Flushes, closes and replaces the target. On any failure removes the
// temporary file, leaves the target untouched, shows "Failed to write frame
// file." (caption "Saving Frames") and returns 0.
int FinishAtomicWrite(AtomicFile* file, UiWindow owner);

// Gives up: closes and removes the temporary file without a message.
void AbandonAtomicWrite(AtomicFile* file);
