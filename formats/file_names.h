// What a file's name says: which frame format it is by its ending, and the
// name without its folder. Touches nothing.
#pragma once

enum FrameFileKind { FRAME_FILE_NONE = 0, FRAME_FILE_CSV, FRAME_FILE_ILDA, FRAME_FILE_PACKED };

// By the last four characters, without regard to ASCII case; names shorter
// than four characters give FRAME_FILE_NONE.
FrameFileKind FrameFileKindOf(const char* path);

// Whether the path ends in the four characters given in upper case (".SVG"),
// without regard to ASCII case.
bool HasFileEnding(const char* path, const char* ending);

// The name part of a path: whatever follows its last '\\', '/' or ':'.
const char* FileTitleOf(const char* path);
