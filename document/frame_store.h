// The document model: the fixed frame store, the working frame being edited
// and the two document settings. One static instance for the whole run.
#pragma once

#include <cstdint>

enum { MAX_FRAMES = 1000, MAX_POINTS = 3000, FRAME_NAME_LENGTH = 16 };

// Point flags.
enum {
    POINT_VISIBLE = 1,   // beam on while moving to the point
    POINT_SELECTED = 2,  // selected on the canvas and in the Vector Table
    POINT_MARKED = 4     // transient mark for moving or deleting points
};

struct VectorPoint {
    int16_t flags;
    int16_t x;
    int16_t y;  // grows downward; every outside view shows -y
};

// Exactly 16 bytes, space padded, no terminator.
struct FrameName {
    char bytes[FRAME_NAME_LENGTH];
};

struct FrameStore {
    VectorPoint frames[MAX_FRAMES][MAX_POINTS];
    int32_t pointCounts[MAX_FRAMES];
    FrameName frameNames[MAX_FRAMES];
    int32_t numFrames;
    int32_t currentFrame;
};

struct WorkingFrame {
    VectorPoint points[MAX_POINTS];
    int32_t count;
    bool changed;
};

enum {
    SCAN_SPEED_INITIAL = 30000,
    SCAN_SPEED_MIN = 1000,
    SCAN_SPEED_MAX = 30000,
    BLANKING_DELAY_INITIAL = 3,
    BLANKING_DELAY_MIN = 0,
    BLANKING_DELAY_MAX = 30
};

extern FrameStore frameStore;
extern WorkingFrame workingFrame;
extern int32_t ScanSpeed;
extern int32_t BlankingDelay;

void LoadFrame(int slot);
void StoreFrame(int slot, bool force);
int InsertBlankFrame(int slot);
int DeleteFrame(int slot);
// A point count that marks a frame for deletion within one command.
enum { FRAME_DELETION_MARK = -1 };
// Deletes every frame whose count is FRAME_DELETION_MARK, keeping the others
// in order; each frame moves at most once, whatever the number deleted.
void DeleteMarkedFrames();
// A blank frame at slot for a file reader. Appending at the end of the
// document (open mode, insert 0) may fill every slot up to the last, so
// that a document of 1000 frames reads back whole; insert mode keeps
// InsertBlankFrame's limits. 1 when the slot is ready, 0 when refused.
int BlankFrameForReading(int slot, int insert);
void ClearFrameStore();

// Fills a name with 16 spaces.
void SetBlankName(FrameName* name);
