// Win32 implementations behind the UI port: status and title, the table
// refreshes, canvas repaint, menu item state, prompts, message boxes, beep,
// and the guard around modal steps.
#include "app/ui_port_win32.h"

#include <windows.h>

#include "app/shell_handles_win32.h"
#include "app/status_bar_win32.h"
#include "app/value_prompt_win32.h"
#include "document/ui_port.h"
#include "tables/frame_table_win32.h"
#include "tables/modal_dialog_win32.h"
#include "tables/vector_table_win32.h"

static int beepCount = 0;

int BeepCount() {
    return beepCount;
}

// A null owner means the main window.
static HWND OwnerWindow(UiWindow owner) {
    return owner ? (HWND)owner : MainWindow();
}

static void RepaintCanvasWindow() {
    HWND canvas = CanvasWindow();
    if (canvas) InvalidateRect(canvas, nullptr, TRUE);
}

static void EnableMenuItemWindow(int commandId, bool enabled) {
    HMENU menu = GetMenu(MainWindow());
    if (menu) EnableMenuItem(menu, commandId, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

static int ValuePromptWindow(UiWindow owner, const ValuePromptRequest* request) {
    return (int)RunValuePrompt(OwnerWindow(owner), request);
}

static void WarningBoxWindow(UiWindow owner, const char* text, const char* caption) {
    MessageBoxA(OwnerWindow(owner), text, caption, MB_ICONWARNING | MB_OK);
}

static int AskYesNoCancelWindow(UiWindow owner, const char* text, const char* caption) {
    return MessageBoxA(OwnerWindow(owner), text, caption, MB_ICONWARNING | MB_YESNOCANCEL);
}

static int BeginModalStepWindow(UiWindow owner) {
    return HoldProgramWindows(OwnerWindow(owner), false);
}

static void BeepWindow() {
    ++beepCount;
    MessageBeep(MB_OK);
}

void InstallWin32UiPort() {
    UiPort port = {};
    port.refreshStatus = RefreshStatusWindow;
    port.refreshVectorTable = RefreshVectorTableWindow;
    port.refreshFrameTable = RefreshFrameTableWindow;
    port.appendVectorRow = AppendVectorRowWindow;
    port.truncateVectorRows = TruncateVectorRowsWindow;
    port.selectedFrameRange = SelectedFrameRangeWindow;
    port.repaintCanvas = RepaintCanvasWindow;
    port.enableMenuItem = EnableMenuItemWindow;
    port.valuePrompt = ValuePromptWindow;
    port.warningBox = WarningBoxWindow;
    port.askYesNoCancel = AskYesNoCancelWindow;
    port.beep = BeepWindow;
    port.beginModalStep = BeginModalStepWindow;
    port.endModalStep = ReleaseProgramWindows;
    uiPort = port;
}
