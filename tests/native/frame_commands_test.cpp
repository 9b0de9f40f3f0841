// The frame commands, the settings commands and single-level undo, with the
// menu states and refreshes each of them asks for.
#include "document/frame_commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/command_ids.h"
#include "document/document_reset.h"
#include "document/frame_move.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tests/native/ui_recorder.h"

namespace {

class FrameCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
    }
    bool UndoEnabled() const { return ui->menuEnabled[CMD_UNDO]; }
    bool SaveEnabled() const { return ui->menuEnabled[CMD_SAVE_FRAMES]; }
    UiRecorder* ui;
};

// What a click on the canvas does to the document.
void AppendByClick(int16_t x, int16_t y) {
    TakeUndoSnapshot(UNDO_COUNT_ONLY);
    workingFrame.points[workingFrame.count++] = {POINT_VISIBLE, x, y};
    SetDocumentModified(true);
}

void MakeFrames(int n) {
    for (int i = 0; i < n; ++i) {
        workingFrame.count = 1;
        workingFrame.points[0] = {POINT_VISIBLE, (int16_t)i, 0};
        StoreFrame(i, true);
    }
    LoadFrame(0);
}

}  // namespace

TEST_F(FrameCommandsTest, UndoRemovesOnlyTheLastAppendedPointOnce) {
    AppendByClick(1, 1);
    AppendByClick(2, 2);
    AppendByClick(3, 3);
    EXPECT_TRUE(UndoEnabled());
    EXPECT_TRUE(SaveEnabled());
    UndoCommand();
    EXPECT_EQ(workingFrame.count, 2);
    EXPECT_FALSE(UndoEnabled()) << "nothing is left to undo";
    EXPECT_TRUE(documentModified);
    ui->Clear();
    UndoCommand();
    EXPECT_EQ(workingFrame.count, 2);
    EXPECT_TRUE(ui->calls.empty()) << "a second undo does nothing at all";
}

TEST_F(FrameCommandsTest, BlankCurrentFrameIsUndoable) {
    for (int i = 0; i < 12; ++i) AppendByClick((int16_t)i, 0);
    SetDocumentModified(false);
    BlankCurrentFrameCommand();
    EXPECT_EQ(workingFrame.count, 0);
    EXPECT_TRUE(documentModified);
    EXPECT_TRUE(ui->Has("vector", VT_REBUILD));
    EXPECT_TRUE(ui->Has("status", STATUS_PANES));
    EXPECT_EQ(frameStore.numFrames, 0) << "the store changes only when the frame is stored";
    UndoCommand();
    ASSERT_EQ(workingFrame.count, 12);
    EXPECT_EQ(workingFrame.points[11].x, 11);
    EXPECT_TRUE(documentModified);

    ResetDocument();
    ui = InstallUiRecorder();
    BlankCurrentFrameCommand();
    EXPECT_TRUE(ui->calls.empty()) << "blanking an empty frame does nothing";
    EXPECT_EQ(undoSnapshot.state, 0);
}

TEST_F(FrameCommandsTest, SteppingFramesGraysUndoAndDoesNotMarkModified) {
    AppendByClick(1, 1);
    StoreFrame(0, false);  // as a save does
    SetDocumentModified(false);
    NextFrameCommand();
    PreviousFrameCommand();
    EXPECT_FALSE(UndoEnabled());
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(frameStore.currentFrame, 0);
    UndoCommand();
    EXPECT_EQ(workingFrame.count, 1);
}

TEST_F(FrameCommandsTest, SteppingStopsAtBothEnds) {
    PreviousFrameCommand();
    EXPECT_EQ(frameStore.currentFrame, 0);
    EXPECT_TRUE(ui->calls.empty());
    frameStore.currentFrame = 999;
    NextFrameCommand();
    EXPECT_EQ(frameStore.currentFrame, 999);
    EXPECT_TRUE(ui->calls.empty());
}

TEST_F(FrameCommandsTest, InsertBlankFramePastTheEnd) {
    MakeFrames(3);
    GoToFrame(5);
    ui->Clear();
    InsertBlankFrameCommand();
    EXPECT_EQ(frameStore.numFrames, 6);
    EXPECT_EQ(frameStore.currentFrame, 5);
    for (int i = 3; i < 6; ++i) EXPECT_EQ(frameStore.pointCounts[i], 0);
    EXPECT_EQ(ui->Sequence(),
              (std::vector<std::string>{MenuCall(CMD_SAVE_FRAMES, true), MenuCall(CMD_UNDO, false),
                                        MenuCall(CMD_UNDO, false), "status:2", "frame:1",
                                        "vector:1", "repaint:0"}));
}

TEST_F(FrameCommandsTest, InsertBlankFrameStoresEditsAndShowsTheNewFrame) {
    MakeFrames(2);
    AppendByClick(9, 9);
    InsertBlankFrameCommand();
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_EQ(workingFrame.count, 0);
    EXPECT_EQ(frameStore.pointCounts[1], 2) << "the edited frame moved up with its edits";
    EXPECT_FALSE(UndoEnabled());
    EXPECT_TRUE(documentModified);
}

TEST_F(FrameCommandsTest, InsertBlankFrameRefusedWhenFull) {
    workingFrame.count = 0;
    StoreFrame(999, true);
    ASSERT_EQ(frameStore.numFrames, 1000);
    ui->Clear();
    InsertBlankFrameCommand();
    EXPECT_EQ(frameStore.numFrames, 1000);
    EXPECT_FALSE(documentModified);
    EXPECT_TRUE(ui->calls.empty());
}

TEST_F(FrameCommandsTest, DeleteLastFrameLeavesCurrentPastTheEnd) {
    MakeFrames(3);
    GoToFrame(2);
    DeleteCurrentFrameCommand();
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.currentFrame, 2);
    EXPECT_EQ(workingFrame.count, 0);
    EXPECT_TRUE(documentModified);
    EXPECT_TRUE(ui->Has("frame", FT_REBUILD));
    // The empty frame past the end is no edit: neither a save's store nor
    // the move back brings a blank third frame into the document.
    StoreFrame(frameStore.currentFrame, false);
    EXPECT_EQ(frameStore.numFrames, 2);
    PreviousFrameCommand();
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.currentFrame, 1);
    EXPECT_TRUE(documentModified);
    // Drawing there after the delete still adds the frame.
    GoToFrame(2);
    AppendByClick(10, 10);
    GoToFrame(1);
    EXPECT_EQ(frameStore.numFrames, 3);
}

TEST_F(FrameCommandsTest, DeleteInsideShowsTheFrameThatMovedDown) {
    MakeFrames(3);
    AppendByClick(50, 50);  // unstored edits go with the deleted frame
    DeleteCurrentFrameCommand();
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(workingFrame.points[0].x, 1);
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(FrameCommandsTest, DeletePastTheEndDoesNothing) {
    MakeFrames(1);
    GoToFrame(4);
    SetDocumentModified(false);
    ui->Clear();
    DeleteCurrentFrameCommand();
    EXPECT_FALSE(documentModified);
    EXPECT_TRUE(ui->calls.empty());
}

struct SettingCase {
    const char* entered;
    int expected;
};

TEST_F(FrameCommandsTest, ScanSpeedIsReadAndClamped) {
    const SettingCase cases[] = {{"500", 1000},    {"-7", 1000},        {"abc", 1000},
                                 {"40000", 30000}, {"  12345x", 12345}, {"99999999999", 30000},
                                 {"+2000", 2000}};
    for (const SettingCase& c : cases) {
        ui->promptReplies.push_back({true, c.entered});
        ChangeScanSpeedCommand(nullptr);
        EXPECT_EQ(ScanSpeed, c.expected) << c.entered;
    }
    EXPECT_EQ(ui->lastPromptRequest.caption, std::string("Change Speed"));
    EXPECT_EQ(ui->lastPromptRequest.prompt, std::string("Enter scan speed [pps]:"));
    EXPECT_FALSE(ui->lastPromptRequest.textField);
    EXPECT_EQ(ui->lastPromptInitial, "30000") << "the prompt starts with the current value";
}

TEST_F(FrameCommandsTest, BlankingDelayIsReadAndClamped) {
    const SettingCase cases[] = {{"31", 30}, {"-1", 0}, {"7", 7}, {"x", 0}};
    for (const SettingCase& c : cases) {
        ui->promptReplies.push_back({true, c.entered});
        ChangeBlankingDelayCommand(nullptr);
        EXPECT_EQ(BlankingDelay, c.expected) << c.entered;
    }
    EXPECT_EQ(ui->lastPromptRequest.caption, std::string("Change Delay"));
    EXPECT_EQ(ui->lastPromptRequest.prompt, std::string("Enter blanking delay [pts]:"));
}

TEST_F(FrameCommandsTest, SettingPromptOkMarksModifiedCancelDoesNothing) {
    ui->promptReplies.push_back({false, ""});
    ChangeScanSpeedCommand(nullptr);
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(ScanSpeed, 30000);

    ui->promptReplies.push_back({true, "30000"});
    ChangeScanSpeedCommand(nullptr);
    EXPECT_TRUE(documentModified) << "OK with the unchanged value still marks the document";
    EXPECT_TRUE(ui->Has("status", STATUS_PANES));
    EXPECT_EQ(ui->Count("repaint"), 0);
}

TEST_F(FrameCommandsTest, SpeedChangeAfterStartEnablesHarmlessUndo) {
    ui->promptReplies.push_back({true, "20000"});
    ChangeScanSpeedCommand(nullptr);
    EXPECT_TRUE(UndoEnabled()) << "the start-up snapshot of the empty frame";
    UndoCommand();
    EXPECT_EQ(workingFrame.count, 0);
    EXPECT_FALSE(UndoEnabled());
    EXPECT_EQ(ScanSpeed, 20000) << "undo never touches the settings";
}

TEST_F(FrameCommandsTest, SpeedChangeKeepsUndoOfTheLastPoint) {
    AppendByClick(1, 1);
    ui->promptReplies.push_back({true, "5000"});
    ChangeScanSpeedCommand(nullptr);
    EXPECT_TRUE(UndoEnabled());
    UndoCommand();
    EXPECT_EQ(workingFrame.count, 0);
    EXPECT_EQ(ScanSpeed, 5000);
}

TEST_F(FrameCommandsTest, FullCopyUndoRestoresPointsAndFlags) {
    AppendByClick(10, 10);
    AppendByClick(20, 20);
    workingFrame.points[1].flags |= POINT_SELECTED;
    TakeUndoSnapshot(UNDO_FULL_COPY);
    workingFrame.points[0].x = 999;
    workingFrame.points[1].flags = 0;
    workingFrame.count = 1;
    SetDocumentModified(true);
    ASSERT_EQ(ApplyUndo(), 1);
    EXPECT_EQ(workingFrame.count, 2);
    EXPECT_EQ(workingFrame.points[0].x, 10);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE | POINT_SELECTED);
    EXPECT_TRUE(workingFrame.changed);
    EXPECT_EQ(ApplyUndo(), 0);
}

TEST_F(FrameCommandsTest, SavingKeepsAnEarlierUndoPossible) {
    AppendByClick(1, 1);
    SetDocumentModified(false);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(UndoEnabled()) << "marking saved does not touch Undo";
    EXPECT_FALSE(workingFrame.changed);
    UndoCommand();
    EXPECT_TRUE(documentModified);
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(FrameCommandsTest, SnapshotOfUnknownKindChangesNothing) {
    AppendByClick(1, 1);
    int before = undoSnapshot.state;
    TakeUndoSnapshot(7);
    EXPECT_EQ(undoSnapshot.state, before);
}
