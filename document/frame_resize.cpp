// Frame size measure and rescale, and the Resize Current Frame and Resize
// Selected Frames commands.
#include "document/frame_resize.h"

#include <cstdio>

#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/undo.h"

enum { SIZE_VALUE_MIN = 1, PERCENT_MAX = 99, SIZE_VALUE_MAX = 65535 };

static bool ValidRange(int first, int last) {
    return first >= 0 && last < MAX_FRAMES && first <= last;
}

int32_t MeasureFrames(int first, int last) {
    if (!ValidRange(first, last)) return 0;
    int32_t largest = 0;
    for (int f = first; f <= last; ++f) {
        const VectorPoint* points = frameStore.frames[f];
        for (int i = 0; i < frameStore.pointCounts[f]; ++i) {
            int32_t ax = points[i].x < 0 ? -(int32_t)points[i].x : points[i].x;
            int32_t ay = points[i].y < 0 ? -(int32_t)points[i].y : points[i].y;
            if (ax > largest) largest = ax;
            if (ay > largest) largest = ay;
        }
    }
    return 2 * largest;
}

int RescaleFrames(int32_t value, int first, int last) {
    if (value < SIZE_VALUE_MIN || value > SIZE_VALUE_MAX) return 0;
    if (!ValidRange(first, last)) return 0;
    double factor;
    if (value <= PERCENT_MAX) {
        factor = value / 100.0;
    } else {
        int32_t size = MeasureFrames(first, last);
        if (size == 0) return 1;  // all points at the origin stay there
        factor = (double)value / size;
    }
    for (int f = first; f <= last; ++f) {
        VectorPoint* points = frameStore.frames[f];
        for (int i = 0; i < frameStore.pointCounts[f]; ++i) {
            // Truncation toward zero, as the conversion does.
            points[i].x = (int16_t)(int32_t)(points[i].x * factor);
            points[i].y = (int16_t)(int32_t)(points[i].y * factor);
        }
    }
    return 1;
}

static const ValuePromptRequest resizeRequest = {"Resize Frames", "Change frame size to:", false};

static void PutNumberIntoPrompt(int32_t number) {
    std::snprintf(Prompt::value, PROMPT_VALUE_LENGTH, "%d", (int)number);
}

void ResizeCurrentFrameCommand(UiWindow owner) {
    int current = frameStore.currentFrame;
    if (current >= frameStore.numFrames) return;
    StoreFrame(current, false);
    PutNumberIntoPrompt(MeasureFrames(current, current));
    if (ValuePrompt(owner, &resizeRequest) != PROMPT_OK) return;
    if (!RescaleFrames(ParseLeadingInt(Prompt::value), current, current)) return;
    // Only a resize that happens replaces the undo snapshot, so that a
    // cancelled or refused one leaves the previous edit undoable. The working
    // frame still holds the points from before the resize.
    TakeUndoSnapshot(UNDO_FULL_COPY);
    LoadFrame(current);
    SetDocumentModified(true);
    RefreshVectorTable(VT_UPDATE_VALUES);
    RepaintCanvas();
}

void ResizeSelectedFramesCommand(UiWindow owner) {
    int first = 0, last = 0;
    if (!SelectedFrameRange(&first, &last)) return;
    if (first < 0 || last >= frameStore.numFrames || first > last) return;
    StoreFrame(frameStore.currentFrame, false);
    PutNumberIntoPrompt(MeasureFrames(first, last));
    if (ValuePrompt(owner, &resizeRequest) != PROMPT_OK) return;
    if (!RescaleFrames(ParseLeadingInt(Prompt::value), first, last)) return;
    TakeUndoSnapshot(UNDO_DISCARD);
    SetDocumentModified(true);
    LoadFrame(frameStore.currentFrame);
    RefreshStatus(STATUS_PANES);
    RefreshVectorTable(VT_REBUILD_KEEP_TOP);
    RepaintCanvas();
}
