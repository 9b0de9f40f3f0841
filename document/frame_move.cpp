// The move to another frame: the working frame goes back into the store and
// the new current frame comes out of it, and the views follow.
#include "document/frame_move.h"

#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"

static bool AnyPointSelected() {
    for (int i = 0; i < workingFrame.count; ++i)
        if (workingFrame.points[i].flags & POINT_SELECTED) return true;
    return false;
}

void GoToFrame(int slot) {
    if (slot < 0 || slot >= MAX_FRAMES) return;
    // Reloading the frame on show, unchanged and with no point selected,
    // leaves the canvas picture as it is (the Frame Table does this whenever
    // its focus moves to the current row): no repaint is asked for then.
    bool samePicture =
        slot == frameStore.currentFrame && !workingFrame.changed && !AnyPointSelected();
    StoreFrame(frameStore.currentFrame, false);
    frameStore.currentFrame = slot;
    LoadFrame(slot);
    TakeUndoSnapshot(UNDO_DISCARD);
    RefreshStatus(STATUS_PANES);
    RefreshFrameTable(FT_FOCUS_CURRENT);
    RefreshVectorTable(VT_REBUILD_KEEP_TOP);
    if (!samePicture) RepaintCanvas();
}
