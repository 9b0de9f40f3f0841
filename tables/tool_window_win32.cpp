// Opening, closing and keeping the tables' tool windows.
#include "tables/tool_window_win32.h"

static POINT OpeningPlace(HWND mainWindow) {
    POINT origin = {0, 0};
    ClientToScreen(mainWindow, &origin);
    return origin;
}

HWND OpenToolWindow(HWND mainWindow, const ToolWindowKind& kind, HWND* kept) {
    POINT at = OpeningPlace(mainWindow);
    HWND window = *kept;
    *kept = nullptr;
    if (window && IsWindow(window)) {
        RECT now;
        GetWindowRect(window, &now);
        if (now.left != at.x || now.top != at.y || now.right - now.left != kind.width ||
            now.bottom - now.top != kind.height)
            SetWindowPos(window, nullptr, at.x, at.y, kind.width, kind.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        return window;
    }
    return CreateWindowExA(WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW, kind.className, kind.title,
                           WS_SYSMENU | WS_THICKFRAME, at.x, at.y, kind.width, kind.height,
                           mainWindow, nullptr,
                           (HINSTANCE)GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE), nullptr);
}

void CloseToolWindow(HWND window, HWND* kept) {
    ShowWindow(window, SW_HIDE);
    *kept = window;
}
