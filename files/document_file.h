// What the program remembers about the document's file during one run, and
// the choice of reader or writer by the file name's ending.
#pragma once

enum { DOCUMENT_PATH_LENGTH = 260, DOCUMENT_TITLE_LENGTH = 256 };

extern int FilterIndex;  // 1-based file-type index shared by both dialogs
extern const char* const DefaultExtensions[5];
extern char DocumentPath[DOCUMENT_PATH_LENGTH];
extern char DocumentFileTitle[DOCUMENT_TITLE_LENGTH];

enum FrameFileKind { FRAME_FILE_NONE = 0, FRAME_FILE_CSV, FRAME_FILE_ILDA, FRAME_FILE_PACKED };

// By the last four characters, without regard to ASCII case; names shorter
// than four characters give FRAME_FILE_NONE.
FrameFileKind FrameFileKindOf(const char* path);

void ResetDocumentFile();
