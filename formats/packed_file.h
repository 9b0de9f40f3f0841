// Packed frame files (".frm"), written only: a 32-byte little-endian header
// with the scan speed, then two 16-bit words per point with 12-bit offset
// binary coordinates and the beam bit delayed by the blanking delay.
#pragma once

#include "document/ui_port.h"

// Writes frames first to last inclusive (last = first - 1 writes the header
// only, with the name of frame first). The old file is replaced only by a
// complete new one. Returns 1 on success, 0 with a warning shown; a range
// outside the store gives 0 and writes nothing.
int WritePackedFrames(UiWindow owner, const char* path, int first, int last);
