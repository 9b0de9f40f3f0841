// The store operations and the move between frames.
#include "document/frame_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/document_reset.h"
#include "document/frame_move.h"
#include "document/undo.h"
#include "tests/native/ui_recorder.h"

namespace {

class FrameStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
    }
    UiRecorder* ui;
};

std::string Name(int slot) {
    return std::string(frameStore.frameNames[slot].bytes, 16);
}

void SetName(int slot, const char* text) {
    SetBlankName(&frameStore.frameNames[slot]);
    std::memcpy(frameStore.frameNames[slot].bytes, text, std::strlen(text));
}

// Builds n frames in the store; frame i holds i + 1 points at x = 100 * i.
void MakeFrames(int n) {
    for (int i = 0; i < n; ++i) {
        workingFrame.count = i + 1;
        for (int p = 0; p <= i; ++p)
            workingFrame.points[p] = {POINT_VISIBLE, (int16_t)(100 * i), (int16_t)p};
        StoreFrame(i, true);
        char name[16];
        std::snprintf(name, sizeof name, "F%d", i);
        SetName(i, name);
    }
    workingFrame.count = 0;
}

void DrawPoint(int16_t x, int16_t y) {
    workingFrame.points[workingFrame.count++] = {POINT_VISIBLE, x, y};
    SetDocumentModified(true);
}

}  // namespace

TEST_F(FrameStoreTest, StartsEmptyWithInitialSettings) {
    EXPECT_EQ(frameStore.numFrames, 0);
    EXPECT_EQ(frameStore.currentFrame, 0);
    EXPECT_EQ(workingFrame.count, 0);
    EXPECT_FALSE(workingFrame.changed);
    EXPECT_EQ(ScanSpeed, 30000);
    EXPECT_EQ(BlankingDelay, 3);
    EXPECT_EQ(undoSnapshot.state, 0);
    EXPECT_FALSE(documentModified);
}

TEST_F(FrameStoreTest, LoadKeepsOnlyTheBeamFlag) {
    workingFrame.count = 3;
    workingFrame.points[0] = {POINT_VISIBLE | POINT_SELECTED | POINT_MARKED, 1, 2};
    workingFrame.points[1] = {POINT_SELECTED, 3, 4};
    workingFrame.points[2] = {(int16_t)0x7FF8, 5, 6};
    StoreFrame(0, true);
    EXPECT_EQ(frameStore.frames[0][0].flags, POINT_VISIBLE | POINT_SELECTED | POINT_MARKED)
        << "the store keeps flags as they are";
    workingFrame.changed = true;
    LoadFrame(0);
    EXPECT_EQ(workingFrame.count, 3);
    EXPECT_EQ(workingFrame.points[0].flags, POINT_VISIBLE);
    EXPECT_EQ(workingFrame.points[1].flags, 0);
    EXPECT_EQ(workingFrame.points[2].flags, 0);
    EXPECT_EQ(workingFrame.points[2].y, 6);
    EXPECT_FALSE(workingFrame.changed);
}

TEST_F(FrameStoreTest, StoreWithoutForceOnlyWhenChanged) {
    workingFrame.count = 1;
    workingFrame.points[0] = {POINT_VISIBLE, 7, 7};
    workingFrame.changed = false;
    StoreFrame(4, false);
    EXPECT_EQ(frameStore.numFrames, 0) << "an unchanged frame is not stored";
    workingFrame.changed = true;
    StoreFrame(4, false);
    EXPECT_EQ(frameStore.numFrames, 5) << "storing past the end grows the store";
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(frameStore.pointCounts[i], 0);
        EXPECT_EQ(Name(i), std::string(16, ' '));
    }
    EXPECT_EQ(frameStore.pointCounts[4], 1);
    EXPECT_FALSE(workingFrame.changed);
}

TEST_F(FrameStoreTest, OperationsIgnoreSlotsOutsideTheStore) {
    workingFrame.count = 2;
    workingFrame.changed = true;
    StoreFrame(1000, true);
    StoreFrame(-1, true);
    EXPECT_EQ(frameStore.numFrames, 0);
    LoadFrame(1000);
    EXPECT_EQ(workingFrame.count, 2);
    EXPECT_EQ(DeleteFrame(0), 0);
    EXPECT_EQ(InsertBlankFrame(-1), 0);
}

TEST_F(FrameStoreTest, InsertBlankFrameShiftsFollowingFrames) {
    MakeFrames(3);
    ASSERT_EQ(InsertBlankFrame(1), 1);
    EXPECT_EQ(frameStore.numFrames, 4);
    EXPECT_EQ(Name(0).substr(0, 2), "F0");
    EXPECT_EQ(Name(1), std::string(16, ' '));
    EXPECT_EQ(frameStore.pointCounts[1], 0);
    EXPECT_EQ(Name(2).substr(0, 2), "F1");
    EXPECT_EQ(frameStore.pointCounts[2], 2);
    EXPECT_EQ(frameStore.frames[3][2].x, 200);
    EXPECT_EQ(frameStore.pointCounts[3], 3);
}

TEST_F(FrameStoreTest, InsertBlankFrameLimits) {
    MakeFrames(10);
    EXPECT_EQ(InsertBlankFrame(999), 0) << "index 999 is refused even while free";
    EXPECT_EQ(InsertBlankFrame(20), 1) << "an insertion past the end grows the store";
    EXPECT_EQ(frameStore.numFrames, 21);
    EXPECT_EQ(frameStore.pointCounts[15], 0);
    EXPECT_EQ(Name(15), std::string(16, ' '));

    ResetDocument();
    workingFrame.count = 0;
    workingFrame.changed = true;
    StoreFrame(998, true);
    ASSERT_EQ(frameStore.numFrames, 999);
    EXPECT_EQ(InsertBlankFrame(0), 1);
    EXPECT_EQ(frameStore.numFrames, 1000);
    EXPECT_EQ(InsertBlankFrame(0), 0) << "a full store refuses every insertion";
    EXPECT_EQ(frameStore.numFrames, 1000);
}

TEST_F(FrameStoreTest, DeleteFrameMovesFramesDownAndEmptiesTheLastSlot) {
    MakeFrames(4);
    ASSERT_EQ(DeleteFrame(1), 1);
    EXPECT_EQ(frameStore.numFrames, 3);
    EXPECT_EQ(Name(1).substr(0, 2), "F2");
    EXPECT_EQ(frameStore.pointCounts[1], 3);
    EXPECT_EQ(frameStore.frames[2][3].x, 300);
    EXPECT_EQ(frameStore.pointCounts[3], 0);
    EXPECT_EQ(DeleteFrame(3), 0);
}

TEST_F(FrameStoreTest, ClearFrameStoreBlanksEverySlot) {
    MakeFrames(5);
    frameStore.currentFrame = 3;
    ClearFrameStore();
    EXPECT_EQ(frameStore.numFrames, 0);
    EXPECT_EQ(frameStore.currentFrame, 0);
    for (int i = 0; i < MAX_FRAMES; ++i) {
        ASSERT_EQ(frameStore.pointCounts[i], 0);
        ASSERT_EQ(Name(i), std::string(16, ' '));
    }
    workingFrame.count = 9;
    LoadFrame(2);
    EXPECT_EQ(workingFrame.count, 0);
}

TEST_F(FrameStoreTest, SteppingPastTheEndAddsFramesOnlyWhenSomethingIsDrawn) {
    MakeFrames(3);
    GoToFrame(5);
    GoToFrame(4);
    EXPECT_EQ(frameStore.numFrames, 3) << "visiting without drawing adds nothing";

    GoToFrame(5);
    DrawPoint(1, 1);
    GoToFrame(4);
    EXPECT_EQ(frameStore.numFrames, 6);
    EXPECT_EQ(frameStore.pointCounts[3], 0);
    EXPECT_EQ(frameStore.pointCounts[4], 0);
    EXPECT_EQ(Name(3), std::string(16, ' '));
    EXPECT_EQ(frameStore.pointCounts[5], 1);
    EXPECT_EQ(frameStore.currentFrame, 4);
}

TEST_F(FrameStoreTest, GoToFrameDiscardsUndoAndAsksForEveryRefresh) {
    MakeFrames(2);
    DrawPoint(5, 5);
    ui->Clear();
    GoToFrame(1);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE);
    EXPECT_EQ(ui->Sequence(), (std::vector<std::string>{MenuCall(CMD_UNDO, false), "status:2",
                                                        "frame:0", "vector:1", "repaint:0"}));
    EXPECT_EQ(frameStore.pointCounts[0], 1) << "the edited frame was stored on leaving";
    EXPECT_EQ(frameStore.frames[0][0].x, 5);
    EXPECT_EQ(workingFrame.count, 2);
}

TEST_F(FrameStoreTest, ReloadingTheShownFrameRepaintsOnlyWhenThePictureChanges) {
    MakeFrames(2);
    LoadFrame(1);
    frameStore.currentFrame = 1;
    ui->Clear();
    GoToFrame(1);
    EXPECT_EQ(ui->Count("repaint"), 0) << "the same points, nothing selected";
    EXPECT_EQ(ui->Count("vector"), 1) << "the table rows are still rebuilt";
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE);

    workingFrame.points[0].flags |= POINT_SELECTED;
    GoToFrame(1);
    EXPECT_EQ(ui->Count("repaint"), 1) << "the reload clears the selection";
    EXPECT_EQ(workingFrame.points[0].flags, POINT_VISIBLE);

    DrawPoint(7, 7);
    GoToFrame(1);
    EXPECT_EQ(ui->Count("repaint"), 2) << "an edited frame is stored and drawn again";
    EXPECT_EQ(workingFrame.count, 3);
}

TEST_F(FrameStoreTest, DeletingMarkedFramesInOnePassMatchesDeletingThemOneByOne) {
    const bool marked[9] = {true, false, false, true, true, false, true, false, true};
    MakeFrames(9);
    for (int i = 0; i < 9; ++i)
        if (marked[i]) frameStore.pointCounts[i] = FRAME_DELETION_MARK;
    DeleteMarkedFrames();
    static FrameStore onePass;
    onePass = frameStore;

    MakeFrames(9);
    for (int i = 8; i >= 0; --i)
        if (marked[i]) DeleteFrame(i);
    ASSERT_EQ(onePass.numFrames, 4);
    ASSERT_EQ(frameStore.numFrames, 4);
    for (int f = 0; f < 4; ++f) {
        EXPECT_EQ(std::string(onePass.frameNames[f].bytes, 16), Name(f));
        ASSERT_EQ(onePass.pointCounts[f], frameStore.pointCounts[f]);
        for (int p = 0; p < frameStore.pointCounts[f]; ++p)
            EXPECT_EQ(onePass.frames[f][p].x, frameStore.frames[f][p].x);
    }
    EXPECT_EQ(Name(1).substr(0, 2), "F2");
    for (int f = 4; f < 9; ++f) EXPECT_EQ(onePass.pointCounts[f], 0) << "vacated slot " << f;
}
