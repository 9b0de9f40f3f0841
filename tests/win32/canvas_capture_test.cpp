// Gestures on the real program's canvas driven by real mouse input: a
// gesture holds the mouse until its release wherever that happens, loses it
// cleanly to another window, and a refused drag or interpolation leaves the
// last edit undoable.
#include <windows.h>

#include "app/shell_handles_win32.h"
#include "app/ui_port_win32.h"
#include "canvas/gesture.h"
#include "canvas/view_transform.h"
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "resources/resource_ids.h"
#include "tests/win32/harness_win32.h"

namespace {

const COLORREF GREEN = 0x00FF00, BLACK = 0;

class CanvasCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        // Above any window an earlier test left on the screen, so that the
        // pointer is over the canvas where the test puts it.
        SetWindowPos(ProgramWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        PumpProgramMessages();
        RECT client;
        GetClientRect(CanvasWindow(), &client);
        width = client.right;
        centre = {-viewState.originX, -viewState.originY};
    }
    void TearDown() override {
        RealKey(VK_CONTROL, false);
        ResetProgramState();
    }
    // A plain click with the real mouse at a canvas client position.
    void Click(int x, int y, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
        POINT at = CanvasToScreen(x, y);
        RealMouse(at.x, at.y, down);
        RealMouse(at.x, at.y, up);
    }
    void CtrlPress(int x, int y) {
        RealKey(VK_CONTROL, true);
        POINT at = CanvasToScreen(x, y);
        ASSERT_EQ(WindowFromPoint(at), CanvasWindow());
        RealMouse(at.x, at.y, MOUSEEVENTF_LEFTDOWN);
    }
    void MoveTo(int x, int y, DWORD buttons = 0) {
        POINT at = CanvasToScreen(x, y);
        RealMouse(at.x, at.y, buttons);
    }
    static COLORREF Pixel(int x, int y) {
        PumpProgramMessages();
        HDC dc = GetDC(CanvasWindow());
        COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(CanvasWindow(), dc);
        return colour;
    }
    int width = 0;
    POINT centre = {};
};

}  // namespace

TEST_F(CanvasCaptureTest, DragReleasedAboveTheCanvasEndsThereAndTheNextClickOnlyAppends) {
    POINT c = centre;
    Click(c.x, c.y);
    ASSERT_EQ(workingFrame.count, 1);
    ASSERT_EQ(workingFrame.points[0].x, 0);

    CtrlPress(c.x, c.y);
    EXPECT_EQ(GetCapture(), CanvasWindow()) << "the drag holds the mouse";
    MoveTo(c.x + 20, c.y + 10);
    // Over the main window's menu bar, 20 pixels above the canvas.
    POINT above = CanvasToScreen(c.x + 30, -20);
    EXPECT_NE(WindowFromPoint(above), CanvasWindow());
    MoveTo(c.x + 30, -20);
    MoveTo(c.x + 30, -20, MOUSEEVENTF_LEFTUP);
    RealKey(VK_CONTROL, false);
    EXPECT_EQ(gesture.gestureFlags, 0) << "the release outside ended the drag";
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(workingFrame.points[0].x, 30 * 64);
    EXPECT_EQ(workingFrame.points[0].y, (-20 - c.y) * 64)
        << "a position above the canvas is negative";
    EXPECT_TRUE(MenuItemGrayed(CMD_UNDO) == false);
    EXPECT_NE(Pixel(c.x, c.y - 2), GREEN) << "the point left its old place";

    Click(c.x + 50, c.y);
    ASSERT_EQ(workingFrame.count, 2);
    EXPECT_EQ(workingFrame.points[0].x, 30 * 64) << "a plain click moves nothing";
    EXPECT_EQ(workingFrame.points[1].x, 50 * 64);
    EXPECT_EQ(PaneText(0), " 2 points,  15000.0fps/30000pps");
    EXPECT_EQ(Pixel(c.x + 50, c.y - 2), GREEN);
}

TEST_F(CanvasCaptureTest, LosingTheMouseCancelsTheGesture) {
    POINT c = centre;
    Click(c.x, c.y);
    CtrlPress(c.x, c.y);
    MoveTo(c.x + 40, c.y);
    ASSERT_EQ(gesture.gestureFlags, GESTURE_DRAG | GESTURE_MOVED);
    SetCapture(ProgramWindow());  // another window takes the mouse
    PumpProgramMessages();
    EXPECT_EQ(gesture.gestureFlags, 0);
    ReleaseCapture();
    MoveTo(c.x + 40, c.y, MOUSEEVENTF_LEFTUP);
    RealKey(VK_CONTROL, false);
    EXPECT_EQ(workingFrame.points[0].x, 0) << "a lost drag moves nothing";
    EXPECT_EQ(Pixel(c.x + 41, c.y + 1), BLACK) << "no feedback left behind";

    // A Ctrl+Shift band loses the mouse to the interpolation prompt the
    // middle button opens.
    RealKey(VK_SHIFT, true);
    CtrlPress(c.x - 10, c.y - 10);
    MoveTo(c.x + 10, c.y + 10);
    ASSERT_EQ(gesture.gestureFlags, GESTURE_BAND | GESTURE_MOVED);
    RealKey(VK_SHIFT, false);
    RealKey(VK_CONTROL, false);
    DialogAnswer* prompt = AnswerDialog("Interpolation", ClickButton(IDCANCEL));
    MoveTo(c.x + 10, c.y + 10, MOUSEEVENTF_MIDDLEDOWN);
    MoveTo(c.x + 10, c.y + 10, MOUSEEVENTF_MIDDLEUP);
    EXPECT_TRUE(prompt->seen);
    EXPECT_EQ(gesture.gestureFlags, 0);
    MoveTo(c.x + 10, c.y + 10, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(workingFrame.points[0].flags & POINT_SELECTED, 0) << "the lost band selects nothing";
    Click(c.x + 60, c.y);
    EXPECT_EQ(workingFrame.count, 2);
    EXPECT_EQ(workingFrame.points[0].x, 0);
    ClearDialogAnswers();
}

TEST_F(CanvasCaptureTest, RefusedDragKeepsTheClickUndoable) {
    // Scrolled to the right end: the last columns lie beyond frame x 32767.
    for (int i = 0; i < 4; ++i) SendMessageA(CanvasWindow(), WM_HSCROLL, SB_PAGEDOWN, 0);
    PumpProgramMessages();
    int x = width - 20;
    int fx, fy;
    ClientToFrame(x, centre.y, &fx, &fy);
    ClientToFrame(width - 5, centre.y, &fx, &fy);
    ASSERT_GT(fx, FRAME_COORD_MAX) << "the view must reach past the frame's edge";

    Click(x, centre.y);
    ASSERT_EQ(workingFrame.count, 1);
    EXPECT_EQ(Pixel(x, centre.y - 2), GREEN);
    int beeps = BeepCount();
    CtrlPress(x, centre.y);
    MoveTo(width - 5, centre.y);
    MoveTo(width - 5, centre.y, MOUSEEVENTF_LEFTUP);
    RealKey(VK_CONTROL, false);
    EXPECT_EQ(BeepCount(), beeps + 1) << "the drag beyond 32767 is refused";
    EXPECT_FALSE(MenuItemGrayed(CMD_UNDO));

    PressKey('Z', true);
    EXPECT_EQ(workingFrame.count, 0) << "Undo takes back the click, not the refused drag";
    EXPECT_EQ(PaneText(0), "No point");
    EXPECT_EQ(Pixel(x, centre.y - 2), BLACK);
}

TEST_F(CanvasCaptureTest, RefusedInterpolationKeepsTheClickUndoable) {
    for (int i = 0; i < MAX_POINTS - 11; ++i) workingFrame.points[i] = {POINT_VISIBLE, 0, 0};
    workingFrame.count = MAX_POINTS - 11;
    Click(centre.x + 40, centre.y);
    ASSERT_EQ(workingFrame.count, 2990);
    int beeps = BeepCount();
    DialogAnswer* prompt =
        AnswerDialog("Interpolation", ClickButton(IDOK), IDC_PROMPT_NUMBER_FIELD, "10");
    Click(centre.x + 80, centre.y, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    EXPECT_TRUE(prompt->seen);
    EXPECT_EQ(BeepCount(), beeps + 1) << "2990 + 10 + 1 points do not fit";
    EXPECT_EQ(workingFrame.count, 2990);

    PressKey('Z', true);
    EXPECT_EQ(workingFrame.count, 2989) << "Undo takes back the click";
    EXPECT_EQ(PaneText(0), " 2989 points,  10.0fps/30000pps");
    EXPECT_NE(Pixel(centre.x + 40, centre.y - 2), GREEN);
    ClearDialogAnswers();
}
