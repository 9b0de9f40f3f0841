// The Frame Table's edits of the frame store, apart from the list view.
#pragma once

// The entered text, padded with spaces or cut to 16 characters, names frame f.
void RenameFrame(int f, const char* text);

// Puts a copy of the working frame, named like frame f, before frame f.
// Refused (0) with no frames, 1000 frames or f outside the document.
int InsertFrameCopy(int f);

// Stores the working frame, deletes the frames of the given rows and reloads
// the current frame.
// Refused (0) when no row is given.
int DeleteFrameRows(const int* rows, int rowCount);
