// SVG files as frames of the store: each file is read (convert/svg_reader.h),
// laid out (convert/frame_layout.h) and inserted as one frame named after
// the file. Touches the frame store, the working frame and the drawing
// store.
#pragma once

#include <cstddef>

#include "convert/frame_layout.h"

enum { IMPORT_REASON_SIZE = 512 };

// Inserts the frame made from the SVG file at path as frame slot (at most
// the store's frame count). Returns 1, or 0 with the store untouched and
// the reason, a sentence about the file without its name, in reason.
int ImportSvgFrame(const char* path, const FrameLayoutOptions* options, int slot, char* reason,
                   size_t reasonSize);

// The frame name for a file: its name without the folder and without an
// ".svg" ending, cut to 16 bytes and padded with spaces.
void FrameNameForFile(const char* path, FrameName* name);
