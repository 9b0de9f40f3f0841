// What follows an ILDA file's closing header (a header of 0 records): the
// reader stops there, and only frames after it are left out. Some writers
// end a file with two closing headers, or put a palette after it; those
// hold no frames, so they cost nothing. Shared by the reader and the
// section walker, so that both judge the rest of a file alike. Touches
// nothing but the input it reads.
#pragma once

#include <cstdint>

#include "formats/ilda_input.h"

struct IldaTail {
    int32_t sections;       // whole sections after the closing header that hold no frames
    int32_t closings;       // of them, further closing headers
    int32_t palettes;       // of them, palettes
    int32_t frameSection;   // the section with frame records after them, counting on from
                            // the closing header's number; 0 when there is none
    long long sectionsEnd;  // where the sections that hold no frames end
};

// Reads on from just after the closing header numbered section: over
// closing headers and palettes, to the first section that holds frame
// records (a frame format with records), the end of the file, or anything
// else (no header, a format the reader cannot read, a section cut short),
// which holds no frames the reader could take.
void ScanIldaTail(IldaInput* in, int32_t section, IldaTail* tail);
