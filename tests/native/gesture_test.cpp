// The canvas's mouse handling: gesture transitions, the follow-up requests
// and undo kinds of each edit, and the inverted feedback strokes.
#include "canvas/gesture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "canvas/feedback_port.h"
#include "canvas/view_transform.h"
#include "document/document_reset.h"
#include "document/frame_store.h"
#include "document/undo.h"
#include "tests/native/ui_recorder.h"

namespace {

// Inversion strokes as "m x y" and "r l t r b", bracketed by "begin k" / "end".
std::vector<std::string> strokes;
void Stroke(const std::string& s) {
    strokes.push_back(s);
}
void OnBegin(int kind) {
    Stroke("begin " + std::to_string(kind));
}
void OnMarker(int x, int y) {
    Stroke("m " + std::to_string(x) + " " + std::to_string(y));
}
void OnRect(int l, int t, int r, int b) {
    Stroke("r " + std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) + " " +
           std::to_string(b));
}
void OnEnd() {
    Stroke("end");
}

using Calls = std::vector<std::string>;
const int SHIFT = KEY_SHIFT, CTRL = KEY_CONTROL;

class GestureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
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
    UiRecorder* ui;
};

}  // namespace

TEST_F(GestureTest, ClicksAppendWithoutRepaintAndRefusalsBeep) {
    GestureLeftPress(10, 20, 0);
    GestureLeftPress(30, 40, SHIFT);
    ASSERT_EQ(workingFrame.count, 2);
    EXPECT_EQ(workingFrame.points[1].flags, 0);
    EXPECT_EQ(
        ui->Sequence(),
        (Calls{"append:0", MenuCall(CMD_SAVE_FRAMES, true), MenuCall(CMD_UNDO, true), "status:2",
               "append:1", MenuCall(CMD_SAVE_FRAMES, true), MenuCall(CMD_UNDO, true), "status:2"}));
    ui->Clear();
    workingFrame.count = MAX_POINTS;
    GestureLeftPress(10, 20, 0);
    EXPECT_EQ(ui->Sequence(), Calls{"beep:0"});
}

TEST_F(GestureTest, DragDrawsErasesAndMovesOnRelease) {
    Put(100, 100);
    Put(100, 100);  // coincident twin: one marker, or the two would cancel out
    Put(200, 200);
    GestureLeftPress(101, 99, CTRL);
    EXPECT_EQ(gesture.gestureFlags, GESTURE_DRAG);
    GestureMouseMove(111, 104);
    EXPECT_EQ(gesture.gestureFlags, GESTURE_DRAG | GESTURE_MOVED);
    GestureMouseMove(121, 109);
    EXPECT_EQ(strokes, (Calls{"begin 0", "m 110 105", "end",  // the first move only draws
                              "begin 0", "m 110 105", "m 120 110", "end"}));
    EXPECT_TRUE(ui->calls.empty()) << "moving repaints nothing";

    GestureLeftRelease(131, 119);
    EXPECT_EQ(gesture.gestureFlags, 0);
    EXPECT_EQ(workingFrame.points[1].x, 130);
    EXPECT_EQ(workingFrame.points[1].y, 120);
    EXPECT_EQ(workingFrame.points[2].x, 200);
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_FULL_COPY);
    EXPECT_EQ(undoSnapshot.points[0].x, 100);
    EXPECT_EQ(ui->Sequence(), (Calls{"vector:2", MenuCall(CMD_SAVE_FRAMES, true),
                                     MenuCall(CMD_UNDO, true), "repaint:0"}));
    EXPECT_NE(workingFrame.points[0].flags & POINT_MARKED, 0) << "marks stay after the gesture";
}

TEST_F(GestureTest, RefusedUnmovedAndZeroDrags) {
    Put(32760, 0);
    GestureLeftPress(5, 5, 0);  // the edit a refused drag must leave undoable
    ui->Clear();
    GestureLeftPress(32760, 0, CTRL);
    GestureMouseMove(32770, 0);
    GestureLeftRelease(32770, 0);
    EXPECT_EQ(workingFrame.points[0].x, 32760);
    EXPECT_EQ(undoSnapshot.state, 1) << "the click's snapshot survives the refused drag";
    EXPECT_EQ(ui->Sequence(), (Calls{"beep:0", "repaint:0"}));
    ASSERT_EQ(ApplyUndo(), 1);
    EXPECT_EQ(workingFrame.count, 1) << "Undo takes back the click";

    ResetDocument();
    ui->Clear();
    Put(10, 10);
    GestureLeftPress(10, 10, CTRL);
    GestureLeftRelease(40, 40);  // never moved
    EXPECT_EQ(workingFrame.points[0].x, 10);
    EXPECT_EQ(ui->Sequence(), Calls{"repaint:0"});

    GestureLeftPress(10, 10, CTRL);
    GestureMouseMove(30, 30);
    GestureLeftRelease(10, 10);  // back where it started
    EXPECT_EQ(undoSnapshot.state, UNDO_STATE_FULL_COPY);
    EXPECT_TRUE(documentModified);

    ui->Clear();
    strokes.clear();
    GestureLeftPress(300, 300, CTRL);  // hits nothing: no gesture
    EXPECT_EQ(gesture.gestureFlags, 0);
    EXPECT_EQ(gesture.anchorX, 300) << "the anchor is set all the same";
    GestureMouseMove(310, 310);
    GestureLeftRelease(310, 310);
    EXPECT_TRUE(ui->calls.empty());
    EXPECT_TRUE(strokes.empty());
}

TEST_F(GestureTest, BandSelectsOnReleaseWithoutMarkingModified) {
    Put(10, 10);
    Put(90, 90);
    GestureLeftPress(5, 5, CTRL | SHIFT);
    EXPECT_EQ(gesture.gestureFlags, GESTURE_BAND);
    GestureMouseMove(15, 16);
    GestureLeftPress(50, 50, 0);  // a plain click appends and keeps the gesture
    EXPECT_EQ(gesture.gestureFlags, GESTURE_BAND | GESTURE_MOVED);
    GestureMouseMove(25, 26);
    EXPECT_EQ(strokes, (Calls{"begin 1", "r 5 5 15 16", "end",  //
                              "begin 1", "r 5 5 15 16", "r 5 5 25 26", "end"}));
    ui->Clear();
    GestureLeftRelease(25, 26);
    EXPECT_EQ(workingFrame.points[0].flags, POINT_VISIBLE | POINT_SELECTED);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE);
    EXPECT_EQ(ui->Sequence(), (Calls{"vector:2", "repaint:0"}));
    EXPECT_EQ(undoSnapshot.state, 2) << "the snapshot of the click, untouched by selecting";

    GestureLeftPress(85, 85, CTRL | SHIFT);  // unmoved: anchor to release
    GestureLeftRelease(95, 95);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE | POINT_SELECTED);
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
    EXPECT_EQ(workingFrame.count, 3) << "a cancel removes and moves nothing";
    EXPECT_EQ(workingFrame.points[1].x, 20);
    EXPECT_EQ(ui->Sequence(), Calls{"repaint:0"});

    ui->Clear();
    GestureRightPress(20, 20, SHIFT);
    GestureRightPress(20, 20, CTRL);
    EXPECT_TRUE(ui->calls.empty()) << "modified right clicks do nothing";
    GestureRightPress(21, 19, 0);
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(ui->Sequence(), (Calls{"truncate:1", MenuCall(CMD_SAVE_FRAMES, true),
                                     MenuCall(CMD_UNDO, true), "status:2", "repaint:0"}));
    ResetDocument();
    ui->Clear();
    GestureRightPress(0, 0, 0);
    EXPECT_TRUE(ui->calls.empty()) << "an empty frame: no beep, nothing";
}

TEST_F(GestureTest, MiddlePressInterpolatesThroughThePrompt) {
    GestureMiddlePress(nullptr, 100, 0, 0);
    EXPECT_TRUE(ui->calls.empty()) << "no prompt on an empty frame";
    Put(0, 0);
    ui->promptReplies = {{true, "4"}};
    std::strcpy(Prompt::value, "stale");
    GestureMiddlePress(nullptr, 100, 0, SHIFT | CTRL);
    EXPECT_STREQ(ui->lastPromptRequest.caption, "Interpolation");
    EXPECT_STREQ(ui->lastPromptRequest.prompt, "Intermediate points:");
    EXPECT_FALSE(ui->lastPromptRequest.textField);
    EXPECT_EQ(ui->lastPromptInitial, "") << "the field opens empty";
    ASSERT_EQ(workingFrame.count, 6);
    EXPECT_EQ(workingFrame.points[5].flags, 0) << "Shift blanks, Ctrl is ignored";
    EXPECT_EQ(undoSnapshot.state, 1);
    EXPECT_EQ(ui->Sequence(),
              (Calls{"prompt:0", MenuCall(CMD_SAVE_FRAMES, true), MenuCall(CMD_UNDO, true),
                     "status:2", "vector:0", "repaint:0"}));

    const struct {
        const char* text;
        int added;
    } cases[] = {{"0", 2}, {"abc", 2}, {"-5", 2}, {"  7x", 8}, {"500", 101}};
    for (const auto& c : cases) {
        workingFrame.count = 1;
        ui->promptReplies = {{true, c.text}};
        GestureMiddlePress(nullptr, 50, 50, 0);
        EXPECT_EQ(workingFrame.count, 1 + c.added) << c.text;
    }
}

TEST_F(GestureTest, CancelledOrRefusedInterpolation) {
    Put(0, 0);
    ui->promptReplies = {{false, "4"}};
    GestureMiddlePress(nullptr, 50, 50, 0);
    EXPECT_EQ(workingFrame.count, 1);
    EXPECT_EQ(ui->Sequence(), Calls{"prompt:0"}) << "cancel does nothing";

    workingFrame.count = 2989;
    GestureLeftPress(5, 5, 0);  // the edit a refused interpolation must leave undoable
    ASSERT_EQ(workingFrame.count, 2990);
    ui->Clear();
    ui->promptReplies = {{true, "10"}};
    GestureMiddlePress(nullptr, 50, 50, 0);
    EXPECT_EQ(workingFrame.count, 2990);
    EXPECT_EQ(ui->Sequence(), (Calls{"prompt:0", "beep:0"}));
    EXPECT_EQ(undoSnapshot.state, 2989) << "the click's snapshot survives";
    ASSERT_EQ(ApplyUndo(), 1);
    EXPECT_EQ(workingFrame.count, 2989);
}
