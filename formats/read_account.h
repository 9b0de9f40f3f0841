// What a read of a frame file took and what it left out: both readers keep
// one of these as they go, so that a read which drops data says what and
// where, in one message, instead of passing for a whole read. Anything that
// wants to know how complete the last read was (the file commands, the
// converter) looks at lastReadAccount after ReadCsvFrames or ReadIldaFrames.
// Touches nothing but the account it is given, and the UI port to show it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/ui_port.h"

// Why reading ended before the end of the file (READ_STOP_NONE: it did not).
enum ReadStop {
    READ_STOP_NONE = 0,
    READ_STOP_CUT_SHORT = 1,     // the file ends inside a section: a header or record cut short
    READ_STOP_FORMAT = 2,        // a section of a format code this program cannot read
    READ_STOP_NOT_SECTION = 3,   // where the next section header should be, there is none
    READ_STOP_READ_ERROR = 4,    // the file could not be read any further
    READ_STOP_AFTER_CLOSING = 5  // a closing header, with frame sections after it
};

// What stopPlace counts, in the file's own terms, from 1.
enum ReadPlace {
    READ_PLACE_SECTION = 0,  // ILDA sections, palettes included
    READ_PLACE_FRAME = 1     // CSV frames
};

struct ReadAccount {
    int32_t framesRead;         // frames taken into the store
    int64_t pointsRead;         // points taken into the store
    int32_t longFrames;         // frames of the file holding more than MAX_POINTS points
    int64_t pointsBeyondLimit;  // the points of those frames beyond MAX_POINTS, not read
    int32_t framesBeyondStore;  // frames of the file the store had no room for, not read
    int64_t pointsBeyondStore;  // the points of those frames
    int stop;                   // ReadStop
    int placeKind;              // ReadPlace
    int32_t stopPlace;          // section or frame where reading stopped (0 when it did not)
    int formatCode;             // the section's format code, for READ_STOP_FORMAT
};

// The account of the most recent read, filled in by both readers.
extern ReadAccount lastReadAccount;

// An empty account whose places count in placeKind units.
void StartReadAccount(ReadAccount* account, int placeKind);

// Records why reading ended, and where; the first reason given stands.
void StopReading(ReadAccount* account, int stop, int32_t place, int formatCode);

// 1 when the read left out anything of the file.
int ReadLeftDataOut(const ReadAccount* account);

// 1 when the file held something but not one frame could be taken from it:
// the readers treat that as a failed read and change nothing.
int ReadFoundNoFrame(const ReadAccount* account);

// The account as the text of one message: a first line, then one line per
// kind of loss. An empty text when nothing was left out.
void FormatReadAccount(const ReadAccount* account, char* text, size_t size);

// Shows that text as one warning about the file at path, captioned
// "Loading Frames", if there is one.
void ReportReadAccount(UiWindow owner, const char* path, const ReadAccount* account);
