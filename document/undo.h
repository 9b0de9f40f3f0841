// Single-level undo of the working frame and the document's modified state,
// with the Save Frames and Undo menu items kept in step.
#pragma once

#include <cstdint>

#include "document/frame_store.h"

enum { UNDO_COUNT_ONLY = 0, UNDO_FULL_COPY = 1, UNDO_DISCARD = 2 };

enum { UNDO_STATE_NONE = -1, UNDO_STATE_FULL_COPY = -2 };

struct UndoSnapshot {
    int32_t state;  // -1 none, -2 full copy, >= 0 count-only (old count)
    int32_t savedCount;
    VectorPoint points[MAX_POINTS];
};

extern UndoSnapshot undoSnapshot;
extern bool documentModified;

void TakeUndoSnapshot(int kind);
int ApplyUndo();
void SetDocumentModified(bool modified);

// Program-start state: a count-only snapshot of the empty frame, not modified.
void ResetUndoState();
