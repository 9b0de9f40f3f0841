// Writing ILDA frame files in the published record layouts, for the
// converter. The editor's own writer, WriteIldaFrames (formats/ilda_file.h),
// writes format 0 as it always has, without the last-point bit; this one
// writes format 0, 1, 4 or 5 as other programs and players expect: the
// last-point bit on the last record of every frame, the blanking bit on
// blanked points, colour index 1 for lit points in formats 0 and 1 (as the
// editor writes them), and in formats 4 and 5 the given colour for lit
// points and black for blanked ones. Z is 0.
#pragma once

#include <cstdint>

#include "document/ui_port.h"

// 1 for the format codes WriteIldaFormat writes: 0, 1, 4 and 5.
int IldaWritableFormat(int format);

// Writes frames first to last inclusive in format (0, 1, 4 or 5), lit
// points of true-colour formats in colour (0xRRGGBB). Headers, refusals
// and results as WriteIldaFrames; an unknown format gives 0 and writes
// nothing.
int WriteIldaFormat(UiWindow owner, const char* path, int first, int last, int format,
                    uint32_t colour);
