// The save dialog's rename on a change of file type, as plain text work so
// that it can be tested without a dialog.
#pragma once

enum { SAVE_NAME_BUFFER = 256 };  // characters, terminator included

// Replaces everything from the first '.' of text (or its end when it has
// none) with '.' followed by extension. text holds at most capacity
// characters, terminator included. Returns 1 when text was rewritten; 0 when
// it is left as it was: empty text, or a new ending that would not fit.
int RewriteSaveName(char* text, int capacity, const char* extension);

// The default extension for a file-type index; "" for an index outside
// the table.
const char* DefaultExtensionAt(int filterIndex);
