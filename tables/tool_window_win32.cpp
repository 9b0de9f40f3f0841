// The tables' tool windows: opening, closing and keeping them, and the
// window procedure both share.
#include "tables/tool_window_win32.h"

#include "document/command_ids.h"
#include "tables/modal_dialog_win32.h"

static POINT OpeningPlace(HWND mainWindow) {
    POINT origin = {0, 0};
    ClientToScreen(mainWindow, &origin);
    return origin;
}

// The kept window of a kind when there is one, placed at the main window's
// client area's top left with the kind's size; otherwise a new one created
// there, owned by the main window. Either way it is hidden: shown once its
// rows are set, it is drawn once. *kept is null afterwards.
static HWND OpenToolWindow(HWND mainWindow, const ToolWindowKind& kind, HWND* kept) {
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

static void Forget(ToolTable* table) {
    *table->window = nullptr;
    *table->list = nullptr;
}

// Closing hides the window and keeps it: nothing refreshes it meanwhile.
static void CloseToolTable(ToolTable* table) {
    HWND window = *table->window;
    Forget(table);
    ShowWindow(window, SW_HIDE);
    table->kept = window;
}

void ToggleToolTable(ToolTable* table, HWND mainWindow) {
    if (*table->window) {
        CloseToolTable(table);
        return;
    }
    HWND window = OpenToolWindow(mainWindow, table->kind, &table->kept);
    if (!window) {
        Forget(table);
        return;
    }
    *table->window = window;
    HWND list = GetWindow(window, GW_CHILD);
    *table->list = list;
    if (list) ResetListColumns(list, table->columns, table->columnCount);
    table->fillRows();
    if (list) LayOutListOffScreen(list);
    ShowWindow(window, SW_SHOW);
}

static LRESULT OnCreate(ToolTable* table, HWND window) {
    *table->window = window;
    *table->list = CreateReportList(window);
    if (!*table->list) return -1;
    AddListColumns(*table->list, table->columns, table->columnCount);
    return 0;
}

static void Command(ToolTable* table, int id) {
    if (!ModalDialogOpen()) table->command(id);
}

static void OnListKey(ToolTable* table, WORD key) {
    if (key == VK_RETURN) Command(table, CMD_TABLE_EDIT);
    if (key == VK_INSERT) Command(table, CMD_TABLE_INSERT);
    if (key == VK_DELETE) Command(table, CMD_TABLE_DELETE);
}

static LRESULT OnNotify(ToolTable* table, const NMHDR* header) {
    LRESULT answer = 0;
    if (AnswerRowRequest(header, table->cellText, &answer)) return answer;
    switch (header->code) {
        case LVN_KEYDOWN:
            OnListKey(table, ((const NMLVKEYDOWN*)header)->wVKey);
            break;
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED:
            table->rowsChanged(header);
            break;
        case NM_RCLICK:
            if (table->rightClicked) table->rightClicked();
            TrackPopupFromResource(*table->window, table->popupMenuId);
            break;
        case NM_DBLCLK:
            Command(table, CMD_TABLE_EDIT);
            break;
        default:
            break;
    }
    return 0;
}

LRESULT ToolTableProc(ToolTable* table, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(table, window);
        case WM_SIZE:
            // A kept window is sized while its table is still closed.
            if (HWND list = GetWindow(window, GW_CHILD))
                MoveWindow(list, 0, 0, LOWORD(lParam) + 1, HIWORD(lParam) + 1, TRUE);
            return 0;
        case WM_SETFOCUS:
            if (*table->list) SetFocus(*table->list);
            return 0;
        case WM_CLOSE:
            if (window == *table->window) CloseToolTable(table);
            return 0;
        case WM_DESTROY:
            if (window == table->kept)
                table->kept = nullptr;
            else
                Forget(table);
            break;
        case WM_NOTIFY:
            return OnNotify(table, (const NMHDR*)lParam);
        case WM_COMMAND:
            Command(table, LOWORD(wParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
