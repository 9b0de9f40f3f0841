// Lines of a CSV frame file as the reader takes them: the file in pieces of
// at most 49 characters, and the header, point and name lines read from
// them. Shared by the reader and the file check's line walker, so that both
// see exactly the same lines. Touches nothing but what it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "document/frame_store.h"

enum {
    // Lines are taken in pieces of at most 49 characters, as a 50-byte line
    // buffer would take them; a longer line becomes several lines.
    CSV_LINE_BUFFER = 50,
    CSV_LINE_CHARS = CSV_LINE_BUFFER - 1,
    CSV_READ_BLOCK = 256 * 1024,
    // Readable bytes after the data, for the reader's quick point scan.
    CSV_INPUT_SLACK = 80,
    // The reader keeps the header's delay within 0 to 32, not the 30 the
    // Change Blanking Delay command allows.
    CSV_BLANKING_DELAY_MAX = 32
};

struct CsvInput {
    FILE* stream;
    size_t pos;
    size_t length;
    bool atEnd;      // nothing more to come from the stream
    bool failed;     // a read error, not the end of the file, ended the stream
    bool lineEnded;  // the last piece ended its line (a line end or the end of the file)
    // A zero after the data, and room for the quick scan's reads beyond it.
    char block[CSV_READ_BLOCK + CSV_INPUT_SLACK];
};

void StartCsvInput(CsvInput* in, FILE* stream);

// Takes the next piece of a line into out (CSV_LINE_BUFFER bytes,
// terminated). A CR directly before LF is dropped, the LF ends the piece
// and is not kept. Returns the piece's length, or -1 at the end of the file.
int ReadCsvPiece(CsvInput* in, char* out);

// "VECTOR," exactly, the scan speed, and optionally ",delay" (0 when absent).
int ParseCsvHeader(const char* line, int32_t* speed, int32_t* delay);

// Three integers, each comma directly after its number; the rest is ignored.
// A number beyond the 32-bit range keeps its low 32 bits, so that the point
// gets the low 16 bits (and V the beam bit) of the number as written;
// *beyond (when given) says which did, bit i for field i (V, X, Y).
int ParseCsvPointLine(const char* line, int32_t fields[3], unsigned* beyond = nullptr);

// The point of a point line: the beam from bit 0 of V, X and the negated Y
// as their low 16 bits (two's complement).
inline void SetCsvPoint(VectorPoint* point, int32_t v, int32_t x, int32_t y) {
    point->flags = (v & 1) ? POINT_VISIBLE : 0;
    point->x = (int16_t)(uint16_t)((uint32_t)x & 0xFFFFu);
    point->y = (int16_t)(uint16_t)((0u - (uint32_t)y) & 0xFFFFu);
}

// What a name line did not take as it stands, for the file check.
enum {
    CSV_NAME_ZERO_ENDED = 1,    // a zero byte ended the name before its line did
    CSV_NAME_NOT_FULL_FORM = 2  // ends in a double quote and a comma, as the full form does,
                                // but a double quote inside is not doubled
};

// Any line that is neither a point nor a separator names its frame: fills
// name (16 bytes, space padded) and returns how long the name would be
// without the 16-byte limit. *odd (when given) gets CSV_NAME_ flags.
int ParseCsvNameLine(const char* line, int length, FrameName* name, unsigned* odd = nullptr);
