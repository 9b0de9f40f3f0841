// The program's own CSV frame file: a header with the scan speed and the
// blanking delay, then per frame a name line and one "V,X,Y" line per point,
// with a "+" line between frames.
#pragma once

#include "document/ui_port.h"

// Reads a CSV frame file into the store. insert 0 replaces the document
// (settings included) and may fill all 1000 slots; nonzero inserts the
// file's frames at the current frame, within InsertBlankFrame's limits.
// Accounts for what it left out in lastReadAccount (formats/read_account.h):
// point lines beyond 3000 in a frame, frames beyond the store, a read error.
// Returns 0 with a warning shown, and the document untouched, when the file
// cannot be opened, its header is invalid, or not one frame could be taken
// (an insertion into a full store); 1 otherwise, after one warning with the
// account when anything was left out.
int ReadCsvFrames(UiWindow owner, const char* path, int insert);

// Writes frames first to last inclusive (last = first - 1 writes the header
// only). Every name byte but CR and LF (written as spaces) reads back as it
// was, up to a zero byte, which ends the name. The old file is replaced
// only by a complete new one. Returns 1 on success, 0 with a warning shown.
int WriteCsvFrames(UiWindow owner, const char* path, int first, int last);
