// The table edits of points and frames.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tables/frame_edits.h"
#include "tables/vector_edits.h"
#include "tests/native/ui_recorder.h"

namespace {

class TableEditsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
    }
    void MakePoints(int n) {
        workingFrame.count = n;
        for (int i = 0; i < n; ++i)
            workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(i + 1), (int16_t)(-(i + 1))};
    }
    void MakeFrames(std::initializer_list<const char*> names) {
        int i = 0;
        for (const char* name : names) {
            workingFrame.count = 1;
            workingFrame.points[0] = {POINT_VISIBLE, (int16_t)i, 0};
            StoreFrame(i, true);
            RenameFrame(i, name);
            ++i;
        }
        SetDocumentModified(false);
    }
    std::string Name(int f) { return std::string(frameStore.frameNames[f].bytes, 16); }
    UiRecorder* ui;
};

}  // namespace

TEST_F(TableEditsTest, InsertVectorDuplicatesTheFocusedPoint) {
    MakePoints(10);
    workingFrame.points[4].flags |= POINT_SELECTED;
    ASSERT_EQ(InsertVectorAt(4), 1);
    EXPECT_EQ(workingFrame.count, 11);
    EXPECT_EQ(workingFrame.points[4].x, 5);
    EXPECT_EQ(workingFrame.points[5].x, 5);
    EXPECT_EQ(workingFrame.points[5].flags, POINT_VISIBLE | POINT_SELECTED);
    EXPECT_EQ(workingFrame.points[10].x, 10);
    EXPECT_TRUE(ui->Has("vector", VT_REBUILD_KEEP_TOP));
    ASSERT_EQ(ApplyUndo(), 1);
    EXPECT_EQ(workingFrame.count, 10);
    EXPECT_EQ(workingFrame.points[5].x, 6);
}

TEST_F(TableEditsTest, InsertVectorRefusals) {
    EXPECT_EQ(InsertVectorAt(0), 0) << "empty frame";
    MakePoints(MAX_POINTS);
    EXPECT_EQ(InsertVectorAt(0), 0) << "full frame";
    MakePoints(3);
    EXPECT_EQ(InsertVectorAt(3), 0) << "row outside the frame";
    EXPECT_EQ(undoSnapshot.state, 0) << "refusals take no snapshot";
    EXPECT_FALSE(documentModified);
}

TEST_F(TableEditsTest, DeleteSelectedRowsKeepsTheRestInOrder) {
    MakePoints(5);
    workingFrame.points[0].flags |= POINT_MARKED;  // left from a canvas move: not deleted
    const int rows[] = {3, 1};
    ASSERT_EQ(DeleteVectorRows(rows, 2), 1);
    ASSERT_EQ(workingFrame.count, 3);
    EXPECT_EQ(workingFrame.points[0].x, 1);
    EXPECT_EQ(workingFrame.points[1].x, 3);
    EXPECT_EQ(workingFrame.points[2].x, 5);
    EXPECT_EQ(DeleteVectorRows(rows, 0), 0);
    ASSERT_EQ(ApplyUndo(), 1);
    EXPECT_EQ(workingFrame.count, 5);
}

TEST_F(TableEditsTest, EditVectorGivesVToTheFocusedPointAndXYToAllReached) {
    MakePoints(4);
    uint8_t states[4] = {ROW_SELECTED, ROW_FOCUSED | ROW_SELECTED, ROW_SELECTED, 0};
    ApplyVectorEdit(states, 2, 10, 20);
    EXPECT_EQ(workingFrame.points[1].flags & POINT_VISIBLE, 0) << "V = 2 turns the beam off";
    EXPECT_EQ(workingFrame.points[0].flags & POINT_VISIBLE, POINT_VISIBLE);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(workingFrame.points[i].x, 10);
        EXPECT_EQ(workingFrame.points[i].y, -20);
    }
    EXPECT_EQ(workingFrame.points[3].x, 4);
    uint8_t focusOnly[4] = {ROW_FOCUSED, 0, 0, 0};
    ApplyVectorEdit(focusOnly, 3, 40000, -32768);
    EXPECT_EQ(workingFrame.points[0].x, -25536) << "low 16 bits";
    EXPECT_EQ(workingFrame.points[0].y, -32768) << "-(-32768) cut to 16 bits";
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_FULL_COPY);
}

TEST_F(TableEditsTest, RenamePadsAndCuts) {
    MakeFrames({"A"});
    RenameFrame(0, "Intro");
    EXPECT_EQ(Name(0), "Intro           ");
    RenameFrame(0, "abcdefghijklmnopqrs");
    EXPECT_EQ(Name(0), "abcdefghijklmnop");
    EXPECT_TRUE(documentModified);
}

TEST_F(TableEditsTest, InsertFrameCopyPutsTheWorkingFrameBeforeTheFocusedFrame) {
    MakeFrames({"Alpha", "Beta", "Gamma"});
    frameStore.currentFrame = 1;
    LoadFrame(1);
    workingFrame.points[workingFrame.count++] = {0, 77, 77};
    ASSERT_EQ(InsertFrameCopy(1), 1);
    EXPECT_EQ(frameStore.numFrames, 4);
    EXPECT_EQ(Name(1).substr(0, 4), "Beta");
    EXPECT_EQ(Name(2).substr(0, 4), "Beta");
    EXPECT_EQ(Name(3).substr(0, 5), "Gamma");
    EXPECT_EQ(frameStore.pointCounts[1], 2) << "the copy holds the working frame's points";
    EXPECT_EQ(frameStore.pointCounts[2], 1);
    EXPECT_EQ(frameStore.currentFrame, 1);
    EXPECT_TRUE(ui->Has("frame", FT_REBUILD));

    // Edits not yet stored are stored first: both frames hold them.
    workingFrame.points[workingFrame.count++] = {0, 88, 88};
    SetDocumentModified(true);
    ASSERT_EQ(InsertFrameCopy(1), 1);
    EXPECT_EQ(frameStore.pointCounts[1], 3);
    EXPECT_EQ(frameStore.pointCounts[2], 3) << "the copied frame keeps the edits as well";
    EXPECT_EQ(frameStore.frames[2][2].x, 88);
}

TEST_F(TableEditsTest, InsertFrameCopyRefusals) {
    EXPECT_EQ(InsertFrameCopy(0), 0) << "no frames";
    workingFrame.count = 0;
    StoreFrame(999, true);
    EXPECT_EQ(InsertFrameCopy(0), 0) << "1000 frames";
}

TEST_F(TableEditsTest, DeletingAllFramesKeepsTheCurrentIndex) {
    MakeFrames({"a", "b", "c", "d", "e"});
    frameStore.currentFrame = 2;
    const int rows[] = {0, 1, 2, 3, 4};
    ASSERT_EQ(DeleteFrameRows(rows, 5), 1);
    EXPECT_EQ(frameStore.numFrames, 0);
    EXPECT_EQ(frameStore.currentFrame, 2);
    EXPECT_EQ(workingFrame.count, 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(frameStore.pointCounts[i], 0);
}

TEST_F(TableEditsTest, DeleteSomeFramesKeepsTheOthersInOrder) {
    MakeFrames({"a", "b", "c", "d"});
    const int rows[] = {1, 3};
    DeleteFrameRows(rows, 2);
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(Name(0)[0], 'a');
    EXPECT_EQ(Name(1)[0], 'c');
    EXPECT_EQ(frameStore.frames[1][0].x, 2);
    EXPECT_FALSE(ui->menuEnabled[CMD_UNDO]);
}

TEST_F(TableEditsTest, DeletingFramesKeepsTheWorkingFramesPoints) {
    MakeFrames({"a", "b", "c"});
    LoadFrame(2);
    frameStore.currentFrame = 2;
    MakePoints(3);  // drawn since frame 2 became current
    SetDocumentModified(true);
    const int rows[] = {0};
    ASSERT_EQ(DeleteFrameRows(rows, 1), 1);
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.pointCounts[1], 3) << "the drawn points are stored before the deletion";
    EXPECT_EQ(frameStore.frames[1][2].x, 3);

    // Drawn past the last frame: stored as a new frame, which then moves up.
    frameStore.currentFrame = 2;
    LoadFrame(2);
    MakePoints(4);
    SetDocumentModified(true);
    ASSERT_EQ(DeleteFrameRows(rows, 1), 1);
    ASSERT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(frameStore.pointCounts[1], 4);
}
