// One fuzz input through a frame-file reader, with the model checked after
// the read: counts within their limits, a refused read leaves every byte of
// the model as it was, an accepted one keeps the reader's promises.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/ui_port.h"

typedef int (*FrameReader)(UiWindow owner, const char* path, int insert);

// Documents the frames are inserted into, picked by an insert-mode input's
// first byte: empty; three frames, the second current; 998 frames, near the
// end of the store; a full store; three frames with the current one past the
// end.
enum { DOCUMENT_SHAPES = 5 };

// Writes the input to a file and reads it with reader (insert 0: open mode,
// the whole input is the file; nonzero: insert mode, the first byte picks
// the document and the rest is the file). Aborts, with a message on stderr,
// when the model breaks a rule.
void FuzzOneRead(const uint8_t* data, size_t size, FrameReader reader, int insert);
