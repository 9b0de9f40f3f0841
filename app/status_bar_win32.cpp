// Writes the title and status panes 0 to 2; pane 3 belongs to the canvas.
#include "app/status_bar_win32.h"

#include <commctrl.h>

#include <cstring>

#include "app/shell_handles_win32.h"
#include "app/status_text.h"
#include "canvas/view_transform.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "files/document_file.h"
#include "formats/utf16_text.h"

const int StatusPaneEdges[STATUS_PANE_COUNT] = {180, 270, 340, 430};

HWND CreateStatusBar(HWND mainWindow, int childId) {
    HWND bar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, "",
                                   mainWindow, childId);
    if (bar) SendMessageA(bar, SB_SETPARTS, STATUS_PANE_COUNT, (LPARAM)StatusPaneEdges);
    return bar;
}

// A pane that already shows the text is left alone: setting it repaints it.
static void SetPane(int pane, const char* text) {
    HWND bar = StatusBarWindow();
    char shown[STATUS_TEXT_LENGTH] = "";
    LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTHA, pane, 0);
    if (LOWORD(length) < STATUS_TEXT_LENGTH) {
        SendMessageA(bar, SB_GETTEXTA, pane, (LPARAM)shown);
        if (std::strcmp(shown, text) == 0) return;
    }
    SendMessageA(bar, SB_SETTEXTA, pane, (LPARAM)text);
}

void RefreshStatusWindow(int flags) {
    if (flags & STATUS_TITLE) {
        // The file title is UTF-8, in whatever script the dialog gave it.
        char title[TITLE_TEXT_LENGTH];
        wchar_t wideTitle[TITLE_TEXT_LENGTH];
        FormatTitle(DocumentFileTitle, title, sizeof title);
        if (WidenText(title, wideTitle, TITLE_TEXT_LENGTH) >= 0)
            SetWindowTextW(MainWindow(), wideTitle);
    }
    if (!(flags & STATUS_PANES)) return;
    char text[STATUS_TEXT_LENGTH];
    FormatPointPane(workingFrame.count, ScanSpeed, text, sizeof text);
    SetPane(0, text);
    FormatFramePane(frameStore.currentFrame, frameStore.numFrames, text, sizeof text);
    SetPane(1, text);
    FormatZoomPane(viewState.zoomShift, text, sizeof text);
    SetPane(2, text);
}
