// Writing a file so that the old one survives any failure: the data goes to
// a temporary file beside the target, every write and the close are checked,
// and only then does the temporary file replace the target in one step.
#pragma once

#include <cstdio>

#include "document/ui_port.h"

enum { ATOMIC_PATH_LENGTH = 4096 };

struct AtomicFile {
    FILE* stream;
    bool failed;        // some write went wrong; Finish will refuse
    int cause;          // the reason the system gave for the first failure (errno), 0 for none
    long long written;  // bytes handed to the stream so far
    char targetPath[ATOMIC_PATH_LENGTH];
    char tempPath[ATOMIC_PATH_LENGTH];
};

// Creates the temporary file beside path. An existing target that is not
// a plain file (a folder, a device) or not writable counts as a file that
// cannot be created, as it did when files were overwritten in place. On
// failure shows "Failed to create frame file." (caption "Saving Frames"),
// with the path and the reason the system gave, and returns 0.
int BeginAtomicWrite(AtomicFile* file, UiWindow owner, const char* path);

// Checked writes; a failure is remembered in file->failed.
void AtomicWriteBytes(AtomicFile* file, const void* data, size_t size);

// Flushes, closes and replaces the target. On any failure removes the
// temporary file, leaves the target untouched, shows "Failed to write frame
// file." (caption "Saving Frames"), with the path and the reason the system
// gave, and returns 0. A program asked to stop (formats/temp_file_guard.h)
// gives up here, or at the next write, with the reason EINTR.
int FinishAtomicWrite(AtomicFile* file, UiWindow owner);

// Test hook: makes writes fail at one step so that the failure paths can be
// exercised without a full disk. ATOMIC_FAULT_WRITE lets afterBytes bytes
// through and then fails, as a disk filling up would (ENOSPC); the close
// fails with EIO and the replacement with EACCES. Stays armed until set
// back to ATOMIC_FAULT_NONE. Never used by the program itself.
enum {
    ATOMIC_FAULT_NONE = 0,
    ATOMIC_FAULT_WRITE = 1,
    ATOMIC_FAULT_CLOSE = 2,
    ATOMIC_FAULT_REPLACE = 3
};
void SetAtomicWriteFault(int step, long long afterBytes);
