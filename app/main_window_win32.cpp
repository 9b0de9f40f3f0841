// The main window procedure hands each message to a small handler.
#include "app/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/command_dispatch_win32.h"
#include "app/dropped_files_win32.h"
#include "app/exit_guard_win32.h"
#include "app/status_bar_win32.h"
#include "resources/resource_ids.h"

HWND mainWindow = nullptr;
HWND statusBarWindow = nullptr;
HWND canvasWindow = nullptr;

enum { STATUS_ALLOWANCE = 25 };  // room left for the status bar until the first WM_SIZE

static LRESULT OnCreate(HWND window, const CREATESTRUCTW* create) {
    mainWindow = window;
    DragAcceptFiles(window, TRUE);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    statusBarWindow = CreateStatusBar(window, IDC_STATUS_BAR);
    canvasWindow = CreateWindowExA(WS_EX_CLIENTEDGE, "zel_draw", "",
                                   WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0,
                                   create->cx, create->cy - STATUS_ALLOWANCE, window,
                                   (HMENU)(INT_PTR)IDC_CANVAS, create->hInstance, nullptr);
    if (canvasWindow) return 0;
    mainWindow = nullptr;
    return -1;
}

static LRESULT OnSize(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!statusBarWindow || !canvasWindow) return 0;
    SendMessageA(statusBarWindow, WM_SIZE, wParam, lParam);
    RECT bar;
    GetClientRect(statusBarWindow, &bar);
    (void)window;
    MoveWindow(canvasWindow, 0, 0, LOWORD(lParam) + 1, HIWORD(lParam) - bar.bottom, TRUE);
    return 0;
}

static LRESULT OnClose(HWND window) {
    if (ConfirmLeaving(window)) DestroyWindow(window);
    return 0;
}

static LRESULT OnDestroy() {
    mainWindow = nullptr;
    statusBarWindow = nullptr;
    canvasWindow = nullptr;
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window, (const CREATESTRUCTW*)lParam);
        case WM_SIZE:
            return OnSize(window, wParam, lParam);
        case WM_COMMAND:
            DispatchCommand(window, LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            return OnClose(window);
        case WM_QUERYENDSESSION:
            return ConfirmLeaving(window) ? TRUE : FALSE;
        case WM_DROPFILES:
            HandleDroppedFiles(window, (HDROP)wParam);
            return 0;
        case WM_DESTROY:
            return OnDestroy();
        default:
            // A Unicode window (its class is registered so), for the title.
            return DefWindowProcW(window, message, wParam, lParam);
    }
}
