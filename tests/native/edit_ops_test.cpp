// The mouse edits of the working frame: what they store, what they refuse,
// what they leave for undo and what they draw at once.
#include "canvas/edit_ops.h"

#include <gtest/gtest.h>

#include <vector>

#include "canvas/feedback_port.h"
#include "canvas/view_transform.h"
#include "document/document_reset.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tests/native/ui_recorder.h"

namespace {

struct Segment {
    bool visible, hasFrom;
    int fromX, fromY, toX, toY;
};
std::vector<Segment> segments;

void RecordSegment(bool visible, bool hasFrom, int fromX, int fromY, int toX, int toY) {
    segments.push_back({visible, hasFrom, fromX, fromY, toX, toY});
}

class EditOpsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        viewState = {6, -400, -300, false};  // frame (0, 0) at client (400, 300)
        ui = InstallUiRecorder();
        segments.clear();
        feedbackPort = {};
        feedbackPort.appendedSegment = RecordSegment;
    }
    void TearDown() override { feedbackPort = {}; }
    void Put(int16_t x, int16_t y, int16_t flags = POINT_VISIBLE) {
        workingFrame.points[workingFrame.count++] = {flags, x, y};
    }
    const VectorPoint& At(int i) { return workingFrame.points[i]; }
    UiRecorder* ui;
};

}  // namespace

TEST_F(EditOpsTest, AppendStoresSnapsAndDrawsItsSegment) {
    ASSERT_EQ(AppendPoint(true, 401, 301), 1);
    EXPECT_FALSE(segments[0].hasFrom) << "the first point gets only its marker";
    ASSERT_EQ(AppendPoint(false, 403, 299), 1);  // within 3 pixels: snaps
    ASSERT_EQ(AppendPoint(true, 405, 301), 1);   // 4 pixels away: does not
    ASSERT_EQ(workingFrame.count, 3);
    EXPECT_EQ(At(0).flags, POINT_VISIBLE);
    EXPECT_EQ(At(0).x, 64);
    EXPECT_EQ(At(0).y, 64);
    EXPECT_EQ(At(1).flags, 0);
    EXPECT_EQ(At(1).x, 64);
    EXPECT_EQ(At(1).y, 64);
    EXPECT_EQ(At(2).x, 320);
    EXPECT_EQ(At(2).y, 64);
    EXPECT_TRUE(segments[1].hasFrom);
    EXPECT_FALSE(segments[1].visible);
    EXPECT_EQ(segments[1].toX, 401) << "the snapped segment is drawn";
    EXPECT_EQ(segments[1].toY, 301);
    EXPECT_EQ(segments[2].fromX, 401);
    EXPECT_EQ(segments[2].toX, 405);
    EXPECT_EQ(ui->Sequence(), (std::vector<std::string>{"append:0", "append:1", "append:2"}));
    EXPECT_EQ(undoSnapshot.state, 2) << "count-only snapshot of the count before the append";
}

TEST_F(EditOpsTest, AppendRefusesOutOfRangeAndFullFrameWithoutSnapshot) {
    undoSnapshot.state = UNDO_STATE_NONE;
    viewState.originX = 0;
    EXPECT_EQ(AppendPoint(true, 512, 300), 0) << "x = 32768";
    viewState.originX = -1024;
    EXPECT_EQ(AppendPoint(true, 512, 300), 0) << "x = -32768";
    viewState.originY = 211;
    EXPECT_EQ(AppendPoint(true, 513, 301), 0) << "y = 32768";
    workingFrame.count = MAX_POINTS;
    EXPECT_EQ(AppendPoint(true, 513, 0), 0);
    EXPECT_EQ(workingFrame.count, MAX_POINTS);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE) << "a refused append takes no snapshot";
    EXPECT_TRUE(segments.empty());
    EXPECT_TRUE(ui->calls.empty());
}

TEST_F(EditOpsTest, InterpolationPlacesMiddlesOfEqualSteps) {
    viewState = {0, 0, 0, false};
    Put(0, 0);
    ASSERT_EQ(InterpolateTo(true, 100, 0, 4), 1);
    viewState.originX = -200;  // client 0 is frame -200; from (100, 0) on
    ASSERT_EQ(InterpolateTo(false, 100, 0, 4), 1);
    ASSERT_EQ(workingFrame.count, 11);
    const int expected[] = {12, 37, 62, 87, 100, 75, 25, -25, -75, -100};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(At(i + 1).x, expected[i]) << i;
    EXPECT_EQ(At(5).flags, POINT_VISIBLE);
    EXPECT_EQ(At(10).flags, 0);

    // Towards negative values the steps truncate toward zero.
    workingFrame.count = 1;
    viewState.originX = -100;
    ASSERT_EQ(InterpolateTo(true, 0, 0, 4), 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(At(i + 1).x, -expected[i]);

    // Onto the last point itself: n + 1 copies.
    workingFrame.count = 1;
    viewState.originX = 0;
    ASSERT_EQ(InterpolateTo(true, 0, 0, 3), 1);
    EXPECT_EQ(workingFrame.count, 5);
    EXPECT_EQ(At(4).x, 0);
}

TEST_F(EditOpsTest, InterpolationRefusesOverCapacityAndOutOfRange) {
    for (int i = 0; i < 2990; ++i) Put(0, 0);
    undoSnapshot.state = 7;  // the snapshot of an earlier edit
    EXPECT_EQ(InterpolateTo(true, 10, 10, 10), 0);
    EXPECT_EQ(workingFrame.count, 2990);
    EXPECT_EQ(undoSnapshot.state, 7) << "a refused interpolation takes no snapshot";
    EXPECT_EQ(InterpolateTo(true, 10, 10, 9), 1);
    EXPECT_EQ(workingFrame.count, 3000);
    EXPECT_EQ(undoSnapshot.state, 2990) << "count-only snapshot once accepted";
    workingFrame.count = 1;
    undoSnapshot.state = 7;
    viewState = {6, 0, 0, false};
    EXPECT_EQ(InterpolateTo(true, 512, 0, 1), 0);
    EXPECT_EQ(InterpolateTo(true, 0, 600, 1), 0);
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(undoSnapshot.state, 7);
}

TEST_F(EditOpsTest, TruncationSearchesFromTheEnd) {
    viewState = {0, 0, 0, false};  // client positions equal frame ones
    Put(100, 100);
    Put(200, 100);
    Put(200, 200);
    Put(101, 102);  // closes the figure on the first point
    ASSERT_EQ(TruncateAt(100, 100), 1);
    EXPECT_EQ(workingFrame.count, 3) << "only the closing point goes";
    EXPECT_EQ(ui->Sequence(), (std::vector<std::string>{"truncate:3"}));
    ASSERT_EQ(TruncateAt(203, 97), 1);
    EXPECT_EQ(workingFrame.count, 1) << "the hit point and all later ones go";
    ASSERT_EQ(ApplyUndo(), 1);
    EXPECT_EQ(workingFrame.count, 3) << "undo brings the cut points back";
    EXPECT_EQ(At(2).y, 200);
    ASSERT_EQ(TruncateAt(500, 500), 1);
    EXPECT_EQ(workingFrame.count, 2) << "a miss removes the last point";
    ASSERT_EQ(TruncateAt(99, 103), 1);
    EXPECT_EQ(workingFrame.count, 0);
    undoSnapshot.state = UNDO_STATE_NONE;
    EXPECT_EQ(TruncateAt(0, 0), 0);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE) << "an empty frame takes no snapshot";
}

TEST_F(EditOpsTest, DragPickMarksTheHitPointsOrTheWholeSelection) {
    viewState = {0, 0, 0, false};
    Put(10, 10);
    Put(12, 8, POINT_VISIBLE | POINT_MARKED);  // within 2 pixels, stale mark
    Put(13, 10);                               // 3 pixels: missed
    Put(50, 50, POINT_SELECTED);
    ASSERT_EQ(PickForDrag(10, 10), 1);
    EXPECT_EQ(At(0).flags, POINT_VISIBLE | POINT_MARKED);
    EXPECT_EQ(At(1).flags, POINT_VISIBLE | POINT_MARKED);
    EXPECT_EQ(At(2).flags, POINT_VISIBLE);
    EXPECT_EQ(At(3).flags, POINT_SELECTED);

    Put(51, 51);  // unselected, hit together with a selected point
    Put(90, 90, POINT_SELECTED);
    ASSERT_EQ(PickForDrag(50, 50), 1);
    for (int i : {0, 1, 2, 4}) EXPECT_EQ(At(i).flags & POINT_MARKED, 0) << i;
    EXPECT_EQ(At(3).flags, POINT_SELECTED | POINT_MARKED);
    EXPECT_EQ(At(5).flags, POINT_SELECTED | POINT_MARKED) << "the whole selection moves";

    EXPECT_EQ(PickForDrag(300, 300), 0);
    workingFrame.count = 0;
    EXPECT_EQ(PickForDrag(0, 0), 0);
}

TEST_F(EditOpsTest, MoveMarkedScalesByZoomAndRefusesPastTheRange) {
    viewState = {2, 0, 0, false};
    Put(100, 100, POINT_VISIBLE | POINT_MARKED);
    Put(0, 0);
    Put(32700, -32700, POINT_MARKED);
    ASSERT_EQ(MoveMarked(10, -10), 1);
    EXPECT_EQ(At(0).x, 140);
    EXPECT_EQ(At(0).y, 60);
    EXPECT_EQ(At(1).x, 0) << "unmarked points stay";
    EXPECT_EQ(At(2).x, 32740);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_FULL_COPY);
    EXPECT_EQ(undoSnapshot.points[0].x, 100) << "the snapshot holds the points before the move";
    undoSnapshot.state = 3;  // the snapshot of an earlier edit
    EXPECT_EQ(MoveMarked(7, 0), 0) << "32740 + 28 is past 32767";
    EXPECT_EQ(MoveMarked(0, -7), 0) << "-32740 - 28 reaches -32768";
    EXPECT_EQ(At(0).x, 140) << "a refused move moves nothing";
    EXPECT_EQ(undoSnapshot.state, 3) << "and takes no snapshot";
    EXPECT_EQ(MoveMarked(6, -6), 1);
    EXPECT_EQ(At(2).x, 32764);
    workingFrame.count = 0;
    EXPECT_EQ(MoveMarked(5, 5), 1);
}

TEST_F(EditOpsTest, BandSelectionGrowsAndAnEmptyBandClears) {
    viewState = {1, 0, 0, false};
    Put(10, 10);
    Put(100, 100, POINT_VISIBLE | POINT_SELECTED);
    Put(40, 20, POINT_MARKED);
    Put(-40, 20);
    SelectInBand(25, 15, 0, 0);  // frame (0, 0) to (50, 30), corners reversed
    EXPECT_EQ(At(0).flags, POINT_VISIBLE | POINT_SELECTED);
    EXPECT_EQ(At(1).flags, POINT_VISIBLE | POINT_SELECTED) << "the selection grows";
    EXPECT_EQ(At(2).flags, POINT_SELECTED | POINT_MARKED);
    EXPECT_EQ(At(3).flags, POINT_VISIBLE);
    SelectInBand(-100, -100, -90, -90);
    const int16_t left[] = {POINT_VISIBLE, POINT_VISIBLE, 0, POINT_VISIBLE};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(At(i).flags, left[i]) << "only visibility is left";
}
