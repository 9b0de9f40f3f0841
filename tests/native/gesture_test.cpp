// The canvas's mouse handling: gesture transitions, the follow-up requests
// and undo kinds of each edit, and the inverted feedback strokes.
#include "canvas/gesture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "canvas/feedback_port.h"
#include "canvas/view_transform.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tests/native/ui_recorder.h"

namespace {

// Inversion strokes as "m x y" / "r l t r b", bracketed by "begin k" / "end".
std::vector<std::string> strokes;

void OnBegin(int kind) {
    strokes.push_back("begin " + std::to_string(kind));
}
void OnMarker(int x, int y) {
    strokes.push_back("m " + std::to_string(x) + " " + std::to_string(y));
}
void OnRect(int l, int t, int r, int b) {
    strokes.push_back("r " + std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) +
                      " " + std::to_string(b));
}
void OnEnd() {
    strokes.push_back("end");
}

class GestureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ResetViewState();
        ResetGesture();
        viewState = {0, 0, 0, false};  // client pixel == frame unit
        ui = InstallUiRecorder();
        strokes.clear();
        feedbackPort = {nullptr, OnBegin, OnMarker, OnRect, OnEnd};
    }
    void TearDown() override { feedbackPort = {}; }
    void Put(int16_t x, int16_t y, int16_t flags = POINT_VISIBLE) {
        workingFrame.points[workingFrame.count++] = {flags, x, y};
    }
    using Calls = std::vector<std::string>;
    UiRecorder* ui;
};

const int SHIFT = KEY_SHIFT, CTRL = KEY_CONTROL;

}  // namespace

TEST_F(GestureTest, PlainAndShiftClicksAppendWithoutRepaint) {
    GestureLeftPress(10, 20, 0);
    GestureLeftPress(30, 40, SHIFT);
    ASSERT_EQ(workingFrame.count, 2);
    EXPECT_EQ(workingFrame.points[0].flags, POINT_VISIBLE);
    EXPECT_EQ(workingFrame.points[1].flags, 0);
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(ui->Count("status", STATUS_PANES), 2);
    EXPECT_EQ(ui->Count("append"), 2);
    EXPECT_EQ(ui->Count("repaint"), 0) << "the segment is drawn at once";
    EXPECT_EQ(undoSnapshot.state, 1);

    ui->Clear();
    workingFrame.count = MAX_POINTS;
    GestureLeftPress(10, 20, 0);
    EXPECT_EQ(ui->Sequence(), Calls{"beep:0"});
    EXPECT_EQ(undoSnapshot.state, 1) << "no snapshot for a refused click";
}

TEST_F(GestureTest, DragMovesPickedPointsOnRelease) {
    Put(100, 100);
    Put(200, 200);
    GestureLeftPress(101, 99, CTRL);
    EXPECT_EQ(gesture.gestureFlags, GESTURE_DRAG);
    EXPECT_EQ(gesture.anchorX, 101);
    GestureMouseMove(111, 104);
    EXPECT_EQ(gesture.gestureFlags, GESTURE_DRAG | GESTURE_MOVED);
    GestureMouseMove(121, 109);
    EXPECT_EQ(strokes, (Calls{"begin 0", "m 110 105", "end",  // first move: draw only
                              "begin 0", "m 110 105", "m 120 110", "end"}));
    EXPECT_TRUE(ui->calls.empty()) << "moving redraws nothing else";

    GestureLeftRelease(131, 119);
    EXPECT_EQ(gesture.gestureFlags, 0);
    EXPECT_EQ(workingFrame.points[0].x, 130);
    EXPECT_EQ(workingFrame.points[0].y, 120);
    EXPECT_EQ(workingFrame.points[1].x, 200);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_FULL_COPY);
    EXPECT_EQ(undoSnapshot.points[0].x, 100);
    EXPECT_EQ(ui->Sequence(), (Calls{"vector:2", "menu:40010+", "menu:40011+", "repaint:0"}));
    EXPECT_TRUE(documentModified);
    EXPECT_EQ(workingFrame.points[0].flags & POINT_MARKED, POINT_MARKED)
        << "marks stay until the next pick";
}

TEST_F(GestureTest, DragFeedbackDrawsCoincidentMarkedPointsOnce) {
    Put(50, 50, POINT_SELECTED);
    Put(50, 50, POINT_SELECTED);
    Put(60, 50, POINT_SELECTED);
    Put(50, 50, POINT_SELECTED);  // not next to its twin: drawn again
    GestureLeftPress(50, 50, CTRL);
    GestureMouseMove(52, 50);
    EXPECT_EQ(strokes, (Calls{"begin 0", "m 52 50", "m 62 50", "m 52 50", "end"}));
}

TEST_F(GestureTest, RefusedDragStillSnapshotsThenBeepsAndRepaints) {
    Put(32760, 0);
    GestureLeftPress(32760, 0, CTRL);
    GestureMouseMove(32770, 0);
    GestureLeftRelease(32770, 0);
    EXPECT_EQ(workingFrame.points[0].x, 32760);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_FULL_COPY);
    EXPECT_EQ(ui->Sequence(), (Calls{"beep:0", "repaint:0"}));
    EXPECT_FALSE(documentModified);
}

TEST_F(GestureTest, DragReleasedWhereItStartedStillCountsAsAnEdit) {
    Put(10, 10);
    GestureLeftPress(10, 10, CTRL);
    GestureMouseMove(30, 30);
    GestureLeftRelease(10, 10);
    EXPECT_EQ(workingFrame.points[0].x, 10);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_FULL_COPY);
    EXPECT_TRUE(documentModified);
}

TEST_F(GestureTest, UnmovedDragAndMissedPickChangeNothing) {
    Put(10, 10);
    GestureLeftPress(10, 10, CTRL);
    GestureLeftRelease(40, 40);  // state 1: no move happened
    EXPECT_EQ(workingFrame.points[0].x, 10);
    EXPECT_EQ(ui->Sequence(), Calls{"repaint:0"});
    EXPECT_EQ(undoSnapshot.state, 0);

    ui->Clear();
    GestureLeftPress(300, 300, CTRL);  // hits nothing
    EXPECT_EQ(gesture.gestureFlags, 0);
    EXPECT_EQ(gesture.anchorX, 300) << "the anchor is set all the same";
    GestureMouseMove(310, 310);
    GestureLeftRelease(310, 310);
    EXPECT_TRUE(ui->calls.empty()) << "no gesture: the release does nothing";
    EXPECT_TRUE(strokes.empty());
}

TEST_F(GestureTest, BandSelectsOnReleaseWithoutMarkingModified) {
    Put(10, 10);
    Put(20, 20);
    Put(90, 90);
    GestureLeftPress(5, 5, CTRL | SHIFT);
    EXPECT_EQ(gesture.gestureFlags, GESTURE_BAND);
    EXPECT_TRUE(strokes.empty()) << "nothing drawn at the press";
    GestureMouseMove(15, 16);
    GestureMouseMove(25, 26);
    EXPECT_EQ(gesture.gestureFlags, GESTURE_BAND | GESTURE_MOVED);
    EXPECT_EQ(strokes, (Calls{"begin 1", "r 5 5 15 16", "end",  //
                              "begin 1", "r 5 5 15 16", "r 5 5 25 26", "end"}));
    GestureLeftRelease(25, 26);
    EXPECT_EQ(workingFrame.points[0].flags, POINT_VISIBLE | POINT_SELECTED);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE | POINT_SELECTED);
    EXPECT_EQ(workingFrame.points[2].flags, POINT_VISIBLE);
    EXPECT_EQ(ui->Sequence(), (Calls{"vector:2", "repaint:0"}));
    EXPECT_FALSE(documentModified);
    EXPECT_EQ(undoSnapshot.state, 0) << "selection takes no snapshot";

    // An unmoved band selects between anchor and release.
    GestureLeftPress(85, 85, CTRL | SHIFT);
    GestureLeftRelease(95, 95);
    EXPECT_EQ(workingFrame.points[2].flags, POINT_VISIBLE | POINT_SELECTED);
}

TEST_F(GestureTest, RightPressCancelsAGestureOrTruncates) {
    Put(10, 10);
    Put(20, 20);
    Put(30, 30);
    GestureLeftPress(20, 20, CTRL);
    GestureMouseMove(60, 60);
    ui->Clear();
    GestureRightPress(20, 20, 0);
    EXPECT_EQ(gesture.gestureFlags, 0);
    EXPECT_EQ(workingFrame.count, 3) << "a cancel removes nothing";
    EXPECT_EQ(workingFrame.points[1].x, 20);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE | POINT_MARKED);
    EXPECT_EQ(ui->Sequence(), Calls{"repaint:0"});

    ui->Clear();
    GestureRightPress(20, 20, SHIFT);
    GestureRightPress(20, 20, CTRL);
    EXPECT_TRUE(ui->calls.empty()) << "modified right clicks do nothing";

    GestureRightPress(21, 19, 0);
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(ui->Sequence(),
              (Calls{"truncate:1", "menu:40010+", "menu:40011+", "status:2", "repaint:0"}));
    EXPECT_EQ(undoSnapshot.state, 3);

    ResetDocument();
    ui->Clear();
    GestureRightPress(0, 0, 0);
    EXPECT_TRUE(ui->calls.empty()) << "an empty frame: no beep, nothing";
}

TEST_F(GestureTest, PlainClickDuringAGestureAppendsAndKeepsTheState) {
    Put(10, 10);
    GestureLeftPress(0, 0, CTRL | SHIFT);
    GestureMouseMove(5, 5);
    GestureLeftPress(50, 50, 0);
    EXPECT_EQ(workingFrame.count, 2);
    EXPECT_EQ(gesture.gestureFlags, GESTURE_BAND | GESTURE_MOVED);
    GestureLeftPress(10, 10, CTRL);  // a successful pick turns the band into a drag
    EXPECT_EQ(gesture.gestureFlags, GESTURE_DRAG);
}

TEST_F(GestureTest, MiddlePressInterpolatesThroughThePrompt) {
    GestureMiddlePress(nullptr, 100, 0, 0);
    EXPECT_TRUE(ui->calls.empty()) << "no prompt on an empty frame";

    Put(0, 0);
    ui->promptReplies = {{true, "4"}};
    std::strcpy(Prompt::value, "stale");
    GestureMiddlePress(nullptr, 100, 0, SHIFT | CTRL);
    ASSERT_EQ(ui->Count("prompt"), 1);
    EXPECT_STREQ(ui->lastPromptRequest.caption, "Interpolation");
    EXPECT_STREQ(ui->lastPromptRequest.prompt, "Intermediate points:");
    EXPECT_FALSE(ui->lastPromptRequest.textField);
    EXPECT_EQ(ui->lastPromptInitial, "") << "the field opens empty";
    ASSERT_EQ(workingFrame.count, 6);
    EXPECT_EQ(workingFrame.points[5].x, 100);
    EXPECT_EQ(workingFrame.points[5].flags, 0) << "Shift blanks, Ctrl is ignored";
    EXPECT_EQ(undoSnapshot.state, 1);
    EXPECT_EQ(ui->Sequence(), (Calls{"prompt:0", "menu:40010+", "menu:40011+", "status:2",
                                     "vector:0", "repaint:0"}));
}

TEST_F(GestureTest, InterpolationCountIsClampedAndRefusalsBeep) {
    const struct {
        const char* text;
        int added;
    } cases[] = {{"0", 2}, {"abc", 2}, {"-5", 2}, {"  7x", 8}, {"500", 101}};
    for (const auto& c : cases) {
        ResetDocument();
        Put(0, 0);
        ui->promptReplies = {{true, c.text}};
        GestureMiddlePress(nullptr, 50, 50, 0);
        EXPECT_EQ(workingFrame.count, 1 + c.added) << c.text;
    }

    ResetDocument();
    Put(0, 0);
    ui->Clear();
    ui->promptReplies = {{false, "4"}};
    GestureMiddlePress(nullptr, 50, 50, 0);
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(ui->Sequence(), Calls{"prompt:0"}) << "cancel does nothing";

    for (int i = 1; i < 2990; ++i) Put(0, 0);
    undoSnapshot.state = UNDO_STATE_NONE;
    ui->Clear();
    ui->promptReplies = {{true, "10"}};
    GestureMiddlePress(nullptr, 50, 50, 0);
    EXPECT_EQ(workingFrame.count, 2990);
    EXPECT_EQ(ui->Sequence(), (Calls{"prompt:0", "beep:0"}));
    EXPECT_EQ(undoSnapshot.state, 2990) << "the snapshot is taken before the check";
}
