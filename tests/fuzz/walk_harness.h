// One fuzz input through a file check walker and the reader it stands for:
// the walker's verdict (refused, lossy or whole, and its account of frames,
// points and what is lost) must be the reader's own account of the same
// bytes, with and without a report; and the report must be what people
// read: printable text, a "lost:" line exactly when something is lost,
// and every section or frame listed or summed up exactly once, in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "formats/read_account.h"
#include "tests/fuzz/read_harness.h"

typedef int (*FrameWalker)(const char* path, FILE* report, ReadAccount* account);

// Aborts, with a message on stderr, when a rule is broken. csv: the
// walker's items are frames (CSV) rather than sections (ILDA).
void FuzzOneWalk(const uint8_t* data, size_t size, FrameReader reader, FrameWalker walker,
                 bool csv);
