// The program's own CSV frame file: a header with the scan speed and the
// blanking delay, then per frame a name line and one "V,X,Y" line per point,
// with a "+" line between frames.
#pragma once

#include "document/ui_port.h"

// Reads a CSV frame file into the store. insert 0 replaces the document
// (settings included); nonzero inserts the file's frames at the current
// frame. Returns 0 with a warning shown, and the document untouched, when
// the file cannot be opened or its header is invalid; 1 otherwise.
int ReadCsvFrames(UiWindow owner, const char* path, int insert);

// Writes frames first to last inclusive (last = first - 1 writes the header
// only). The old file is replaced only by a complete new one. Returns 1 on
// success, 0 with a warning shown.
int WriteCsvFrames(UiWindow owner, const char* path, int first, int last);
