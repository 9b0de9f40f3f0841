// The whole model back to its start.
#include "document/document_reset.h"

#include "document/frame_store.h"
#include "document/undo.h"

void ResetDocument() {
    ClearFrameStore();
    workingFrame.count = 0;
    workingFrame.changed = false;
    ScanSpeed = SCAN_SPEED_INITIAL;
    BlankingDelay = BLANKING_DELAY_INITIAL;
    ResetUndoState();
}
