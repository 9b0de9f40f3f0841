// ILDA frame files (".ild"): big-endian sections of a 32-byte header and
// fixed-size records. Frames are read from formats 0, 1 and 5, palettes are
// skipped; frames are written as format 0 with Z = 0.
#pragma once

#include "document/ui_port.h"

// Reads an ILDA file into the store. insert 0 replaces the document (the
// settings stay); nonzero inserts the file's frames at the current frame.
// The first header is checked before anything changes: a file that cannot
// be opened, or that does not begin with an ILDA section header, gives 0
// with a warning shown and the document untouched. Otherwise reads up to
// the first section it cannot take and returns 1.
int ReadIldaFrames(UiWindow owner, const char* path, int insert);

// Writes frames first to last inclusive (last = first - 1 writes only the
// closing header). Refuses, without touching any file, a range holding a
// frame without points. The old file is replaced only by a complete new
// one. Returns 1 on success, 0 with a warning shown; a range outside the
// store gives 0 and writes nothing.
int WriteIldaFrames(UiWindow owner, const char* path, int first, int last);
