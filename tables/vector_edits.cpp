// Point insertion, deletion and editing on behalf of the Vector Table.
#include "tables/vector_edits.h"

#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"

int InsertVectorAt(int f) {
    int count = workingFrame.count;
    if (count <= 0 || count >= MAX_POINTS) return 0;
    if (f < 0 || f >= count) return 0;
    TakeUndoSnapshot(UNDO_FULL_COPY);
    for (int i = count - 1; i >= f; --i) workingFrame.points[i + 1] = workingFrame.points[i];
    workingFrame.count = count + 1;
    SetDocumentModified(true);
    RefreshStatus(STATUS_PANES);
    RefreshVectorTable(VT_REBUILD_KEEP_TOP);
    return 1;
}

int DeleteVectorRows(const int* rows, int rowCount) {
    if (rowCount <= 0) return 0;
    TakeUndoSnapshot(UNDO_FULL_COPY);
    int count = workingFrame.count;
    for (int i = 0; i < count; ++i) workingFrame.points[i].flags &= ~POINT_MARKED;
    for (int r = 0; r < rowCount; ++r) {
        if (rows[r] >= 0 && rows[r] < count) workingFrame.points[rows[r]].flags |= POINT_MARKED;
    }
    // One pass keeping the unmarked points in order.
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (!(workingFrame.points[i].flags & POINT_MARKED))
            workingFrame.points[kept++] = workingFrame.points[i];
    }
    workingFrame.count = kept;
    SetDocumentModified(true);
    RefreshStatus(STATUS_PANES);
    RefreshVectorTable(VT_REBUILD_KEEP_TOP);
    RepaintCanvas();
    return 1;
}

void ApplyVectorEdit(const uint8_t* rowStates, int32_t v, int32_t x, int32_t y) {
    TakeUndoSnapshot(UNDO_FULL_COPY);
    for (int i = 0; i < workingFrame.count; ++i) {
        VectorPoint& point = workingFrame.points[i];
        if (rowStates[i] & ROW_FOCUSED) {
            point.flags = (int16_t)((point.flags & ~POINT_VISIBLE) | (v & 1));
        }
        if (rowStates[i] & (ROW_FOCUSED | ROW_SELECTED)) {
            point.x = (int16_t)(uint16_t)(uint32_t)x;
            point.y = (int16_t)(uint16_t)(uint32_t)(-(int64_t)y);
        }
    }
    SetDocumentModified(true);
    RepaintCanvas();
}
