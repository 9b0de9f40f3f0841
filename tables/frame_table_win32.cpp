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
    static int rows[MAX_FRAMES];
    int count = SelectedListRows(frameList, rows, MAX_FRAMES);
    if (count == 0) return 0;
    *first = rows[0];
    *last = rows[count - 1];
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
    DeleteFrameRows(rows, SelectedListRows(frameList, rows, MAX_FRAMES));
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

static void OnRowsChanged(const NMHDR*) {
    if (!settingRows) GoToFocusedRow();
}

static void OnCommand(int id) {
    if (id == CMD_TABLE_DELETE) DeleteSelectedFrames();
    if (id == CMD_TABLE_INSERT) InsertFrameCopyCommand();
    if (id == CMD_TABLE_EDIT) EditFrameName();
    if (id == CMD_RESIZE_SELECTED_FRAMES) ResizeSelectedFramesCommand(frameTableWindow);
}

static void FillRows() {
    RefreshFrameTableWindow(FT_REBUILD);
}

static ToolTable table = {{"zel_frame", "Frame Table", FRAME_TABLE_WIDTH, FRAME_TABLE_HEIGHT},
                          columns,
                          COLUMN_COUNT,
                          FrameCellText,
                          IDR_FRAME_POPUP,
                          &frameTableWindow,
                          &frameList,
                          FillRows,
                          OnRowsChanged,
                          GoToFocusedRow,
                          OnCommand,
                          nullptr};

LRESULT CALLBACK FrameTableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ToolTableProc(&table, window, message, wParam, lParam);
}

void ToggleFrameTable(HWND mainWindow) {
    ToggleToolTable(&table, mainWindow);
}
