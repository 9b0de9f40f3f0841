// ILDA frame files (".ild"): big-endian sections of a 32-byte header and
// fixed-size records. Frames are read from formats 0, 1, 4 and 5, palettes
// are skipped; frames are written as format 0 with Z = 0.
#pragma once

#include "document/ui_port.h"

// Reads an ILDA file into the store. insert 0 replaces the document (the
// settings stay) and may fill all 1000 slots; nonzero inserts the file's
// frames at the current frame, within InsertBlankFrame's limits. Sections
// begin with the four bytes "ILDA"; the reserved bytes after them are
// ignored. Reads up to the closing header, the end of the file or the first
// section it cannot take, and accounts for what it left out in
// lastReadAccount (formats/read_account.h): points beyond 3000 in a frame,
// frames beyond the store, a file cut short, frame sections after the
// closing header (not closing headers or palettes, which hold no frames),
// the section where reading stopped and why.
// Returns 0 with a warning shown and the document untouched when the file
// cannot be opened, does not begin with an ILDA section header ("Invalid
// ILDA frame file."), or holds something of which not one frame could be
// taken (the account's message). Otherwise 1, after one warning with the
// account when anything was left out.
int ReadIldaFrames(UiWindow owner, const char* path, int insert);

// Writes frames first to last inclusive (last = first - 1 writes only the
// closing header). Refuses, without touching any file, a range holding a
// frame without points. The old file is replaced only by a complete new
// one. Returns 1 on success, 0 with a warning shown; a range outside the
// store gives 0 and writes nothing.
int WriteIldaFrames(UiWindow owner, const char* path, int first, int last);
