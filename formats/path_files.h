// The file calls that take a path, for paths in UTF-8: on Windows through the
// C library's wide calls, so that a name in any script opens whatever the
// system's code page; elsewhere the path's bytes go to the system as they
// are. Every opener of frame files goes through here.
#pragma once

#include <cstddef>
#include <cstdio>

// Longest path handed to the system, in UTF-16 units on Windows (a path that
// does not fit is refused, never cut).
enum { SYSTEM_PATH_UNITS = 4096 };

// The message for a path longer than the program or the system can hold.
extern const char* const PATH_TOO_LONG_TEXT;

// fopen; null when the file cannot be opened or the path not converted.
FILE* OpenPathStream(const char* path, const char* mode);

// Creates a new file for writing, failing when one exists (errno EEXIST).
// Returns a descriptor or -1.
int CreateNewPathFile(const char* path);

// remove; 1 when the file is gone.
int RemovePath(const char* path);

// Replaces target with the file at from, in one step; 1 on success, 0 with
// errno set.
int ReplacePath(const char* from, const char* target);

enum { PATH_MISSING = 0, PATH_FILE = 1, PATH_FOLDER = 2, PATH_DEVICE = 3, PATH_UNKNOWN = 4 };
// What is at path (following links): PATH_DEVICE for anything that is
// neither a plain file nor a folder (a pipe, a device). For a file,
// *writable tells whether it may be written and *mode holds its permission
// bits (-1 where the system has none to keep). PATH_UNKNOWN, errno set,
// when it cannot be looked at.
int InspectPath(const char* path, bool* writable, int* mode);

// The file that path leads to through symbolic links, written into out
// (capacity bytes): a save replaces that file and keeps the links. A path
// that is no link, or whose link cannot be read, comes back as it is.
// 0 only when the result does not fit in out.
int ResolvePathLinks(const char* path, char* out, size_t capacity);
