// The reader harness of the fuzz targets. Every input starts from a known
// document: the small parts of the model (counts, names, working frame,
// undo, settings) are copied in before each read, and the 18 MB of point
// blocks, the same for every document, are put back afterwards only where
// an accepted read may have written. A refused read is compared with the
// whole model: the small parts byte by byte, the point blocks in full only
// when the write guard saw a write into them.
#include "tests/fuzz/read_harness.h"

#include <cstdio>
#include <cstring>

#include "document/frame_store.h"
#include "document/undo.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/write_guard.h"

namespace {

struct Shape {
    int numFrames;
    int currentFrame;
};

const Shape SHAPES[DOCUMENT_SHAPES] = {{0, 0}, {3, 1}, {998, 996}, {1000, 998}, {3, 5}};
const int OPEN_SHAPE = 1;
const int GOLDEN_MAX_COUNT = 3;

// Everything of the model but the point blocks.
struct SmallModel {
    int32_t pointCounts[MAX_FRAMES];
    FrameName frameNames[MAX_FRAMES];
    int32_t numFrames;
    int32_t currentFrame;
    WorkingFrame working;
    UndoSnapshot undo;
    int32_t scanSpeed;
    int32_t blankingDelay;
    bool modified;
};

// The point blocks before every read: each slot holds a few points whatever
// the document, so that moved, overwritten and stray points all show.
VectorPoint goldenPoints[MAX_FRAMES][MAX_POINTS];
SmallModel shapes[DOCUMENT_SHAPES];
int warnings = 0;
bool prepared = false;

void Require(bool holds, const char* what) {
    FuzzRequire(holds, what);
}

int GoldenCount(int slot) {
    return 1 + slot % GOLDEN_MAX_COUNT;
}

void CountWarning(UiWindow, const char*, const char*) {
    ++warnings;
}

void MakeShape(const Shape& shape, SmallModel* model) {
    std::memset(model, 0, sizeof *model);
    for (int s = 0; s < MAX_FRAMES; ++s) {
        bool used = s < shape.numFrames;
        model->pointCounts[s] = used ? GoldenCount(s) : 0;
        char name[FRAME_NAME_LENGTH + 1];
        std::snprintf(name, sizeof name, "%-16d", s);
        std::memcpy(model->frameNames[s].bytes, used ? name : "~~~~~~~~~~~~~~~~",
                    FRAME_NAME_LENGTH);
    }
    model->numFrames = shape.numFrames;
    model->currentFrame = shape.currentFrame;
    // An edited working frame with points beyond its count, as an undone
    // edit leaves them, and a full-copy undo snapshot.
    for (int i = 0; i < MAX_POINTS; ++i) {
        model->working.points[i] = {POINT_VISIBLE, (int16_t)(0x5151 + i), (int16_t)-i};
        model->undo.points[i] = {0, (int16_t)-i, (int16_t)(0x2323 + i)};
    }
    model->working.count = 2;
    model->working.changed = true;
    model->undo.state = UNDO_STATE_FULL_COPY;
    model->undo.savedCount = 1;
    model->scanSpeed = 12345;
    model->blankingDelay = 7;
    model->modified = true;
}

void Prepare() {
    for (int s = 0; s < MAX_FRAMES; ++s) {
        for (int i = 0; i < GoldenCount(s); ++i) {
            // Selection bits too: loading a frame must drop them.
            goldenPoints[s][i] = {(int16_t)((s + i) % 3), (int16_t)(s * 13 + i),
                                  (int16_t) - (s * 7 + i)};
        }
    }
    if (!SetUpWriteGuard(frameStore.frames, sizeof frameStore.frames))
        std::fprintf(stderr, "fuzz harness: no write guard; every refused read compares 18 MB\n");
    std::memcpy(frameStore.frames, goldenPoints, sizeof goldenPoints);
    for (int k = 0; k < DOCUMENT_SHAPES; ++k) MakeShape(SHAPES[k], &shapes[k]);
    UiPort quiet = {};
    quiet.warningBox = CountWarning;
    uiPort = quiet;
    prepared = true;
}

void ApplyShape(int k) {
    const SmallModel& model = shapes[k];
    std::memcpy(frameStore.pointCounts, model.pointCounts, sizeof model.pointCounts);
    std::memcpy(frameStore.frameNames, model.frameNames, sizeof model.frameNames);
    frameStore.numFrames = model.numFrames;
    frameStore.currentFrame = model.currentFrame;
    workingFrame = model.working;
    undoSnapshot = model.undo;
    ScanSpeed = model.scanSpeed;
    BlankingDelay = model.blankingDelay;
    documentModified = model.modified;
}

bool SmallModelUnchanged(int k) {
    const SmallModel& model = shapes[k];
    return std::memcmp(frameStore.pointCounts, model.pointCounts, sizeof model.pointCounts) == 0 &&
           std::memcmp(frameStore.frameNames, model.frameNames, sizeof model.frameNames) == 0 &&
           frameStore.numFrames == model.numFrames &&
           frameStore.currentFrame == model.currentFrame &&
           std::memcmp(workingFrame.points, model.working.points, sizeof workingFrame.points) ==
               0 &&
           workingFrame.count == model.working.count &&
           workingFrame.changed == model.working.changed &&
           undoSnapshot.state == model.undo.state &&
           undoSnapshot.savedCount == model.undo.savedCount &&
           std::memcmp(undoSnapshot.points, model.undo.points, sizeof undoSnapshot.points) == 0 &&
           ScanSpeed == model.scanSpeed && BlankingDelay == model.blankingDelay &&
           documentModified == model.modified;
}

bool AllPointsUnchanged() {
    return std::memcmp(frameStore.frames, goldenPoints, sizeof goldenPoints) == 0;
}

// Unless the write guard saw a write, only the bytes at both ends of the
// point blocks that it cannot watch need a look.
bool PointsUnchanged(bool written) {
    if (written) return AllPointsUnchanged();
    const char* store = (const char*)frameStore.frames;
    const char* golden = (const char*)goldenPoints;
    const size_t head = (size_t)(GuardedStart() - store);
    const size_t tail = (size_t)(GuardedEnd() - store);
    return std::memcmp(store, golden, head) == 0 &&
           std::memcmp(store + tail, golden + tail, sizeof goldenPoints - tail) == 0;
}

// A refused read must leave every byte of the model as it was.
void CheckRefused(const uint8_t* data, size_t size, int k, FrameReader reader, int insert,
                  bool written) {
    Require(warnings > 0, "a refused read shows no warning");
    Require(SmallModelUnchanged(k), "a refused read changed the document");
    if (PointsUnchanged(written)) return;
    // Points may also have been left by an earlier accepted read beyond the
    // slots it is reset in: start from clean blocks and read again.
    std::memcpy(frameStore.frames, goldenPoints, sizeof goldenPoints);
    ApplyShape(k);
    WriteFuzzInput(data, size);
    Require(reader(nullptr, FuzzInputPath(), insert) == 0,
            "the same input read twice gave two results");
    Require(SmallModelUnchanged(k) && AllPointsUnchanged(), "a refused read changed the store");
}

// Slot s of the store holds the frame of slot from in the document before
// the read: same count, name and points.
bool KeptFrame(const SmallModel& before, int s, int from) {
    int count = before.pointCounts[from];
    return frameStore.pointCounts[s] == count &&
           std::memcmp(frameStore.frameNames[s].bytes, before.frameNames[from].bytes,
                       FRAME_NAME_LENGTH) == 0 &&
           std::memcmp(frameStore.frames[s], goldenPoints[from],
                       sizeof(VectorPoint) * (size_t)count) == 0;
}

bool ReadFrame(int s) {
    for (int i = 0; i < frameStore.pointCounts[s]; ++i)
        if (frameStore.frames[s][i].flags & ~POINT_VISIBLE) return false;
    return true;
}

void CheckAccepted(int k, int insert) {
    const SmallModel& before = shapes[k];
    const int n = frameStore.numFrames;
    const int current = frameStore.currentFrame;
    Require(n >= 0 && n <= MAX_FRAMES, "frame count outside 0 to 1000");
    Require(current >= 0 && current < MAX_FRAMES, "current frame outside 0 to 999");
    for (int s = 0; s < MAX_FRAMES; ++s) {
        int count = frameStore.pointCounts[s];
        Require(count >= 0 && count <= MAX_POINTS, "point count outside 0 to 3000");
        Require(s < n || count == 0, "a slot at or beyond the frame count has points");
    }
    // The read frames become the working frame's neighbours: the first of
    // them is loaded, and there is nothing to undo.
    Require(workingFrame.count == frameStore.pointCounts[current],
            "the working frame is not the current frame");
    for (int i = 0; i < workingFrame.count; ++i) {
        VectorPoint stored = frameStore.frames[current][i];
        VectorPoint loaded = workingFrame.points[i];
        Require(loaded.x == stored.x && loaded.y == stored.y &&
                    loaded.flags == (stored.flags & POINT_VISIBLE),
                "the working frame is not the current frame");
    }
    Require(!workingFrame.changed, "the loaded frame counts as changed");
    Require(undoSnapshot.state == UNDO_STATE_NONE, "something is left to undo after a read");
    Require(ScanSpeed >= SCAN_SPEED_MIN && ScanSpeed <= SCAN_SPEED_MAX,
            "scan speed outside 1000 to 30000");
    Require(BlankingDelay >= 0 && BlankingDelay <= 32, "blanking delay outside 0 to 32");

    int firstRead = 0, endRead = n;
    if (insert) {
        const int at = before.currentFrame;
        Require(current == at, "insert mode moved the current frame");
        Require(ScanSpeed == before.scanSpeed && BlankingDelay == before.blankingDelay,
                "insert mode changed the settings");
        // Frames before the insertion point stay; those from it on move up
        // behind the inserted ones, all of them.
        const int below = at < before.numFrames ? at : before.numFrames;
        const int moved = before.numFrames - below;
        Require(n >= before.numFrames, "insert mode lost frames");
        for (int s = 0; s < below; ++s)
            Require(KeptFrame(before, s, s), "insert mode changed a frame before the current one");
        for (int j = 0; j < moved; ++j)
            Require(KeptFrame(before, n - moved + j, below + j),
                    "insert mode did not keep the frames from the current one on");
        firstRead = at < n ? at : n;
        endRead = n - moved;
    } else {
        Require(current == 0, "open mode did not start on the first frame");
    }
    for (int s = firstRead; s < endRead; ++s)
        Require(ReadFrame(s), "a read point carries a flag other than the beam");
}

// Puts back the point blocks an accepted read may have written: the slots
// from the insertion point (or the first) to the new frame count, up to the
// largest count any frame had during the read.
void RestorePoints(int k, int insert) {
    const SmallModel& before = shapes[k];
    int from = 0;
    if (insert)
        from = before.currentFrame < before.numFrames ? before.currentFrame : before.numFrames;
    int points = GOLDEN_MAX_COUNT;
    for (int s = from; s < frameStore.numFrames; ++s)
        if (frameStore.pointCounts[s] > points) points = frameStore.pointCounts[s];
    for (int s = from; s < frameStore.numFrames; ++s)
        std::memcpy(frameStore.frames[s], goldenPoints[s], sizeof(VectorPoint) * (size_t)points);
}

}  // namespace

void FuzzOneRead(const uint8_t* data, size_t size, FrameReader reader, int insert) {
    if (!prepared) Prepare();
    int k = OPEN_SHAPE;
    if (insert) {
        if (size == 0) return;
        k = data[0] % DOCUMENT_SHAPES;
        ++data;
        --size;
    }
    WriteFuzzInput(data, size);
    ApplyShape(k);
    warnings = 0;
    ArmWriteGuard();
    int result = reader(nullptr, FuzzInputPath(), insert);
    const bool written = DisarmWriteGuard();
    if (result == 0) {
        CheckRefused(data, size, k, reader, insert, written);
        return;
    }
    Require(result == 1, "a reader returned neither 1 nor 0");
    CheckAccepted(k, insert);
    RestorePoints(k, insert);
}
