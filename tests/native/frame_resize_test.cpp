// Measuring and rescaling frames, and the two resize commands.
#include "document/frame_resize.h"

#include <gtest/gtest.h>

#include <string>

#include "document/command_ids.h"
#include "document/document_reset.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tests/native/ui_recorder.h"

namespace {

class FrameResizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
    }
    // Stores a frame of the given points at slot and makes it current.
    void StorePoints(int slot, std::initializer_list<VectorPoint> points) {
        workingFrame.count = 0;
        for (const VectorPoint& p : points) workingFrame.points[workingFrame.count++] = p;
        StoreFrame(slot, true);
    }
    UiRecorder* ui;
};

}  // namespace

TEST_F(FrameResizeTest, MeasureTakesTwiceTheLargestCoordinate) {
    StorePoints(0, {{1, 150, -20}, {1, -3, 149}});
    StorePoints(1, {{1, 0, -32768}});
    StorePoints(2, {});
    EXPECT_EQ(MeasureFrames(0, 0), 300);
    EXPECT_EQ(MeasureFrames(1, 1), 65536) << "|-32768| is taken in 32 bits";
    EXPECT_EQ(MeasureFrames(0, 2), 65536);
    EXPECT_EQ(MeasureFrames(2, 2), 0);
    EXPECT_EQ(MeasureFrames(1, 0), 0);
}

TEST_F(FrameResizeTest, PercentagesTruncateTowardZero) {
    StorePoints(0, {{1, 101, -101}, {1, 100, 0}});
    ASSERT_EQ(RescaleFrames(50, 0, 0), 1);
    EXPECT_EQ(frameStore.frames[0][0].x, 50);
    EXPECT_EQ(frameStore.frames[0][0].y, -50);
    StorePoints(0, {{1, 100, 0}});
    RescaleFrames(29, 0, 0);
    EXPECT_EQ(frameStore.frames[0][0].x, 28) << "100 * 0.29 is just below 29";
}

TEST_F(FrameResizeTest, AbsoluteSizes) {
    StorePoints(0, {{1, 50, -49}, {0, -50, 0}});
    ASSERT_EQ(RescaleFrames(200, 0, 0), 1);
    EXPECT_EQ(frameStore.frames[0][0].x, 100);
    EXPECT_EQ(frameStore.frames[0][0].y, -98);
    EXPECT_EQ(frameStore.frames[0][1].flags, 0) << "flags are not touched";

    StorePoints(1, {{1, 32767, -32768}});
    ASSERT_EQ(RescaleFrames(65535, 1, 1), 1);
    EXPECT_EQ(frameStore.frames[1][0].x, 32766);
    EXPECT_EQ(frameStore.frames[1][0].y, -32767);

    StorePoints(2, {{1, 0, 0}});
    EXPECT_EQ(RescaleFrames(500, 2, 2), 1) << "size 0 leaves points at the origin";
    EXPECT_EQ(frameStore.frames[2][0].x, 0);
}

TEST_F(FrameResizeTest, OutOfRangeValuesAreRefused) {
    StorePoints(0, {{1, 10, 10}});
    for (int32_t v : {0, -5, 65536}) {
        EXPECT_EQ(RescaleFrames(v, 0, 0), 0) << v;
        EXPECT_EQ(frameStore.frames[0][0].x, 10);
    }
}

TEST_F(FrameResizeTest, ResizeCurrentFrameShowsSizeAndIsUndoable) {
    StorePoints(0, {{1, 150, 150}, {1, -150, 0}});
    LoadFrame(0);
    ui->promptReplies.push_back({true, "600"});
    ResizeCurrentFrameCommand(nullptr);
    EXPECT_EQ(ui->lastPromptInitial, "300");
    EXPECT_EQ(ui->lastPromptRequest.caption, std::string("Resize Frames"));
    EXPECT_EQ(ui->lastPromptRequest.prompt, std::string("Change frame size to:"));
    EXPECT_EQ(workingFrame.points[0].x, 300);
    EXPECT_TRUE(documentModified);
    EXPECT_TRUE(ui->menuEnabled[CMD_UNDO]);
    EXPECT_TRUE(ui->Has("vector", VT_UPDATE_VALUES));
    EXPECT_EQ(ui->Count("status"), 0) << "the point count does not change";
    ASSERT_EQ(ApplyUndo(), 1);
    EXPECT_EQ(workingFrame.points[0].x, 150);
}

TEST_F(FrameResizeTest, ResizeCurrentFrameUnchangedSizeBelow100IsAPercentage) {
    StorePoints(0, {{1, 30, 0}});
    LoadFrame(0);
    ui->promptReplies.push_back({true, "60"});
    ResizeCurrentFrameCommand(nullptr);
    EXPECT_EQ(workingFrame.points[0].x, 18);
}

TEST_F(FrameResizeTest, ResizeCurrentFrameRefusalsAndCancel) {
    frameStore.currentFrame = 3;  // past the end: not even a prompt
    ResizeCurrentFrameCommand(nullptr);
    EXPECT_EQ(ui->Count("prompt"), 0);

    // A point added just before: neither a cancelled nor a refused resize
    // takes away its undo, nor counts as an edit.
    frameStore.currentFrame = 0;
    StorePoints(0, {{1, 40, 0}});
    LoadFrame(0);
    TakeUndoSnapshot(UNDO_COUNT_ONLY);
    workingFrame.points[1] = {1, 50, 0};
    workingFrame.count = 2;
    SetDocumentModified(true);
    SetDocumentModified(false);
    for (const char* answer : {"<cancel>", "abc", "0", "65536"}) {
        ui->promptReplies.push_back({std::string(answer) != "<cancel>", answer});
        ResizeCurrentFrameCommand(nullptr);
        EXPECT_FALSE(documentModified) << answer;
        EXPECT_EQ(workingFrame.points[0].x, 40) << answer;
        EXPECT_EQ(undoSnapshot.state, 1) << answer;
    }
    ASSERT_EQ(ApplyUndo(), 1);
    EXPECT_EQ(workingFrame.count, 1) << "the added point is taken back";
}

TEST_F(FrameResizeTest, ResizeSelectedFramesCoversTheWholeRangeAndCannotBeUndone) {
    for (int i = 0; i < 6; ++i) StorePoints(i, {{1, (int16_t)(10 * (i + 1)), 0}});
    frameStore.currentFrame = 3;
    LoadFrame(3);
    ui->selectedFirst = 2;
    ui->selectedLast = 5;
    ui->promptReplies.push_back({true, "50"});
    ResizeSelectedFramesCommand(nullptr);
    EXPECT_EQ(ui->lastPromptInitial, "120");
    EXPECT_EQ(frameStore.frames[1][0].x, 20);
    EXPECT_EQ(frameStore.frames[2][0].x, 15);
    EXPECT_EQ(frameStore.frames[3][0].x, 20);
    EXPECT_EQ(frameStore.frames[5][0].x, 30);
    EXPECT_EQ(workingFrame.points[0].x, 20) << "the working frame shows the rescaled points";
    EXPECT_FALSE(ui->menuEnabled[CMD_UNDO]);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE);

    ui->Clear();
    ui->promptReplies.push_back({true, "0"});
    ResizeSelectedFramesCommand(nullptr);
    EXPECT_EQ(ui->Count("menu"), 0) << "a refused size marks nothing";

    ui->selectedFirst = -1;
    ui->Clear();
    ResizeSelectedFramesCommand(nullptr);
    EXPECT_TRUE(ui->calls.empty());
}
