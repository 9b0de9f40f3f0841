// The Vector Table and Frame Table windows driven through the real program:
// opened by their keys, rows read back from the list views, selection and
// edits through list notifications and the Edit Vector and name prompts.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/shell_handles_win32.h"
#include "canvas/view_transform.h"
#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "document/undo.h"
#include "resources/resource_ids.h"
#include "tables/frame_table_win32.h"
#include "tables/vector_table_win32.h"
#include "tests/win32/harness_win32.h"

namespace {

// A click on a row with real mouse messages, Shift or Ctrl held as given.
void ClickRow(HWND list, int row, WPARAM keys = 0) {
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&bounds);
    LPARAM at = MAKELPARAM(40, (bounds.top + bounds.bottom) / 2);
    BYTE saved[256], held[256];
    GetKeyboardState(saved);
    std::memcpy(held, saved, sizeof held);
    held[VK_SHIFT] = held[VK_LSHIFT] = (keys & MK_SHIFT) ? 0x80 : 0;
    held[VK_CONTROL] = held[VK_LCONTROL] = (keys & MK_CONTROL) ? 0x80 : 0;
    SetKeyboardState(held);
    PostMessageA(list, WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, keys, at);
    PumpProgramMessages();
    SetKeyboardState(saved);
}

// Rows from..to (inclusive) selected, and no other.
::testing::AssertionResult RowsSelected(HWND list, int from, int to) {
    for (int row = 0; row < Rows(list); ++row) {
        bool selected = SendMessageA(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED;
        if (selected != (row >= from && row <= to))
            return ::testing::AssertionFailure()
                   << "row " << row << (selected ? " " : " not ") << "selected";
    }
    return ::testing::AssertionSuccess();
}

// Points from..to (inclusive) selected, and no other.
::testing::AssertionResult PointsSelected(int from, int to) {
    for (int i = 0; i < workingFrame.count; ++i) {
        bool selected = workingFrame.points[i].flags & POINT_SELECTED;
        if (selected != (i >= from && i <= to))
            return ::testing::AssertionFailure()
                   << "point " << i << (selected ? " " : " not ") << "selected";
    }
    return ::testing::AssertionSuccess();
}

int FocusedRow(HWND list) {
    return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
}

int TopRow(HWND list) {
    return (int)SendMessageA(list, LVM_GETTOPINDEX, 0, 0);
}

int RowsPerPage(HWND list) {
    return (int)SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0);
}

void GivePoints(int n) {
    workingFrame.count = n;
    for (int i = 0; i < n; ++i)
        workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(i * 3), (int16_t)(-i)};
}

// Two frames of n points each, the first one current.
void TwoFramesOf(int n) {
    MakeFrames({"A", "B"}, 2);
    for (int f = 0; f < 2; ++f) {
        frameStore.pointCounts[f] = n;
        for (int i = 0; i < n; ++i) frameStore.frames[f][i] = {POINT_VISIBLE, (int16_t)i, 0};
    }
    LoadFrame(0);
}

// Counts the messages of one kind a window procedure receives, while alive.
struct MessageCounter {
    static MessageCounter* active;
    HWND window;
    UINT message;
    UINT notifyCode;  // for WM_NOTIFY: the code counted (0: any)
    WNDPROC original;
    int count = 0;
    MessageCounter(HWND w, UINT m, UINT code = 0) : window(w), message(m), notifyCode(code) {
        active = this;
        original = (WNDPROC)SetWindowLongPtrA(w, GWLP_WNDPROC, (LONG_PTR)Proc);
    }
    ~MessageCounter() {
        if (IsWindow(window)) SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)original);
        active = nullptr;
    }
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
        MessageCounter* c = active;
        if (m == c->message &&
            (m != WM_NOTIFY || !c->notifyCode || ((NMHDR*)lParam)->code == c->notifyCode))
            ++c->count;
        return CallWindowProcA(c->original, w, m, wParam, lParam);
    }
};
MessageCounter* MessageCounter::active = nullptr;

// The pixels of a window and its frame as its top-level window holds them
// (covered or not by other windows).
std::vector<COLORREF> WindowPixels(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<COLORREF> pixels;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        GdiFlush();
        pixels.assign((COLORREF*)bits, (COLORREF*)bits + width * height);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

// A list shows what it shows when drawn afresh: its rows and its frame with
// the scroll bars. The header is left out unless asked for: when a scroll bar
// comes or goes, Wine leaves the old right edge of the header's last part
// standing.
::testing::AssertionResult ShowsWhatAFreshPaintShows(HWND list, bool withHeader = false) {
    PumpProgramMessages();
    std::vector<COLORREF> shown = WindowPixels(list);
    RedrawWindow(list, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::vector<COLORREF> fresh = WindowPixels(list);
    if (shown.empty() || shown.size() != fresh.size())
        return ::testing::AssertionFailure() << "no pixels read";
    RECT rect, header;
    GetWindowRect(list, &rect);
    GetWindowRect((HWND)SendMessageA(list, LVM_GETHEADER, 0, 0), &header);
    OffsetRect(&header, -rect.left, -rect.top);
    if (withHeader) SetRectEmpty(&header);
    int width = rect.right - rect.left, differing = 0, first = -1;
    for (size_t i = 0; i < shown.size(); ++i) {
        POINT at = {(int)i % width, (int)i / width};
        if (shown[i] == fresh[i] || PtInRect(&header, at)) continue;
        if (first < 0) first = (int)i;
        ++differing;
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ, the first at ("
                                         << first % width << ", " << first / width << ")";
}

class TableWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};

}  // namespace

TEST_F(TableWindowsTest, VectorTableMirrorsTheWorkingFrame) {
    workingFrame.count = 2;
    workingFrame.points[0] = {POINT_VISIBLE, 100, -250};
    workingFrame.points[1] = {0, -7, 3};
    PressKey('T', true);
    ASSERT_NE(vectorList, nullptr);
    char title[32] = "";
    GetWindowTextA(vectorTableWindow, title, sizeof title);
    EXPECT_STREQ(title, "Vector Table");
    ASSERT_EQ(Rows(vectorList), 2);
    EXPECT_EQ(Cell(vectorList, 0, 0), "1");
    EXPECT_EQ(Cell(vectorList, 0, 1), "1");
    EXPECT_EQ(Cell(vectorList, 0, 2), "100");
    EXPECT_EQ(Cell(vectorList, 0, 3), "250") << "Y is shown growing upward";
    EXPECT_EQ(Cell(vectorList, 1, 1), "0");
    EXPECT_EQ(Cell(vectorList, 1, 3), "-3");
    PressKey('T', true);
    EXPECT_EQ(vectorTableWindow, nullptr);
    EXPECT_EQ(vectorList, nullptr);
}

TEST_F(TableWindowsTest, SelectingARowSelectsThePoint) {
    workingFrame.count = 3;
    for (int i = 0; i < 3; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)i, 0};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SetRowState(vectorList, 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE | POINT_SELECTED);
    SetRowState(vectorList, 1, 0, LVIS_SELECTED);
    EXPECT_EQ(workingFrame.points[1].flags, POINT_VISIBLE);
}

TEST_F(TableWindowsTest, InsertAndDeleteKeysInTheList) {
    workingFrame.count = 5;
    for (int i = 0; i < 5; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(i + 1), 0};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SetFocus(vectorList);
    SetRowState(vectorList, 1, LVIS_FOCUSED, LVIS_FOCUSED);
    PressKey(VK_INSERT);
    ASSERT_EQ(workingFrame.count, 6);
    EXPECT_EQ(workingFrame.points[2].x, 2);
    EXPECT_EQ(Rows(vectorList), 6);
    EXPECT_EQ(PaneText(0).substr(0, 9), " 6 points");
    EXPECT_NE(SendMessageA(vectorList, LVM_GETITEMSTATE, 1, LVIS_FOCUSED) & LVIS_FOCUSED, 0u);

    SetRowState(vectorList, 0, LVIS_SELECTED, LVIS_SELECTED);
    SetRowState(vectorList, 3, LVIS_SELECTED, LVIS_SELECTED);
    PressKey(VK_DELETE);
    ASSERT_EQ(workingFrame.count, 4);
    EXPECT_EQ(workingFrame.points[0].x, 2);
    EXPECT_EQ(workingFrame.points[2].x, 4);
    EXPECT_EQ(Cell(vectorList, 3, 0), "4");
    EXPECT_FALSE(MenuItemGrayed(CMD_UNDO));
    PressKey('Z', true);
    EXPECT_EQ(workingFrame.count, 6);
}

TEST_F(TableWindowsTest, EditVectorDialogWritesTheFocusedAndSelectedPoints) {
    workingFrame.count = 3;
    for (int i = 0; i < 3; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)i, (int16_t)-i};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SetFocus(vectorList);
    SetRowState(vectorList, 0, LVIS_SELECTED, LVIS_SELECTED);
    SetRowState(vectorList, 1, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    DialogAnswer* answer = AnswerDialog("Edit Vector", CustomAction([](HWND dialog) {
                                            SetDlgItemTextA(dialog, IDC_EDIT_VECTOR_V, "2");
                                            SetDlgItemTextA(dialog, IDC_EDIT_VECTOR_X, "40000");
                                            SetDlgItemTextA(dialog, IDC_EDIT_VECTOR_Y, "20");
                                            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
                                        }));
    PressKey(VK_RETURN);
    ASSERT_TRUE(answer->seen);
    EXPECT_EQ(answer->FieldText(IDC_EDIT_VECTOR_ROW), "2");
    EXPECT_EQ(answer->FieldText(IDC_EDIT_VECTOR_X), "1");
    EXPECT_EQ(answer->FieldText(IDC_EDIT_VECTOR_Y), "1");
    EXPECT_EQ(workingFrame.points[1].flags & POINT_VISIBLE, 0);
    EXPECT_EQ(workingFrame.points[0].flags & POINT_VISIBLE, POINT_VISIBLE);
    EXPECT_EQ(workingFrame.points[0].x, -25536);
    EXPECT_EQ(workingFrame.points[1].y, -20);
    EXPECT_EQ(workingFrame.points[2].x, 2);
    EXPECT_EQ(Cell(vectorList, 0, 2), "-25536");
    EXPECT_EQ(Cell(vectorList, 1, 1), "0");

    SetDocumentModified(false);
    AnswerDialog("Edit Vector", ClickButton(IDCANCEL));
    PressKey(VK_RETURN);
    EXPECT_TRUE(MenuItemGrayed(CMD_SAVE_FRAMES)) << "a cancelled edit changes nothing";
}

TEST_F(TableWindowsTest, FrameTableListsFramesAndPicksThem) {
    MakeFrames({"Alpha", "Beta", "Gamma"}, 2);
    PressKey('F', true);
    ASSERT_NE(frameList, nullptr);
    ASSERT_EQ(Rows(frameList), 3);
    EXPECT_EQ(Cell(frameList, 1, 0), "2");
    EXPECT_EQ(Cell(frameList, 1, 1), "Beta            ") << "all 16 characters";
    SetRowState(frameList, 2, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    EXPECT_EQ(frameStore.currentFrame, 2);
    EXPECT_EQ(PaneText(1), "Frame: 3/3");
    EXPECT_EQ(workingFrame.count, 4);

    SetFocus(frameList);
    PressKey(VK_LEFT);
    EXPECT_EQ(frameStore.currentFrame, 1) << "arrow keys step frames even in the list";
    EXPECT_NE(SendMessageA(frameList, LVM_GETITEMSTATE, 1, LVIS_FOCUSED) & LVIS_FOCUSED, 0u);
}

TEST_F(TableWindowsTest, FrameNamePromptRenamesTheFocusedFrame) {
    MakeFrames({"Alpha", "Beta"}, 2);
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    SetFocus(frameList);
    DialogAnswer* answer =
        AnswerDialog("Frame Name", ClickButton(IDOK), IDC_PROMPT_TEXT_FIELD, "Intro");
    PressKey(VK_RETURN);
    ASSERT_TRUE(answer->seen);
    EXPECT_EQ(answer->FieldText(IDC_PROMPT_TEXT_FIELD), "Alpha           ");
    EXPECT_EQ(std::string(frameStore.frameNames[0].bytes, 16), "Intro           ");
    EXPECT_EQ(Cell(frameList, 0, 1), "Intro           ");
    EXPECT_FALSE(MenuItemGrayed(CMD_SAVE_FRAMES));
}

TEST_F(TableWindowsTest, InsertAndDeleteFramesFromTheList) {
    MakeFrames({"Alpha", "Beta", "Gamma"}, 2);
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    SetFocus(frameList);
    SetRowState(frameList, 1, LVIS_FOCUSED, LVIS_FOCUSED);
    PressKey(VK_INSERT);
    ASSERT_EQ(frameStore.numFrames, 4);
    EXPECT_EQ(Rows(frameList), 4);
    EXPECT_EQ(Cell(frameList, 2, 1).substr(0, 4), "Beta");
    EXPECT_EQ(frameStore.currentFrame, 1);

    SetRowState(frameList, 0, LVIS_SELECTED, LVIS_SELECTED);
    SetRowState(frameList, 3, LVIS_SELECTED, LVIS_SELECTED);
    int first = -1, last = -1;
    ASSERT_EQ(SelectedFrameRangeWindow(&first, &last), 1);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 3);
    PressKey(VK_DELETE);
    EXPECT_EQ(frameStore.numFrames, 2);
    EXPECT_EQ(Rows(frameList), 2);
    EXPECT_EQ(PaneText(1), "Frame: 2/2");
}

// ---- What the virtual lists must keep as the filled lists did ------------

TEST_F(TableWindowsTest, ShiftAndCtrlClicksSelectPointsAsTheRowsShow) {
    GivePoints(40);
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    ClickRow(vectorList, 3);
    EXPECT_TRUE(PointsSelected(3, 3));
    ClickRow(vectorList, 8, MK_SHIFT);
    EXPECT_TRUE(RowsSelected(vectorList, 3, 8));
    EXPECT_TRUE(PointsSelected(3, 8)) << "a Shift click selects the range";
    EXPECT_EQ(FocusedRow(vectorList), 8);
    ClickRow(vectorList, 5, MK_CONTROL);
    EXPECT_EQ(workingFrame.points[5].flags & POINT_SELECTED, 0) << "a Ctrl click toggles";
    EXPECT_NE(workingFrame.points[4].flags & POINT_SELECTED, 0);
    ClickRow(vectorList, 10, MK_SHIFT);
    EXPECT_TRUE(RowsSelected(vectorList, 5, 10)) << "the range runs from the last plain click";
    EXPECT_TRUE(PointsSelected(5, 10));
    PressKey(VK_DOWN, false, true);
    EXPECT_TRUE(PointsSelected(5, 11)) << "Shift and an arrow key extend the range";
    ClickRow(vectorList, 1);
    EXPECT_TRUE(PointsSelected(1, 1));
}

TEST_F(TableWindowsTest, SelectionOfEveryRowAtOnceReachesEveryPoint) {
    GivePoints(50);
    workingFrame.points[7].flags |= POINT_SELECTED;
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    EXPECT_TRUE(RowsSelected(vectorList, 7, 7)) << "opening shows the selection";
    SetRowState(vectorList, -1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(PointsSelected(0, 49));
    SetRowState(vectorList, -1, 0, LVIS_SELECTED);
    EXPECT_TRUE(PointsSelected(-1, -1));
}

TEST_F(TableWindowsTest, BandSelectionOnTheCanvasSelectsTheRows) {
    workingFrame.count = 30;
    for (int i = 0; i < 30; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(i * 100), 0};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    ClickRow(vectorList, 20);
    PumpProgramMessages();
    // At 1/64 the band to 10 pixels right of the origin holds x = 0 to 640.
    int cx = -viewState.originX, cy = -viewState.originY;
    HWND canvas = CanvasWindow();
    const WPARAM band = MK_LBUTTON | MK_CONTROL | MK_SHIFT;
    SendMessageA(canvas, WM_LBUTTONDOWN, band, MAKELPARAM(cx - 1, cy - 1));
    SendMessageA(canvas, WM_MOUSEMOVE, band, MAKELPARAM(cx + 10, cy + 2));
    SendMessageA(canvas, WM_LBUTTONUP, MK_CONTROL | MK_SHIFT, MAKELPARAM(cx + 10, cy + 2));
    PumpProgramMessages();
    for (int row = 0; row < 30; ++row) {
        bool expected = row <= 6 || row == 20;
        EXPECT_EQ((workingFrame.points[row].flags & POINT_SELECTED) != 0, expected) << row;
        EXPECT_EQ(
            (SendMessageA(vectorList, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0,
            expected)
            << "row " << row;
    }
    EXPECT_EQ(FocusedRow(vectorList), 20) << "the focus stays";
}

TEST_F(TableWindowsTest, ABandOverHundredsOfPointsSelectsAndClearsTheirRows) {
    workingFrame.count = 600;
    for (int i = 0; i < 600; ++i)
        workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(i < 400 ? i : 20000), 0};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SendMessageA(vectorList, LVM_ENSUREVISIBLE, 300, FALSE);
    int top = TopRow(vectorList);
    int cx = -viewState.originX, cy = -viewState.originY;
    HWND canvas = CanvasWindow();
    const WPARAM band = MK_LBUTTON | MK_CONTROL | MK_SHIFT;
    SendMessageA(canvas, WM_LBUTTONDOWN, band, MAKELPARAM(cx - 2, cy - 2));
    SendMessageA(canvas, WM_LBUTTONUP, MK_CONTROL | MK_SHIFT, MAKELPARAM(cx + 8, cy + 2));
    PumpProgramMessages();
    EXPECT_TRUE(PointsSelected(0, 399));
    EXPECT_TRUE(RowsSelected(vectorList, 0, 399));
    EXPECT_EQ(TopRow(vectorList), top);
    SendMessageA(canvas, WM_LBUTTONDOWN, band, MAKELPARAM(2, 2));
    SendMessageA(canvas, WM_LBUTTONUP, MK_CONTROL | MK_SHIFT, MAKELPARAM(3, 3));
    PumpProgramMessages();
    EXPECT_TRUE(PointsSelected(-1, -1));
    EXPECT_TRUE(RowsSelected(vectorList, -1, -1));
    EXPECT_EQ(TopRow(vectorList), top);
}

TEST_F(TableWindowsTest, RebuildsLeaveNoFocusedPointRowAndKeepOrEndTheView) {
    TwoFramesOf(2000);
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    EXPECT_EQ(TopRow(vectorList), 2000 - RowsPerPage(vectorList)) << "opened at the last row";
    EXPECT_EQ(FocusedRow(vectorList), -1);
    SendMessageA(vectorList, LVM_ENSUREVISIBLE, 100, FALSE);
    for (int row = 110; row <= 130; row += 5)
        SetRowState(vectorList, row, LVIS_SELECTED, LVIS_SELECTED);
    SetRowState(vectorList, 120, LVIS_FOCUSED, LVIS_FOCUSED);
    ASSERT_TRUE(workingFrame.points[125].flags & POINT_SELECTED);
    int top = TopRow(vectorList);
    SendCommand(CMD_NEXT_FRAME);
    EXPECT_EQ(TopRow(vectorList), top) << "a frame step keeps the top row";
    EXPECT_EQ(FocusedRow(vectorList), -1) << "and no row keeps the focus";
    EXPECT_TRUE(RowsSelected(vectorList, -1, -1)) << "nor its selection";
    EXPECT_EQ(SendMessageA(vectorList, LVM_GETSELECTIONMARK, 0, 0), -1);

    SetFocus(vectorList);
    SetRowState(vectorList, 1500, LVIS_FOCUSED, LVIS_FOCUSED);
    top = TopRow(vectorList);
    PressKey(VK_INSERT);
    ASSERT_EQ(workingFrame.count, 2001);
    EXPECT_EQ(FocusedRow(vectorList), 1500) << "Insert gives its row the focus again";
    EXPECT_EQ(TopRow(vectorList), top);
    EXPECT_EQ(GetFocus(), vectorList) << "the keyboard focus stays in the list";

    PressKey('B', true);
    EXPECT_EQ(Rows(vectorList), 0);
    PressKey('Z', true);
    EXPECT_EQ(Rows(vectorList), 2001);
    EXPECT_EQ(TopRow(vectorList), 2001 - RowsPerPage(vectorList)) << "Undo shows the last row";
    EXPECT_EQ(FocusedRow(vectorList), -1);
}

TEST_F(TableWindowsTest, TakingRowsOffTheEndHandsTheFocusToTheNewLastRow) {
    workingFrame.count = 10;
    for (int i = 0; i < 10; ++i) workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(i * 1000), 0};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SetRowState(vectorList, 8, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    workingFrame.points[6] = {POINT_VISIBLE, 0, 0};
    PumpProgramMessages();
    // A right click on point 6, at frame (0, 0), removes it and what follows.
    SendMessageA(CanvasWindow(), WM_RBUTTONDOWN, MK_RBUTTON,
                 MAKELPARAM(-viewState.originX, -viewState.originY));
    PumpProgramMessages();
    ASSERT_EQ(workingFrame.count, 6);
    EXPECT_EQ(Rows(vectorList), 6);
    EXPECT_EQ(FocusedRow(vectorList), 5);
    EXPECT_EQ(SendMessageA(vectorList, LVM_GETSELECTIONMARK, 0, 0), 5);
    EXPECT_TRUE(RowsSelected(vectorList, -1, -1));
    EXPECT_EQ(Cell(vectorList, 5, 2), "5000");
}

TEST_F(TableWindowsTest, ScrolledToTheEndTheListShowsTheLastPoints) {
    GivePoints(3000);
    workingFrame.points[2999] = {POINT_VISIBLE | POINT_SELECTED, -32768, -32768};
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SetFocus(vectorList);
    PumpProgramMessages();
    int top = TopRow(vectorList);
    ASSERT_EQ(top + RowsPerPage(vectorList), 3000);
    for (int row = top; row < 2999; ++row) {
        EXPECT_EQ(Cell(vectorList, row, 0), std::to_string(row + 1));
        EXPECT_EQ(Cell(vectorList, row, 2), std::to_string(row * 3));
        EXPECT_EQ(Cell(vectorList, row, 3), std::to_string(row));
    }
    EXPECT_EQ(Cell(vectorList, 2999, 0), "3000");
    EXPECT_EQ(Cell(vectorList, 2999, 2), "-32768");
    EXPECT_EQ(Cell(vectorList, 2999, 3), "32768");

    // On the screen: the selected last row is highlighted at the bottom, with
    // its texts drawn in the highlight text colour.
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    SendMessageA(vectorList, LVM_GETITEMRECT, 2999, (LPARAM)&bounds);
    RECT client;
    GetClientRect(vectorList, &client);
    EXPECT_LE(bounds.bottom, client.bottom);
    EXPECT_GT(bounds.bottom, client.bottom - (bounds.bottom - bounds.top));
    HDC dc = GetDC(vectorList);
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT), text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    int highlighted = 0, written = 0;
    for (int y = bounds.top; y < bounds.bottom; ++y)
        for (int x = 0; x < 160; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            highlighted += c == highlight;
            written += c == text;
        }
    ReleaseDC(vectorList, dc);
    EXPECT_GT(highlighted, 160 * (bounds.bottom - bounds.top) / 2);
    EXPECT_GT(written, 10) << "the row's texts are drawn";
}

TEST_F(TableWindowsTest, ListsAskOnlyForTheRowsTheyShow) {
    TwoFramesOf(3000);
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    int page = RowsPerPage(vectorList) + 2;
    MessageCounter asked(vectorTableWindow, WM_NOTIFY, LVN_GETDISPINFOA);
    SendCommand(CMD_NEXT_FRAME);
    EXPECT_GT(asked.count, 0) << "the new frame's rows are drawn";
    EXPECT_LE(asked.count, 3 * 4 * page) << "a frame step draws a page, not 3000 rows";
}

TEST_F(TableWindowsTest, AFrameStepWithBothTablesOpenPaintsTheCanvasOnce) {
    MakeFrames({"Alpha", "Beta", "Gamma"}, 2);
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    MessageCounter paints(CanvasWindow(), WM_PAINT);
    SendCommand(CMD_NEXT_FRAME);
    EXPECT_EQ(frameStore.currentFrame, 1);
    EXPECT_EQ(paints.count, 1);
    paints.count = 0;
    SendCommand(CMD_PREVIOUS_FRAME);
    EXPECT_EQ(paints.count, 1);
}

TEST_F(TableWindowsTest, FrameTableRangeFocusAndTopRowAsBefore) {
    for (int f = 0; f < 60; ++f) {
        char name[8];
        std::snprintf(name, sizeof name, "F%d", f);
        workingFrame.count = 1;
        workingFrame.points[0] = {POINT_VISIBLE, (int16_t)f, 0};
        StoreFrame(f, true);
        std::memset(frameStore.frameNames[f].bytes, ' ', 16);
        std::memcpy(frameStore.frameNames[f].bytes, name, std::strlen(name));
    }
    frameStore.currentFrame = 30;
    LoadFrame(30);
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    EXPECT_EQ(TopRow(frameList), 30) << "the current frame's row at the top";
    EXPECT_EQ(FocusedRow(frameList), 30);
    EXPECT_TRUE(RowsSelected(frameList, -1, -1));

    ClickRow(frameList, 32);
    ClickRow(frameList, 36, MK_SHIFT);
    EXPECT_TRUE(RowsSelected(frameList, 32, 36));
    EXPECT_EQ(frameStore.currentFrame, 36) << "the clicked row's frame is current";
    int first = -1, last = -1;
    ASSERT_EQ(SelectedFrameRangeWindow(&first, &last), 1);
    EXPECT_EQ(first, 32);
    EXPECT_EQ(last, 36);

    SetFocus(frameList);
    PressKey(VK_DELETE);
    EXPECT_EQ(frameStore.numFrames, 55);
    EXPECT_EQ(Rows(frameList), 55);
    EXPECT_EQ(Cell(frameList, 36, 1).substr(0, 3), "F41");
    EXPECT_EQ(TopRow(frameList), 36) << "the current frame's row at the top again";
    EXPECT_EQ(FocusedRow(frameList), 36);
    EXPECT_TRUE(RowsSelected(frameList, -1, -1));
    EXPECT_EQ(PaneText(1), "Frame: 37/55");

    PressKey(VK_END);
    EXPECT_EQ(frameStore.currentFrame, 54);
    PressKey('I', true);
    EXPECT_EQ(Rows(frameList), 56);
    EXPECT_EQ(TopRow(frameList), 56 - RowsPerPage(frameList)) << "as far as the list scrolls";
    EXPECT_EQ(FocusedRow(frameList), 54);

    // Digits typed in the list go to the first row whose number starts so.
    PressKey('1');
    PressKey('2');
    EXPECT_EQ(FocusedRow(frameList), 11);
    EXPECT_EQ(frameStore.currentFrame, 11);
}

TEST_F(TableWindowsTest, RowRequestsAreAnsweredInEitherCharacterWidth) {
    MakeFrames({"Alpha", "Beta"}, 2);
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    wchar_t text[8] = L"?";
    NMLVDISPINFOW wide = {};
    wide.hdr = {frameList, 0, (UINT)LVN_GETDISPINFOW};
    wide.item.mask = LVIF_TEXT;
    wide.item.iItem = 1;
    wide.item.iSubItem = 1;
    wide.item.pszText = text;
    wide.item.cchTextMax = 8;
    SendMessageA(frameTableWindow, WM_NOTIFY, 0, (LPARAM)&wide);
    EXPECT_EQ(std::wstring(text), L"Beta   ") << "cut to the buffer given";

    NMLVFINDITEMW find = {};
    find.hdr = {frameList, 0, (UINT)LVN_ODFINDITEMW};
    find.iStart = 0;
    find.lvfi.flags = LVFI_PARTIAL | LVFI_WRAP;
    find.lvfi.psz = L"2";
    EXPECT_EQ(SendMessageA(frameTableWindow, WM_NOTIFY, 0, (LPARAM)&find), 1);
    find.lvfi.psz = L"3";
    EXPECT_EQ(SendMessageA(frameTableWindow, WM_NOTIFY, 0, (LPARAM)&find), -1);
}

// Rows, header and scroll bars drawn as one after each change: whatever the
// lists leave on the screen is what they show when drawn afresh.
TEST_F(TableWindowsTest, ListsShowAfterEachCommandWhatAFreshPaintShows) {
    for (int f = 0; f < 60; ++f) {
        workingFrame.count = f == 31 ? 0 : 100;
        for (int i = 0; i < workingFrame.count; ++i)
            workingFrame.points[i] = {POINT_VISIBLE, (int16_t)(f * 10 + i), (int16_t)(-i)};
        StoreFrame(f, true);
    }
    frameStore.currentFrame = 30;
    LoadFrame(30);
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    auto bothShowTheirState = [](const char* step) {
        EXPECT_TRUE(ShowsWhatAFreshPaintShows(vectorList)) << "Vector Table after " << step;
        EXPECT_TRUE(ShowsWhatAFreshPaintShows(frameList)) << "Frame Table after " << step;
    };
    bothShowTheirState("opening");
    SendCommand(CMD_PREVIOUS_FRAME);
    EXPECT_EQ(TopRow(frameList), 29) << "the Frame Table scrolled up a row";
    bothShowTheirState("a step up");
    SendCommand(CMD_NEXT_FRAME);
    SendCommand(CMD_NEXT_FRAME);
    EXPECT_EQ(Rows(vectorList), 0);
    bothShowTheirState("a step to a blank frame (the scroll bar goes)");
    SendCommand(CMD_NEXT_FRAME);
    bothShowTheirState("a step to a full frame (the scroll bar comes back)");
    SendMessageA(ProgramWindow(), WM_COMMAND, MAKEWPARAM(CMD_BLANK_CURRENT_FRAME, 0), 0);
    SendMessageA(ProgramWindow(), WM_COMMAND, MAKEWPARAM(CMD_UNDO, 0), 0);
    bothShowTheirState("Blank Current Frame and Undo with no paint between");
    SendCommand(CMD_INSERT_BLANK_FRAME);
    bothShowTheirState("Insert a Blank Frame");
    SendCommand(CMD_DELETE_CURRENT_FRAME);
    bothShowTheirState("Delete Current Frame");
    for (int row = 40; row < 45; ++row) SetRowState(frameList, row, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageA(frameTableWindow, WM_COMMAND, MAKEWPARAM(CMD_TABLE_DELETE, 0), 0);
    EXPECT_EQ(Rows(frameList), 55);
    bothShowTheirState("deleting selected frames");
    // The Frame Table kept its scroll bar and top row: its header too is as
    // drawn afresh.
    EXPECT_EQ(TopRow(frameList), frameStore.currentFrame);
    EXPECT_TRUE(ShowsWhatAFreshPaintShows(frameList, true));
    for (int i = 0; i < workingFrame.count; i += 2) workingFrame.points[i].flags |= POINT_SELECTED;
    RefreshVectorTable(VT_UPDATE_VALUES);
    bothShowTheirState("a new selection from the canvas");
}

// A table opened again after the user closed it, moved it, widened its
// columns and left rows selected and focused looks and behaves as when first
// opened, and shows what changed while it was closed.
TEST_F(TableWindowsTest, ATableOpenedAgainIsAsWhenFirstOpened) {
    GivePoints(3000);
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    RECT opened;
    GetWindowRect(vectorTableWindow, &opened);
    HWND list = vectorList;
    ClickRow(list, TopRow(list) + 2);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(140, 0));
    SendMessageA(list, LVM_SCROLL, 60, 0);
    SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
    MoveWindow(vectorTableWindow, opened.left + 50, opened.top + 40, 300, 300, TRUE);
    // The close box of the title bar.
    HWND closing = vectorTableWindow;
    SendMessageA(closing, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpProgramMessages();
    EXPECT_EQ(vectorTableWindow, nullptr);
    EXPECT_EQ(vectorList, nullptr);
    EXPECT_FALSE(IsWindowVisible(closing));

    // Closed, the table follows nothing.
    GivePoints(500);
    workingFrame.points[3].flags |= POINT_SELECTED;
    RefreshVectorTable(VT_REBUILD);
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    ASSERT_NE(vectorList, nullptr);
    EXPECT_TRUE(IsWindowVisible(vectorTableWindow));
    RECT again;
    GetWindowRect(vectorTableWindow, &again);
    EXPECT_TRUE(EqualRect(&opened, &again)) << "the place and size of a new table";
    const int widths[] = {36, 22, 55, 55};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(SendMessageA(vectorList, LVM_GETCOLUMNWIDTH, column, 0), widths[column]);
    EXPECT_EQ(GetScrollPos(vectorList, SB_HORZ), 0);
    EXPECT_EQ(Rows(vectorList), 500);
    EXPECT_EQ(TopRow(vectorList) + RowsPerPage(vectorList), 500) << "the last rows in view";
    EXPECT_EQ(FocusedRow(vectorList), -1);
    EXPECT_TRUE(RowsSelected(vectorList, 3, 3));
    EXPECT_EQ(Cell(vectorList, 499, 2), "1497");
    EXPECT_TRUE(ShowsWhatAFreshPaintShows(vectorList));
    ClickRow(vectorList, 497);
    EXPECT_TRUE(PointsSelected(497, 497)) << "rows select points again";

    // The Frame Table, closed by its menu command while a row was focused.
    MakeFrames({"Alpha", "Beta", "Gamma"}, 2);
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    ClickRow(frameList, 2);
    EXPECT_EQ(frameStore.currentFrame, 2);
    SendMessageA(frameList, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(40, 0));
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    EXPECT_EQ(frameTableWindow, nullptr);
    SendCommand(CMD_PREVIOUS_FRAME);
    SendCommand(CMD_TOGGLE_FRAME_TABLE);
    ASSERT_NE(frameList, nullptr);
    EXPECT_EQ(Rows(frameList), 3);
    EXPECT_EQ(FocusedRow(frameList), 1) << "the current frame's row";
    EXPECT_TRUE(RowsSelected(frameList, -1, -1));
    EXPECT_EQ(SendMessageA(frameList, LVM_GETCOLUMNWIDTH, 1, 0), 150);
    EXPECT_EQ(Cell(frameList, 1, 1), "Beta            ");
    EXPECT_TRUE(ShowsWhatAFreshPaintShows(frameList));
    EXPECT_EQ(frameStore.currentFrame, 1) << "opening picks no frame";
}

// Each column header shows its whole text, the narrow "V" too, not an
// ellipsis: a header draws its text inside margins that the narrowest column
// leaves no room for unless they are narrowed.
TEST_F(TableWindowsTest, ColumnHeadersShowTheirWholeTexts) {
    SendCommand(CMD_TOGGLE_VECTOR_TABLE);
    PumpProgramMessages();
    HWND header = (HWND)SendMessageA(vectorList, LVM_GETHEADER, 0, 0);
    RECT item = {};
    ASSERT_TRUE(SendMessageA(header, HDM_GETITEMRECT, 1, (LPARAM)&item));
    HDC dc = GetDC(header);
    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    int inked = 0, lowest = item.top, highest = item.bottom;
    for (int y = item.top; y < item.bottom; ++y)
        for (int x = item.left + 2; x < item.right - 2; ++x)
            if (GetPixel(dc, x, y) == text) {
                ++inked;
                lowest = std::max(lowest, y);
                highest = std::min(highest, y);
            }
    ReleaseDC(header, dc);
    // A "V" runs from the top of a capital to the baseline; dots sit low.
    EXPECT_GE(lowest - highest, 5) << inked << " pixels of text";
}
