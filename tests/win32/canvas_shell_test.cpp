// The canvas inside the real program: mouse messages to the shell's canvas,
// the status panes and the beep count they lead to, and the zoom keys.

#include "app/shell_handles_win32.h"
#include "app/ui_port_win32.h"
#include "canvas/view_transform.h"
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "tests/win32/harness_win32.h"

namespace {

// Client position (x, y) as the shell's canvas receives it.
void Mouse(UINT message, int x, int y, WPARAM keys = 0) {
    SendMessageA(CanvasWindow(), message, keys, MAKELPARAM(x, y));
}

// Client pixel of frame point (0, 0) after the first paint recentred it.
POINT Centre() {
    PumpProgramMessages();
    return {-viewState.originX, -viewState.originY};
}

}  // namespace

TEST(CanvasInShell, ClicksUpdateThePanesAndRefusalsBeepOnce) {
    ResetProgramState();
    POINT c = Centre();
    Mouse(WM_LBUTTONDOWN, c.x + 1, c.y - 1, MK_LBUTTON);
    Mouse(WM_LBUTTONDOWN, c.x + 10, c.y - 1, MK_LBUTTON | MK_SHIFT);
    ASSERT_EQ(workingFrame.count, 2);
    EXPECT_EQ(workingFrame.points[0].x, 64);
    EXPECT_EQ(workingFrame.points[0].y, -64);
    EXPECT_EQ(workingFrame.points[1].flags, 0);
    EXPECT_EQ(PaneText(0), " 2 points,  15000.0fps/30000pps");
    EXPECT_FALSE(MenuItemGrayed(CMD_UNDO)) << "the click can be undone";

    int beeps = BeepCount();
    workingFrame.count = MAX_POINTS;
    Mouse(WM_LBUTTONDOWN, c.x, c.y, MK_LBUTTON);
    EXPECT_EQ(BeepCount(), beeps + 1);
    EXPECT_EQ(workingFrame.count, MAX_POINTS);
    Mouse(WM_RBUTTONDOWN, c.x + 300, c.y, MK_RBUTTON);
    EXPECT_EQ(workingFrame.count, MAX_POINTS - 1);
    EXPECT_EQ(BeepCount(), beeps + 1) << "truncation never beeps";
}

TEST(CanvasInShell, CursorReadoutAndZoomKeys) {
    ResetProgramState();
    POINT c = Centre();
    Mouse(WM_MOUSEMOVE, c.x + 1, c.y - 1);
    EXPECT_EQ(PaneText(3), "64, 64");
    EXPECT_EQ(PaneText(2), "Zoom: 1/64");
    PressKey(VK_PRIOR);  // Zoom Out at 1/64: refused
    EXPECT_EQ(viewState.zoomShift, 6);
    PressKey(VK_NEXT);
    EXPECT_EQ(viewState.zoomShift, 5);
    EXPECT_EQ(PaneText(2), "Zoom: 1/32");
    PumpProgramMessages();
    Mouse(WM_MOUSEMOVE, -viewState.originX + 1, -viewState.originY - 1);
    EXPECT_EQ(PaneText(3), "32, 32") << "frame (0, 0) stays under the centre";
}
