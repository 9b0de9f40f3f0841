// The main window procedure hands each message to a small handler.
#include "app/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/command_dispatch_win32.h"
#include "app/dropped_files_win32.h"
#include "app/exit_guard_win32.h"
#include "app/shell_handles_win32.h"
#include "app/status_bar_win32.h"
#include "resources/resource_ids.h"

enum { STATUS_ALLOWANCE = 25 };  // room left for the status bar until the first WM_SIZE

static LRESULT OnCreate(HWND window, const CREATESTRUCTW* create) {
    shellHandles.main = window;
    DragAcceptFiles(window, TRUE);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    shellHandles.statusBar = CreateStatusBar(window, IDC_STATUS_BAR);
    shellHandles.canvas = CreateWindowExA(WS_EX_CLIENTEDGE, "zel_draw", "",
                                          WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0,
                                          create->cx, create->cy - STATUS_ALLOWANCE, window,
                                          (HMENU)(INT_PTR)IDC_CANVAS, create->hInstance, nullptr);
    if (shellHandles.canvas) return 0;
    shellHandles.main = nullptr;
    return -1;
}

static LRESULT OnSize(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!shellHandles.statusBar || !shellHandles.canvas) return 0;
    SendMessageA(shellHandles.statusBar, WM_SIZE, wParam, lParam);
    RECT bar;
    GetClientRect(shellHandles.statusBar, &bar);
    (void)window;
    MoveWindow(shellHandles.canvas, 0, 0, LOWORD(lParam) + 1, HIWORD(lParam) - bar.bottom, TRUE);
    return 0;
}

static LRESULT OnClose(HWND window) {
    if (ConfirmLeaving(window)) DestroyWindow(window);
    return 0;
}

static LRESULT OnDestroy() {
    shellHandles.main = nullptr;
    shellHandles.statusBar = nullptr;
    shellHandles.canvas = nullptr;
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
