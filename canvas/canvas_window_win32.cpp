// The canvas window procedure: unpacks each message and hands it to its
// handler (gestures, scrolling, painting); also the zoom commands and the
// cursor readout in the status bar.
#include "canvas/canvas_window_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include "canvas/canvas_feedback_win32.h"
#include "canvas/canvas_paint_win32.h"
#include "canvas/gesture.h"
#include "canvas/paint_buffer_win32.h"
#include "canvas/view_transform.h"
#include "document/ui_port.h"
#include "resources/resource_ids.h"

static_assert(KEY_SHIFT == MK_SHIFT && KEY_CONTROL == MK_CONTROL, "modifier flags");
static_assert(SCROLL_HORIZONTAL == SB_HORZ && SCROLL_VERTICAL == SB_VERT, "bar numbers");
static_assert(SCROLL_THUMB_POSITION == SB_THUMBPOSITION && SCROLL_PAGE_DOWN == SB_PAGEDOWN,
              "scroll actions");

enum { CURSOR_PANE = 3 };  // panes 0 to 2 belong to the status texts

// Client position of a mouse message, signed: while a gesture holds the
// mouse, positions left of or above the canvas arrive as negative values.
static int MouseX(LPARAM lParam) {
    return GET_X_LPARAM(lParam);
}
static int MouseY(LPARAM lParam) {
    return GET_Y_LPARAM(lParam);
}
static int MouseKeys(WPARAM wParam) {
    return (int)(wParam & (MK_SHIFT | MK_CONTROL));
}

// The status bar is the canvas's sibling in the main window.
static void ShowCursorPosition(HWND window, int x, int y) {
    char text[32];
    FormatCursorPosition(x, y, text, sizeof text);
    HWND statusBar = GetDlgItem(GetParent(window), IDC_STATUS_BAR);
    if (statusBar) SendMessageA(statusBar, SB_SETTEXTA, CURSOR_PANE, (LPARAM)text);
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

// A gesture holds the mouse from its press to its end, so that a release
// anywhere on the screen ends it as a release on the canvas there would.
static void HoldMouseDuringGesture(HWND window) {
    bool active = gesture.gestureFlags != 0;
    if (active && GetCapture() != window) SetCapture(window);
    if (!active && GetCapture() == window) ReleaseCapture();
}

// While a modal step is open the main window is disabled, and with it the
// canvas: a press that reaches it all the same starts nothing.
static bool HeldBack(HWND window, UINT message) {
    bool press =
        message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    return press && !IsWindowEnabled(GetAncestor(window, GA_ROOT));
}

static LRESULT OnMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HeldBack(window, message)) return 0;
    DrawFeedbackOn(window);
    int x = MouseX(lParam), y = MouseY(lParam), keys = MouseKeys(wParam);
    switch (message) {
        case WM_MOUSEMOVE:
            GestureMouseMove(x, y);
            ShowCursorPosition(window, x, y);
            break;
        case WM_LBUTTONDOWN:
            GestureLeftPress(x, y, keys);
            break;
        case WM_LBUTTONUP:
            GestureLeftRelease(x, y);
            break;
        case WM_RBUTTONDOWN:
            GestureRightPress(x, y, keys);
            break;
        case WM_MBUTTONDOWN:
            GestureMiddlePress((UiWindow)window, x, y, keys);
            break;
    }
    HoldMouseDuringGesture(window);
    return 0;
}

// Another window took the mouse (a dialog, a switch to another program): the
// release will never come, so the gesture ends as a right click ends it.
static LRESULT OnCaptureChanged(HWND window, HWND newCapture) {
    if (newCapture != window) CancelGesture();
    return 0;
}

LRESULT CALLBACK CanvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            StopFeedbackOn(window);
            ReleasePaintBuffer();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint fills the background with the scene
        case WM_PAINT:
            return PaintCanvas(window);
        case WM_CAPTURECHANGED:
            return OnCaptureChanged(window, (HWND)lParam);
        case WM_HSCROLL:
            return OnScroll(window, SB_HORZ, wParam);
        case WM_VSCROLL:
            return OnScroll(window, SB_VERT, wParam);
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            return OnMouse(window, message, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

static void Zoom(HWND canvas, int (*zoom)(int right, int bottom)) {
    if (!canvas) return;
    RECT client;
    GetClientRect(canvas, &client);
    if (zoom(client.right, client.bottom)) RefreshStatus(STATUS_PANES);
}

void ZoomIn(HWND canvas) {
    Zoom(canvas, ZoomViewIn);
}
void ZoomOut(HWND canvas) {
    Zoom(canvas, ZoomViewOut);
}
