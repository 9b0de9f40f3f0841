// The mouse edits of the working frame: what they store, what they refuse,
// what they leave for undo and what they draw at once.
#include "canvas/edit_ops.h"

#include <gtest/gtest.h>

#include <vector>

#include "canvas/feedback_port.h"
#include "canvas/view_transform.h"
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
        ResetViewState();
        viewState = {6, -400, -300, false};
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

TEST_F(EditOpsTest, AppendStoresZoomedPositionWithVisibility) {
    ASSERT_EQ(AppendPoint(true, 401, 301), 1);
    ASSERT_EQ(AppendPoint(false, 300, 200), 1);
    ASSERT_EQ(workingFrame.count, 2);
    EXPECT_EQ(At(0).flags, POINT_VISIBLE);
    EXPECT_EQ(At(0).x, 64);
    EXPECT_EQ(At(0).y, 64);
    EXPECT_EQ(At(1).flags, 0);
    EXPECT_EQ(At(1).x, -6400);
    EXPECT_EQ(At(1).y, -6400);
    EXPECT_EQ(ui->Sequence(), (std::vector<std::string>{"append:0", "append:1"}));
    EXPECT_EQ(undoSnapshot.state, 1) << "count-only snapshot of the count before the append";

    ASSERT_EQ(segments.size(), 2u);
    EXPECT_FALSE(segments[0].hasFrom) << "the first point has no segment, only its marker";
    EXPECT_TRUE(segments[0].visible);
    EXPECT_EQ(segments[0].toX, 401);
    EXPECT_TRUE(segments[1].hasFrom);
    EXPECT_FALSE(segments[1].visible);
    EXPECT_EQ(segments[1].fromX, 401);
    EXPECT_EQ(segments[1].fromY, 301);
    EXPECT_EQ(segments[1].toX, 300);
    EXPECT_EQ(segments[1].toY, 200);
}

TEST_F(EditOpsTest, AppendSnapsWithinThreePixelsOnly) {
    Put(100, 100);  // client (401, 301)
    ASSERT_EQ(AppendPoint(true, 403, 299), 1);
    EXPECT_EQ(At(1).x, 64);
    EXPECT_EQ(At(1).y, 64);
    EXPECT_EQ(segments.back().toX, 401) << "the drawn segment ends on the snapped spot";
    EXPECT_EQ(segments.back().toY, 301);

    workingFrame.count = 1;
    ASSERT_EQ(AppendPoint(true, 405, 301), 1);
    EXPECT_EQ(At(1).x, 320);
    EXPECT_EQ(At(1).y, 64);
    workingFrame.count = 1;
    ASSERT_EQ(AppendPoint(true, 401, 297), 1);
    EXPECT_EQ(At(1).y, -192) << "4 pixels on one axis is enough to miss";
}

TEST_F(EditOpsTest, AppendRefusesOutOfRangeAndFullFrameWithoutSnapshot) {
    undoSnapshot.state = UNDO_STATE_NONE;
    viewState.originX = 0;
    // 512 * 64 = 32768 and -512 * 64 = -32768 are both outside the edit range.
    EXPECT_EQ(AppendPoint(true, 512, 300), 0);
    viewState.originX = -1024;
    EXPECT_EQ(AppendPoint(true, 512, 300), 0);
    EXPECT_EQ(AppendPoint(true, 513, 300), 1);
    EXPECT_EQ(At(0).x, -32704);
    viewState.originY = 511 - 300;
    EXPECT_EQ(AppendPoint(true, 513, 301), 0) << "y checked as well";

    workingFrame.count = MAX_POINTS;
    undoSnapshot.state = UNDO_STATE_NONE;
    EXPECT_EQ(AppendPoint(true, 513, 300), 0);
    EXPECT_EQ(workingFrame.count, MAX_POINTS);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE) << "a refused append takes no snapshot";
    EXPECT_EQ(segments.size(), 1u) << "and draws nothing";
    EXPECT_EQ(ui->Count("append"), 1);
}

TEST_F(EditOpsTest, InterpolationPlacesMiddlesOfEqualSteps) {
    viewState = {0, 0, 0, false};
    Put(0, 0);
    ASSERT_EQ(InterpolateTo(true, 100, 0, 4), 1);
    ASSERT_EQ(workingFrame.count, 6);
    const int expected[] = {12, 37, 62, 87, 100};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(At(i + 1).x, expected[i]);
        EXPECT_EQ(At(i + 1).y, 0);
        EXPECT_EQ(At(i + 1).flags, POINT_VISIBLE);
    }

    workingFrame.count = 1;
    viewState.originX = -100;  // client 0 is frame -100
    ASSERT_EQ(InterpolateTo(false, 0, 0, 4), 1);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(At(i + 1).x, -expected[i]) << "truncation toward zero";
        EXPECT_EQ(At(i + 1).flags, 0);
    }

    // Onto the last point's own position: n + 1 copies.
    workingFrame.count = 1;
    viewState.originX = 0;
    ASSERT_EQ(InterpolateTo(true, 0, 0, 3), 1);
    EXPECT_EQ(workingFrame.count, 5);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(At(i).x, 0);
}

TEST_F(EditOpsTest, InterpolationRefusesOverCapacityAndOutOfRange) {
    for (int i = 0; i < 2990; ++i) Put(0, 0);
    EXPECT_EQ(InterpolateTo(true, 10, 10, 10), 0);
    EXPECT_EQ(workingFrame.count, 2990);
    EXPECT_EQ(InterpolateTo(true, 10, 10, 9), 1);
    EXPECT_EQ(workingFrame.count, 3000);

    ResetDocument();
    Put(0, 0);
    viewState = {6, 0, 0, false};
    EXPECT_EQ(InterpolateTo(true, 512, 0, 1), 0);
    EXPECT_EQ(InterpolateTo(true, 0, 600, 1), 0);
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(InterpolateTo(true, 10, 10, 0), 0) << "no steps is not an interpolation";
}

TEST_F(EditOpsTest, TruncationSearchesFromTheEnd) {
    // A closed square at 1/1 with origin 0: client positions equal frame ones.
    viewState = {0, 0, 0, false};
    Put(100, 100);
    Put(200, 100);
    Put(200, 200);
    Put(100, 200);
    Put(101, 102);  // back on the first point, within 3 pixels

    ASSERT_EQ(TruncateAt(100, 100), 1);
    EXPECT_EQ(workingFrame.count, 4) << "only the closing point goes";
    EXPECT_EQ(ui->Sequence(), (std::vector<std::string>{"truncate:4"}));
    EXPECT_EQ(undoSnapshot.state, 5);

    ASSERT_EQ(TruncateAt(203, 97), 1);
    EXPECT_EQ(workingFrame.count, 1) << "the hit point and all later ones go";
    ASSERT_EQ(ApplyUndo(), 1);
    EXPECT_EQ(workingFrame.count, 4) << "the cut points are still in the buffer";
    EXPECT_EQ(At(3).y, 200);

    ASSERT_EQ(TruncateAt(500, 500), 1);
    EXPECT_EQ(workingFrame.count, 3) << "a miss removes the last point";
    ASSERT_EQ(TruncateAt(99, 103), 1);
    EXPECT_EQ(workingFrame.count, 0);
    ui->Clear();
    undoSnapshot.state = UNDO_STATE_NONE;
    EXPECT_EQ(TruncateAt(0, 0), 0);
    EXPECT_TRUE(ui->calls.empty());
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_NONE) << "an empty frame takes no snapshot";
}

TEST_F(EditOpsTest, DragPickMarksHitOrWholeSelection) {
    viewState = {0, 0, 0, false};
    Put(10, 10);
    Put(12, 8, POINT_VISIBLE | POINT_MARKED);  // within 2 pixels, stale mark
    Put(13, 10);                               // 3 pixels: not hit
    Put(50, 50, POINT_VISIBLE | POINT_SELECTED);
    Put(60, 60, POINT_SELECTED);

    ASSERT_EQ(PickForDrag(10, 10), 1);
    EXPECT_EQ(At(0).flags, POINT_VISIBLE | POINT_MARKED);
    EXPECT_EQ(At(1).flags, POINT_VISIBLE | POINT_MARKED);
    EXPECT_EQ(At(2).flags, POINT_VISIBLE);
    EXPECT_EQ(At(3).flags, POINT_VISIBLE | POINT_SELECTED) << "selection untouched";

    // Hitting a selected point next to an unselected one drags the selection only.
    Put(51, 51);
    ASSERT_EQ(PickForDrag(50, 50), 1);
    EXPECT_EQ(At(0).flags, POINT_VISIBLE);
    EXPECT_EQ(At(1).flags, POINT_VISIBLE);
    EXPECT_EQ(At(3).flags, POINT_VISIBLE | POINT_SELECTED | POINT_MARKED);
    EXPECT_EQ(At(4).flags, POINT_SELECTED | POINT_MARKED);
    EXPECT_EQ(At(5).flags, POINT_VISIBLE);

    EXPECT_EQ(PickForDrag(300, 300), 0);
    ResetDocument();
    EXPECT_EQ(PickForDrag(0, 0), 0);
}

TEST_F(EditOpsTest, MoveMarkedShiftsByZoomAndRefusesPastTheRange) {
    viewState = {2, 0, 0, false};
    Put(100, 100, POINT_VISIBLE | POINT_MARKED);
    Put(0, 0);
    Put(32700, -32700, POINT_MARKED);
    ASSERT_EQ(MoveMarked(10, -10), 1);
    EXPECT_EQ(At(0).x, 140);
    EXPECT_EQ(At(0).y, 60);
    EXPECT_EQ(At(1).x, 0) << "unmarked points stay";
    EXPECT_EQ(At(2).x, 32740);
    EXPECT_EQ(At(2).y, -32740);

    EXPECT_EQ(MoveMarked(7, 0), 0) << "32740 + 28 is past 32767";
    EXPECT_EQ(MoveMarked(0, -7), 0) << "-32740 - 28 reaches -32768";
    EXPECT_EQ(At(0).x, 140) << "a refused move moves nothing";
    EXPECT_EQ(At(2).x, 32740);
    EXPECT_EQ(MoveMarked(6, -6), 1) << "32764 and -32764 fit";

    ResetDocument();
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

    SelectInBand(5, 5, 5, 5);  // frame (10, 10): the first point, degenerate band
    EXPECT_EQ(At(0).flags, POINT_VISIBLE | POINT_SELECTED);

    SelectInBand(-100, -100, -90, -90);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(At(i).flags & (POINT_SELECTED | POINT_MARKED), 0) << "point " << i;
    EXPECT_EQ(At(1).flags, POINT_VISIBLE);
}
