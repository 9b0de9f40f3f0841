// The frame store, the working frame, the settings and the five store
// operations. The move to another frame is in document/frame_move.cpp.
#include "document/frame_store.h"

#include <cstring>

// 18 MB of points: static storage, never on the stack.
FrameStore frameStore;
WorkingFrame workingFrame;
int32_t ScanSpeed = SCAN_SPEED_INITIAL;
int32_t BlankingDelay = BLANKING_DELAY_INITIAL;

void SetBlankName(FrameName* name) {
    std::memset(name->bytes, ' ', FRAME_NAME_LENGTH);
}

// Copies only the used points: nothing reads a slot beyond its count.
static void CopyPoints(VectorPoint* to, const VectorPoint* from, int count) {
    std::memcpy(to, from, sizeof(VectorPoint) * (size_t)count);
}

void LoadFrame(int slot) {
    if (slot < 0 || slot >= MAX_FRAMES) return;
    int count = frameStore.pointCounts[slot];
    if (count < 0) count = 0;  // a transient deletion mark is never a point count
    if (count > MAX_POINTS) count = MAX_POINTS;
    workingFrame.count = count;
    CopyPoints(workingFrame.points, frameStore.frames[slot], count);
    for (int i = 0; i < count; ++i) workingFrame.points[i].flags &= POINT_VISIBLE;
    workingFrame.changed = false;
}

static void GrowStoreTo(int newNumFrames) {
    for (int i = frameStore.numFrames; i < newNumFrames; ++i) {
        SetBlankName(&frameStore.frameNames[i]);
        frameStore.pointCounts[i] = 0;
    }
    if (newNumFrames > frameStore.numFrames) frameStore.numFrames = newNumFrames;
}

void StoreFrame(int slot, bool force) {
    if (slot < 0 || slot >= MAX_FRAMES) return;
    if (!force && !workingFrame.changed) return;
    if (slot >= frameStore.numFrames) GrowStoreTo(slot + 1);
    frameStore.pointCounts[slot] = workingFrame.count;
    CopyPoints(frameStore.frames[slot], workingFrame.points, workingFrame.count);
    workingFrame.changed = false;
}

static void MoveSlot(int to, int from) {
    int count = frameStore.pointCounts[from];
    if (count > 0) CopyPoints(frameStore.frames[to], frameStore.frames[from], count);
    frameStore.pointCounts[to] = count;
    frameStore.frameNames[to] = frameStore.frameNames[from];
}

int InsertBlankFrame(int slot) {
    if (frameStore.numFrames >= MAX_FRAMES) return 0;
    if (slot < 0 || slot >= MAX_FRAMES - 1) return 0;
    if (frameStore.numFrames < slot) GrowStoreTo(slot);
    for (int i = frameStore.numFrames - 1; i >= slot; --i) MoveSlot(i + 1, i);
    SetBlankName(&frameStore.frameNames[slot]);
    frameStore.pointCounts[slot] = 0;
    frameStore.numFrames += 1;
    return 1;
}

int BlankFrameForReading(int slot, int insert) {
    if (insert || slot != frameStore.numFrames) return InsertBlankFrame(slot);
    if (slot >= MAX_FRAMES) return 0;
    GrowStoreTo(slot + 1);
    return 1;
}

int DeleteFrame(int slot) {
    if (slot < 0 || slot >= frameStore.numFrames) return 0;
    int oldLast = frameStore.numFrames - 1;
    frameStore.numFrames -= 1;
    for (int i = slot; i < oldLast; ++i) MoveSlot(i, i + 1);
    frameStore.pointCounts[frameStore.numFrames] = 0;
    return 1;
}

void DeleteMarkedFrames() {
    int oldCount = frameStore.numFrames;
    int kept = 0;
    for (int i = 0; i < oldCount; ++i) {
        if (frameStore.pointCounts[i] == FRAME_DELETION_MARK) continue;
        if (kept != i) MoveSlot(kept, i);
        ++kept;
    }
    for (int i = kept; i < oldCount; ++i) frameStore.pointCounts[i] = 0;
    frameStore.numFrames = kept;
}

void ClearFrameStore() {
    frameStore.currentFrame = 0;
    for (int i = 0; i < MAX_FRAMES; ++i) {
        frameStore.pointCounts[i] = 0;
        SetBlankName(&frameStore.frameNames[i]);
    }
    frameStore.numFrames = 0;
}
