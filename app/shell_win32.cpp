// Start-up in its fixed order, and the message loop that offers every
// message to the accelerator table first, so the keys act as commands even
// while a tool window has the focus.
#include "app/shell_win32.h"

#include <commctrl.h>

#include "app/main_window_win32.h"
#include "app/shell_handles_win32.h"
#include "app/ui_port_win32.h"
#include "canvas/canvas_window_win32.h"
#include "document/ui_port.h"
#include "formats/utf16_text.h"
#include "resources/resource_ids.h"
#include "tables/frame_table_win32.h"
#include "tables/vector_table_win32.h"

struct WindowClassEntry {
    const char* name;
    WNDPROC procedure;
    LPCSTR cursor;
    HBRUSH background;
    int menu;      // 0: none
    bool unicode;  // its texts (the main window's title) in UTF-16
};

static bool RegisterShellClass(const WindowClassEntry& entry) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = entry.procedure;
    windowClass.hInstance = shellHandles.instance;
    windowClass.hIcon = LoadIconA(shellHandles.instance, MAKEINTRESOURCEA(IDI_QUILLON));
    windowClass.hCursor = LoadCursorA(nullptr, entry.cursor);
    windowClass.hbrBackground = entry.background;
    windowClass.lpszMenuName = entry.menu ? MAKEINTRESOURCEA(entry.menu) : nullptr;
    windowClass.lpszClassName = entry.name;
    if (!entry.unicode) return RegisterClassA(&windowClass) != 0;
    // A title in any script passes through an ANSI window's procedure
    // only as far as the code page reaches.
    wchar_t name[32];
    if (WidenText(entry.name, name, 32) < 0) return false;
    WNDCLASSW wide = {};
    wide.style = windowClass.style;
    wide.lpfnWndProc = windowClass.lpfnWndProc;
    wide.hInstance = windowClass.hInstance;
    wide.hIcon = windowClass.hIcon;
    wide.hCursor = windowClass.hCursor;
    wide.hbrBackground = windowClass.hbrBackground;
    wide.lpszMenuName = entry.menu ? MAKEINTRESOURCEW(entry.menu) : nullptr;
    wide.lpszClassName = name;
    return RegisterClassW(&wide) != 0;
}

static bool RegisterShellClasses() {
    HBRUSH menuColour = (HBRUSH)(INT_PTR)(COLOR_MENU + 1);
    const WindowClassEntry classes[] = {
        {"zel_main", MainWindowProc, IDC_ARROW, menuColour, IDR_MAIN_MENU, true},
        {"zel_vect", VectorTableProc, IDC_ARROW, menuColour, 0, false},
        {"zel_frame", FrameTableProc, IDC_ARROW, menuColour, 0, false},
        {"zel_draw", CanvasWindowProc, IDC_CROSS, (HBRUSH)GetStockObject(BLACK_BRUSH), 0, false},
    };
    for (const WindowClassEntry& entry : classes) {
        if (!RegisterShellClass(entry)) return false;
    }
    return true;
}

HWND StartShell(HINSTANCE instance, int showCommand) {
    shellHandles.instance = instance;
    InitCommonControls();
    InstallWin32UiPort();
    if (!RegisterShellClasses()) return nullptr;
    HWND created = CreateWindowExA(0, "zel_main", "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   nullptr, nullptr, instance, nullptr);
    if (!created) return nullptr;
    shellHandles.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    if (!shellHandles.accelerators) {
        DestroyWindow(created);
        return nullptr;
    }
    ShowWindow(shellHandles.main, showCommand);
    UpdateWindow(shellHandles.main);
    RefreshStatus(STATUS_TITLE | STATUS_PANES);
    return shellHandles.main;
}

void ProcessMessage(MSG* message) {
    if (shellHandles.main &&
        TranslateAcceleratorA(shellHandles.main, shellHandles.accelerators, message))
        return;
    TranslateMessage(message);
    DispatchMessageA(message);
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) ProcessMessage(&message);
    return (int)message.wParam;
}
