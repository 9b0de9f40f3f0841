// quillon-convert --check: what the editor would make of a frame file. Runs
// the editor's own reader on it as opening it would, and the walker of its
// format, which goes through it section by section or frame by frame, and
// prints both on stdout. Touches the document (the reader fills it) and the
// UI port's warning entry.
#pragma once

#include <cstdint>

enum { CHECK_WHOLE = 0, CHECK_LOSES = 1, CHECK_UNREADABLE = 2 };

// Returns the exit status: CHECK_WHOLE when the editor would read all of
// the file, CHECK_LOSES when it would leave something out (and warn),
// CHECK_UNREADABLE when it cannot read the file at all. speed: the scan
// speed the report times the frames at, 0 for the file's own or 30000.
int CheckFrameFile(const char* path, int32_t speed);
