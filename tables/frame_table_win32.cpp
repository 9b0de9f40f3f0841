// The Frame Table window: its virtual list of frames, the refresh modes, and
// the rename, duplicate, delete and resize commands. The list asks for the
// texts of the rows it shows; a rebuild only sets the row count, the top row
// and the focus.
#include "tables/frame_table_win32.h"

#include "document/command_ids.h"
#include "document/frame_move.h"
#include "document/frame_resize.h"
#include "document/frame_store.h"
#include "document/ui_port.h"
#include "resources/resource_ids.h"
#include "tables/frame_edits.h"
#include "tables/list_view_win32.h"
#include "tables/modal_dialog_win32.h"
#include "tables/row_texts.h"
#include "tables/tool_window_win32.h"

HWND frameTableWindow = nullptr;
HWND frameList = nullptr;

enum { FRAME_TABLE_WIDTH = 220, FRAME_TABLE_HEIGHT = 250 };

enum { COLUMN_COUNT = 2 };
static const ListColumn columns[COLUMN_COUNT] = {{"Frm", 36, LVCFMT_RIGHT},
                                                 {"Name", 150, LVCFMT_LEFT}};
static const ToolWindowKind tableKind = {"zel_frame", "Frame Table", FRAME_TABLE_WIDTH,
                                         FRAME_TABLE_HEIGHT};
// The window of the table while it is closed, hidden (null before the first
// opening).
static HWND keptWindow = nullptr;

// Set while the table changes its rows' states itself for a rebuild or to
// follow the current frame: those changes pick no frame.
static bool settingRows = false;

// Rows as if filled afresh: none selected, the current frame's row at the top
// as far as the list scrolls (the first row when there is none) and focused.
// The rows are drawn again once. A scroll writes the scroll bar and moves the
// rows' pixels: the list is held meanwhile.
static void RebuildRows() {
    int current = frameStore.currentFrame;
    bool hasRow = current < frameStore.numFrames;
    int wantedTop = hasRow ? current : 0;
    bool newCount = ListRowCount(frameList) != frameStore.numFrames;
    ListUpdate update = {};
    if ((newCount && RowCountChangeWantsHold()) || ListTopRow(frameList) != wantedTop)
        BeginListUpdate(frameList, &update);
    settingRows = true;
    RenewListRows(frameList, frameStore.numFrames);
    settingRows = false;
    int top = ListTopRow(frameList);
    if (top != wantedTop) ScrollListRows(frameList, wantedTop - top);
    if (EndListUpdate(&update)) RedrawAllListRows(frameList);
    if (hasRow) SetListRowState(frameList, current, LVIS_FOCUSED, LVIS_FOCUSED);
}

void RefreshFrameTableWindow(int mode) {
    if (!frameList) return;
    if (mode == FT_REBUILD) {
        RebuildRows();
        return;
    }
    // The focus moves to the current frame's row, scrolled into view. The
    // list scrolls its pixels and draws the row that comes in, but under Wine
    // it also draws its scroll bar and header each time: held, it draws only
    // the rows, and the bar when its thumb moved.
    int current = frameStore.currentFrame;
    int focused = NextListRow(frameList, -1, LVNI_FOCUSED);
    int top = ListTopRow(frameList);
    bool scrolls = current < top || current >= top + ListRowsPerPage(frameList);
    ListUpdate update = {};
    if (scrolls) BeginListUpdate(frameList, &update);
    settingRows = true;
    if (current < frameStore.numFrames)
        SetListRowState(frameList, current, LVIS_FOCUSED, LVIS_FOCUSED);
    settingRows = false;
    EnsureListRowVisible(frameList, current);
    if (!EndListUpdate(&update)) return;
    if (ListTopRow(frameList) != top) {
        RedrawAllListRows(frameList);
        return;
    }
    if (focused == current) return;
    if (focused >= 0) RedrawListRows(frameList, focused, focused);
    if (current < frameStore.numFrames) RedrawListRows(frameList, current, current);
}

int SelectedFrameRangeWindow(int* first, int* last) {
    if (!frameList) return 0;
    int row = NextListRow(frameList, -1, LVNI_SELECTED);
    if (row < 0) return 0;
    *first = row;
    for (int next = row; next >= 0; next = NextListRow(frameList, next, LVNI_SELECTED)) row = next;
    *last = row;
    return 1;
}

void EditFrameName() {
    if (!frameList || ModalDialogOpen()) return;
    int focused = NextListRow(frameList, -1, LVNI_FOCUSED);
    if (focused < 0 || focused >= frameStore.numFrames) return;
    GetListCell(frameList, focused, 1, Prompt::value, PROMPT_VALUE_LENGTH);
    ValuePromptRequest request = {"Frame Name", "Enter frame name:", true};
    if (ValuePrompt(frameTableWindow, &request) != PROMPT_OK) return;
    RenameFrame(focused, Prompt::value);
    RedrawListRows(frameList, focused, focused);
}

void InsertFrameCopyCommand() {
    if (!frameList || ModalDialogOpen()) return;
    int focused = NextListRow(frameList, -1, LVNI_FOCUSED);
    if (focused < 0) return;
    InsertFrameCopy(focused);
}

void DeleteSelectedFrames() {
    if (!frameList || ModalDialogOpen()) return;
    static int rows[MAX_FRAMES];
    int rowCount = 0;
    for (int row = NextListRow(frameList, -1, LVNI_SELECTED); row >= 0 && rowCount < MAX_FRAMES;
         row = NextListRow(frameList, row, LVNI_SELECTED))
        rows[rowCount++] = row;
    DeleteFrameRows(rows, rowCount);
}

// Every row state change makes the focused row's frame current; while a
// modal step is open the focus goes back to the current frame's row instead.
static void GoToFocusedRow() {
    int focused = NextListRow(frameList, -1, LVNI_FOCUSED);
    if (ModalDialogOpen()) {
        if (focused != frameStore.currentFrame) RefreshFrameTableWindow(FT_FOCUS_CURRENT);
        return;
    }
    if (focused >= 0) GoToFrame(focused);
}

static void OnListKey(WORD key) {
    if (key == VK_RETURN) EditFrameName();
    if (key == VK_INSERT) InsertFrameCopyCommand();
    if (key == VK_DELETE) DeleteSelectedFrames();
}

static LRESULT OnNotify(const NMHDR* header) {
    switch (header->code) {
        case LVN_KEYDOWN:
            OnListKey(((const NMLVKEYDOWN*)header)->wVKey);
            break;
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED:
            if (!settingRows) GoToFocusedRow();
            break;
        case NM_RCLICK:
            GoToFocusedRow();
            TrackPopupFromResource(frameTableWindow, IDR_FRAME_POPUP);
            break;
        case NM_DBLCLK:
            EditFrameName();
            break;
        default:
            break;
    }
    return 0;
}

static void OnCommand(int id) {
    if (ModalDialogOpen()) return;
    if (id == CMD_TABLE_DELETE) DeleteSelectedFrames();
    if (id == CMD_TABLE_INSERT) InsertFrameCopyCommand();
    if (id == CMD_TABLE_EDIT) EditFrameName();
    if (id == CMD_RESIZE_SELECTED_FRAMES) ResizeSelectedFramesCommand(frameTableWindow);
}

static LRESULT OnCreate(HWND window) {
    frameTableWindow = window;
    frameList = CreateReportList(window);
    if (!frameList) return -1;
    AddListColumns(frameList, columns, COLUMN_COUNT);
    return 0;
}

// Closing keeps the window, hidden: nothing refreshes it meanwhile.
static void CloseFrameTable() {
    HWND window = frameTableWindow;
    frameTableWindow = nullptr;
    frameList = nullptr;
    CloseToolWindow(window, &keptWindow);
}

LRESULT CALLBACK FrameTableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_SIZE:
            // A kept window is sized while its table is still closed.
            if (HWND list = GetWindow(window, GW_CHILD))
                MoveWindow(list, 0, 0, LOWORD(lParam) + 1, HIWORD(lParam) + 1, TRUE);
            return 0;
        case WM_SETFOCUS:
            if (frameList) SetFocus(frameList);
            return 0;
        case WM_CLOSE:
            if (window == frameTableWindow) CloseFrameTable();
            return 0;
        case WM_DESTROY:
            if (window == keptWindow) {
                keptWindow = nullptr;
            } else {
                frameTableWindow = nullptr;
                frameList = nullptr;
            }
            break;
        case WM_NOTIFY: {
            LRESULT answer = 0;
            if (AnswerRowRequest((const NMHDR*)lParam, FrameCellText, &answer)) return answer;
            return OnNotify((const NMHDR*)lParam);
        }
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ToggleFrameTable(HWND mainWindow) {
    if (frameTableWindow) {
        CloseFrameTable();
        return;
    }
    HWND window = OpenToolWindow(mainWindow, tableKind, &keptWindow);
    if (!window) {
        frameTableWindow = nullptr;
        frameList = nullptr;
        return;
    }
    frameTableWindow = window;
    frameList = GetWindow(window, GW_CHILD);
    if (frameList) ResetListColumns(frameList, columns, COLUMN_COUNT);
    RefreshFrameTableWindow(FT_REBUILD);
    if (frameList) LayOutListOffScreen(frameList);
    ShowWindow(window, SW_SHOW);
}
