// Renaming, duplicating and deleting frames on behalf of the Frame Table.
#include "tables/frame_edits.h"

#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"

void RenameFrame(int f, const char* text) {
    if (f < 0 || f >= frameStore.numFrames) return;
    FrameName& name = frameStore.frameNames[f];
    int i = 0;
    for (; i < FRAME_NAME_LENGTH && text[i]; ++i) name.bytes[i] = text[i];
    for (; i < FRAME_NAME_LENGTH; ++i) name.bytes[i] = ' ';
    SetDocumentModified(true);
}

int InsertFrameCopy(int f) {
    if (frameStore.numFrames == 0 || frameStore.numFrames >= MAX_FRAMES) return 0;
    if (f < 0 || f >= frameStore.numFrames) return 0;
    // Unstored edits go into the frame being copied too, so that the copy and
    // the frame it copies hold the same points.
    StoreFrame(frameStore.currentFrame, false);
    if (!InsertBlankFrame(f)) return 0;
    frameStore.frameNames[f] = frameStore.frameNames[f + 1];
    SetDocumentModified(true);
    StoreFrame(f, true);
    TakeUndoSnapshot(UNDO_DISCARD);
    RefreshStatus(STATUS_PANES);
    RefreshFrameTable(FT_REBUILD);
    return 1;
}

int DeleteFrameRows(const int* rows, int rowCount) {
    if (rowCount <= 0) return 0;
    // The working frame's points are kept, like in every flow that replaces frames.
    StoreFrame(frameStore.currentFrame, false);
    for (int r = 0; r < rowCount; ++r) {
        if (rows[r] >= 0 && rows[r] < frameStore.numFrames)
            frameStore.pointCounts[rows[r]] = FRAME_DELETION_MARK;
    }
    DeleteMarkedFrames();
    SetDocumentModified(true);
    LoadFrame(frameStore.currentFrame);
    TakeUndoSnapshot(UNDO_DISCARD);
    RefreshStatus(STATUS_PANES);
    RefreshFrameTable(FT_REBUILD);
    RefreshVectorTable(VT_REBUILD_KEEP_TOP);
    RepaintCanvas();
    return 1;
}
