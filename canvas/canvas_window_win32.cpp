// The canvas window procedure: unpacks each message and hands it to its
// handler (gestures, scrolling, painting); also the zoom commands and the
// cursor readout in the status bar.
#include "canvas/canvas_window_win32.h"

#include <commctrl.h>

#include "canvas/canvas_feedback_win32.h"
#include "canvas/canvas_paint_win32.h"
#include "canvas/gesture.h"
#include "canvas/view_transform.h"
#include "document/ui_port.h"

static_assert(KEY_SHIFT == MK_SHIFT && KEY_CONTROL == MK_CONTROL, "modifier flags");
static_assert(SCROLL_HORIZONTAL == SB_HORZ && SCROLL_VERTICAL == SB_VERT, "bar numbers");
static_assert(SCROLL_THUMB_POSITION == SB_THUMBPOSITION && SCROLL_PAGE_DOWN == SB_PAGEDOWN,
              "scroll actions");

enum { STATUS_BAR_ID = 101, CURSOR_PANE = 3, CANVAS_ID = 1010 };

static HWND canvasWindow = nullptr;

// Client position of a mouse message: both words unsigned.
static int MouseX(LPARAM lParam) {
    return (int)LOWORD(lParam);
}
static int MouseY(LPARAM lParam) {
    return (int)HIWORD(lParam);
}
static int MouseKeys(WPARAM wParam) {
    return (int)(wParam & (MK_SHIFT | MK_CONTROL));
}

static void ShowCursorPosition(HWND window, int x, int y) {
    char text[32];
    FormatCursorPosition(x, y, text, sizeof text);
    HWND statusBar = GetDlgItem(GetParent(window), STATUS_BAR_ID);
    if (statusBar) SendMessageA(statusBar, SB_SETTEXTA, CURSOR_PANE, (LPARAM)text);
}

static LRESULT OnMouseMove(HWND window, LPARAM lParam) {
    GestureMouseMove(MouseX(lParam), MouseY(lParam));
    ShowCursorPosition(window, MouseX(lParam), MouseY(lParam));
    return 0;
}

static LRESULT OnScroll(HWND window, int bar, WPARAM wParam) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(window, bar, &info);
    RECT client;
    GetClientRect(window, &client);
    int size = bar == SB_HORZ ? client.right : client.bottom;
    if (ScrollView(bar, LOWORD(wParam), size, info.nTrackPos, info.nMax))
        InvalidateRect(window, nullptr, TRUE);
    return 0;
}

static LRESULT OnCreate(HWND window) {
    canvasWindow = window;
    InstallCanvasFeedback(window);
    return 0;
}

static LRESULT OnDestroy(HWND window) {
    RemoveCanvasFeedback(window);
    if (canvasWindow == window) canvasWindow = nullptr;
    return 0;
}

LRESULT CALLBACK CanvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            return OnDestroy(window);
        case WM_PAINT:
            return PaintCanvas(window);
        case WM_HSCROLL:
            return OnScroll(window, SB_HORZ, wParam);
        case WM_VSCROLL:
            return OnScroll(window, SB_VERT, wParam);
        case WM_MOUSEMOVE:
            return OnMouseMove(window, lParam);
        case WM_LBUTTONDOWN:
            GestureLeftPress(MouseX(lParam), MouseY(lParam), MouseKeys(wParam));
            return 0;
        case WM_LBUTTONUP:
            GestureLeftRelease(MouseX(lParam), MouseY(lParam));
            return 0;
        case WM_RBUTTONDOWN:
            GestureRightPress(MouseX(lParam), MouseY(lParam), MouseKeys(wParam));
            return 0;
        case WM_MBUTTONDOWN:
            GestureMiddlePress((UiWindow)window, MouseX(lParam), MouseY(lParam), MouseKeys(wParam));
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

static void Zoom(int (*zoom)(int right, int bottom)) {
    if (!canvasWindow) return;
    RECT client;
    GetClientRect(canvasWindow, &client);
    if (zoom(client.right, client.bottom)) RefreshStatus(STATUS_PANES);
}

void ZoomIn() {
    Zoom(ZoomViewIn);
}
void ZoomOut() {
    Zoom(ZoomViewOut);
}
