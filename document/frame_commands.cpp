// The frame-level menu commands and the two settings commands.
#include "document/frame_commands.h"

#include <cstdio>

#include "document/frame_move.h"
#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/undo.h"

void NextFrameCommand() {
    if (frameStore.currentFrame < MAX_FRAMES - 1) GoToFrame(frameStore.currentFrame + 1);
}

void PreviousFrameCommand() {
    if (frameStore.currentFrame > 0) GoToFrame(frameStore.currentFrame - 1);
}

// After a change to the list of frames nothing is left to undo.
static void AfterFrameListChange() {
    SetDocumentModified(true);
    TakeUndoSnapshot(UNDO_DISCARD);
    RefreshStatus(STATUS_PANES);
    RefreshFrameTable(FT_REBUILD);
    RefreshVectorTable(VT_REBUILD_KEEP_TOP);
    RepaintCanvas();
}

void InsertBlankFrameCommand() {
    StoreFrame(frameStore.currentFrame, false);
    if (!InsertBlankFrame(frameStore.currentFrame)) return;
    LoadFrame(frameStore.currentFrame);
    AfterFrameListChange();
}

void DeleteCurrentFrameCommand() {
    if (!DeleteFrame(frameStore.currentFrame)) return;
    LoadFrame(frameStore.currentFrame);
    AfterFrameListChange();
    // Deleting the last frame leaves an empty frame past the end. It is no
    // edit: the next move, save or exit must not store it as a blank frame.
    if (frameStore.currentFrame >= frameStore.numFrames) workingFrame.changed = false;
}

void BlankCurrentFrameCommand() {
    if (workingFrame.count == 0) return;
    TakeUndoSnapshot(UNDO_COUNT_ONLY);
    workingFrame.count = 0;  // the points stay in the buffer for Undo
    SetDocumentModified(true);
    RefreshStatus(STATUS_PANES);
    RefreshVectorTable(VT_REBUILD);
    RepaintCanvas();
}

void UndoCommand() {
    if (!ApplyUndo()) return;
    SetDocumentModified(true);
    RefreshStatus(STATUS_PANES);
    RefreshVectorTable(VT_REBUILD);
    RepaintCanvas();
}

// Asks for a setting; on OK stores the clamped value and marks the document.
static void ChangeSetting(UiWindow owner, const char* caption, const char* prompt, int32_t* setting,
                          int32_t low, int32_t high) {
    std::snprintf(Prompt::value, PROMPT_VALUE_LENGTH, "%d", (int)*setting);
    ValuePromptRequest request = {caption, prompt, false};
    if (ValuePrompt(owner, &request) != PROMPT_OK) return;
    *setting = ClampInt(ParseLeadingInt(Prompt::value), low, high);
    SetDocumentModified(true);
    RefreshStatus(STATUS_PANES);
}

void ChangeScanSpeedCommand(UiWindow owner) {
    ChangeSetting(owner, "Change Speed", "Enter scan speed [pps]:", &ScanSpeed, SCAN_SPEED_MIN,
                  SCAN_SPEED_MAX);
}

void ChangeBlankingDelayCommand(UiWindow owner) {
    ChangeSetting(owner, "Change Delay", "Enter blanking delay [pts]:", &BlankingDelay,
                  BLANKING_DELAY_MIN, BLANKING_DELAY_MAX);
}
