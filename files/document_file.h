// What the program remembers about the document's file during one run. The
// choice of reader or writer by the file name's ending is in
// formats/file_names.h, which this brings along for the file commands.
#pragma once

#include "formats/file_names.h"

// The dialogs hold a path of 260 characters and a file title of 256, both
// terminator included, in UTF-16 units; kept in UTF-8 each unit takes up to
// three bytes.
enum { DOCUMENT_PATH_CHARS = 260, DOCUMENT_TITLE_CHARS = 256 };
enum {
    DOCUMENT_PATH_LENGTH = 3 * (DOCUMENT_PATH_CHARS - 1) + 1,
    DOCUMENT_TITLE_LENGTH = 3 * (DOCUMENT_TITLE_CHARS - 1) + 1
};
enum { DEFAULT_EXTENSION_COUNT = 5 };

extern int FilterIndex;  // 1-based file-type index shared by both dialogs
extern const char* const DefaultExtensions[DEFAULT_EXTENSION_COUNT];
extern char DocumentPath[DOCUMENT_PATH_LENGTH];
extern char DocumentFileTitle[DOCUMENT_TITLE_LENGTH];
// Set when the document was opened from a file that could not be read
// whole: the next save then goes through the save dialog, so that the
// shortened copy never replaces the original without the overwrite
// question. Remembering a file clears it.
extern bool DocumentFileIncomplete;

// Takes a chosen file as the document's file. The type index is kept only
// when it names an entry of the save list (1 to 4); a null title leaves
// the title as it is. A path too long for its buffer is not kept at all
// (a cut one could name another file), so the next save asks for a name;
// a title too long is cut after its last whole character. The file counts
// as complete.
void RememberDocumentFile(int filterIndex, const char* path, const char* fileTitle);

void ResetDocumentFile();
