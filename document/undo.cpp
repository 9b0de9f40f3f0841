// Single-level undo and the modified state, with their two menu items.
#include "document/undo.h"

#include <cstring>

#include "document/command_ids.h"
#include "document/ui_port.h"

// Program start: a count-only snapshot of the empty working frame.
UndoSnapshot undoSnapshot = {0, 0, {}};
bool documentModified = false;

void TakeUndoSnapshot(int kind) {
    switch (kind) {
        case UNDO_COUNT_ONLY:
            undoSnapshot.state = workingFrame.count;
            break;
        case UNDO_FULL_COPY:
            std::memcpy(undoSnapshot.points, workingFrame.points,
                        sizeof(VectorPoint) * (size_t)workingFrame.count);
            undoSnapshot.savedCount = workingFrame.count;
            undoSnapshot.state = UNDO_STATE_FULL_COPY;
            break;
        case UNDO_DISCARD:
            undoSnapshot.state = UNDO_STATE_NONE;
            EnableCommand(CMD_UNDO, false);
            break;
        default:
            break;
    }
}

int ApplyUndo() {
    if (undoSnapshot.state == UNDO_STATE_NONE) return 0;
    if (undoSnapshot.state >= 0) {
        workingFrame.count = undoSnapshot.state;
    } else if (undoSnapshot.state == UNDO_STATE_FULL_COPY) {
        workingFrame.count = undoSnapshot.savedCount;
        std::memcpy(workingFrame.points, undoSnapshot.points,
                    sizeof(VectorPoint) * (size_t)undoSnapshot.savedCount);
    } else {
        return 0;
    }
    undoSnapshot.state = UNDO_STATE_NONE;
    workingFrame.changed = true;
    return 1;
}

void SetDocumentModified(bool modified) {
    workingFrame.changed = modified;
    documentModified = modified;
    EnableCommand(CMD_SAVE_FRAMES, modified);
    if (modified) EnableCommand(CMD_UNDO, undoSnapshot.state != UNDO_STATE_NONE);
}

void ResetUndoState() {
    undoSnapshot.state = 0;
    undoSnapshot.savedCount = 0;
    documentModified = false;
}
