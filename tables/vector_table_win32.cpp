// The Vector Table window: its list of points, the refresh modes, and the
// insert, delete and edit commands. Touches the working frame only through
// the vector edits and the row selection.
#include "tables/vector_table_win32.h"

#include <commctrl.h>

#include <cstdio>

#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/ui_port.h"
#include "resources/resource_ids.h"
#include "tables/edit_vector_dialog_win32.h"
#include "tables/list_view_win32.h"
#include "tables/modal_dialog_win32.h"
#include "tables/vector_edits.h"

HWND vectorTableWindow = nullptr;
HWND vectorList = nullptr;

enum { VECTOR_TABLE_WIDTH = 202, VECTOR_TABLE_HEIGHT = 480, CELL_TEXT_LENGTH = 20 };

static void FormatInt(char* text, int value) {
    std::snprintf(text, CELL_TEXT_LENGTH, "%d", value);
}

static void SetPointCells(int row, const VectorPoint& point) {
    char text[CELL_TEXT_LENGTH];
    SetListCell(vectorList, row, 1, (point.flags & POINT_VISIBLE) ? "1" : "0");
    FormatInt(text, point.x);
    SetListCell(vectorList, row, 2, text);
    FormatInt(text, -(int)point.y);
    SetListCell(vectorList, row, 3, text);
}

static void UpdateRowValues() {
    char text[CELL_TEXT_LENGTH];
    for (int i = 0; i < workingFrame.count; ++i) {
        const VectorPoint& point = workingFrame.points[i];
        FormatInt(text, point.x);
        SetListCell(vectorList, i, 2, text);
        FormatInt(text, -(int)point.y);
        SetListCell(vectorList, i, 3, text);
        SetListRowState(vectorList, i, (point.flags & POINT_SELECTED) ? LVIS_SELECTED : 0,
                        LVIS_SELECTED);
    }
}

static void RebuildRows(bool keepTop) {
    int top = keepTop ? ListTopRow(vectorList) : 0;
    ShowWindow(vectorList, SW_HIDE);
    SendMessageA(vectorList, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(vectorList, LVM_SETITEMCOUNT, (WPARAM)workingFrame.count, 0);
    char text[CELL_TEXT_LENGTH];
    for (int i = 0; i < workingFrame.count; ++i) {
        FormatInt(text, i + 1);
        InsertListRow(vectorList, i, text);
        SetPointCells(i, workingFrame.points[i]);
        if (workingFrame.points[i].flags & POINT_SELECTED)
            SetListRowState(vectorList, i, LVIS_SELECTED, LVIS_SELECTED);
    }
    ShowWindow(vectorList, SW_SHOW);
    if (keepTop)
        ScrollListRows(vectorList, top);
    else
        EnsureListRowVisible(vectorList, workingFrame.count - 1);
}

void RefreshVectorTableWindow(int mode) {
    if (!vectorList) return;
    if (mode == VT_UPDATE_VALUES)
        UpdateRowValues();
    else
        RebuildRows(mode == VT_REBUILD_KEEP_TOP);
}

void AppendVectorRowWindow(int index) {
    if (!vectorList || index < 0 || index >= MAX_POINTS) return;
    char text[CELL_TEXT_LENGTH];
    FormatInt(text, index + 1);
    if (InsertListRow(vectorList, index, text) < 0) return;
    SetPointCells(index, workingFrame.points[index]);
    EnsureListRowVisible(vectorList, index);
}

void TruncateVectorRowsWindow(int count) {
    if (!vectorList) return;
    int rows = ListRowCount(vectorList);
    ShowWindow(vectorList, SW_HIDE);
    for (int row = rows - 1; row >= count; --row)
        SendMessageA(vectorList, LVM_DELETEITEM, (WPARAM)row, 0);
    ShowWindow(vectorList, SW_SHOW);
}

void InsertVector() {
    if (!vectorList || ModalDialogOpen()) return;
    int focused = NextListRow(vectorList, -1, LVNI_FOCUSED);
    if (focused < 0) return;
    if (!InsertVectorAt(focused)) return;
    SetListRowState(vectorList, focused, LVIS_FOCUSED, LVIS_FOCUSED);
    RepaintCanvas();
}

void DeleteSelectedVectors() {
    if (!vectorList || ModalDialogOpen()) return;
    static int rows[MAX_POINTS];
    int rowCount = 0;
    for (int row = NextListRow(vectorList, -1, LVNI_SELECTED); row >= 0 && rowCount < MAX_POINTS;
         row = NextListRow(vectorList, row, LVNI_SELECTED))
        rows[rowCount++] = row;
    DeleteVectorRows(rows, rowCount);
}

static int32_t ReadCellNumber(int row, int column) {
    char text[CELL_TEXT_LENGTH];
    GetListCell(vectorList, row, column, text, CELL_TEXT_LENGTH);
    return ParseLeadingInt(text);
}

void EditVector() {
    if (!vectorList || ModalDialogOpen()) return;
    int focused = NextListRow(vectorList, -1, LVNI_FOCUSED);
    if (focused < 0 || focused >= workingFrame.count) return;
    EditVectorValues values;
    FormatInt(values.rowText, focused + 1);
    values.v = ReadCellNumber(focused, 1);
    values.x = ReadCellNumber(focused, 2);
    values.y = ReadCellNumber(focused, 3);
    if (RunEditVectorDialog(vectorTableWindow, &values) != 1) return;
    static uint8_t rowStates[MAX_POINTS];
    for (int i = 0; i < workingFrame.count; ++i) {
        UINT state = GetListRowState(vectorList, i, LVIS_FOCUSED | LVIS_SELECTED);
        rowStates[i] = (uint8_t)(((state & LVIS_FOCUSED) ? ROW_FOCUSED : 0) |
                                 ((state & LVIS_SELECTED) ? ROW_SELECTED : 0));
    }
    ApplyVectorEdit(rowStates, values.v, values.x, values.y);
    for (int i = 0; i < workingFrame.count; ++i)
        if (rowStates[i]) SetPointCells(i, workingFrame.points[i]);
}

static void OnRowChanged(const NMLISTVIEW* change) {
    if (!(change->uChanged & LVIF_STATE) || change->iItem < 0) return;
    if (change->iItem >= workingFrame.count) return;
    bool selected = GetListRowState(vectorList, change->iItem, LVIS_SELECTED) & LVIS_SELECTED;
    VectorPoint& point = workingFrame.points[change->iItem];
    if (selected)
        point.flags |= POINT_SELECTED;
    else
        point.flags &= ~POINT_SELECTED;
    RepaintCanvas();
}

static void OnListKey(WORD key) {
    if (key == VK_RETURN) EditVector();
    if (key == VK_INSERT) InsertVector();
    if (key == VK_DELETE) DeleteSelectedVectors();
}

static LRESULT OnNotify(const NMHDR* header) {
    switch (header->code) {
        case LVN_KEYDOWN:
            OnListKey(((const NMLVKEYDOWN*)header)->wVKey);
            break;
        case LVN_ITEMCHANGED:
            OnRowChanged((const NMLISTVIEW*)header);
            break;
        case NM_RCLICK:
            TrackPopupFromResource(vectorTableWindow, IDR_VECTOR_POPUP);
            break;
        case NM_DBLCLK:
            EditVector();
            break;
        default:
            break;
    }
    return 0;
}

static void OnCommand(int id) {
    if (ModalDialogOpen()) return;
    if (id == CMD_TABLE_DELETE) DeleteSelectedVectors();
    if (id == CMD_TABLE_INSERT) InsertVector();
    if (id == CMD_TABLE_EDIT) EditVector();
}

static LRESULT OnCreate(HWND window) {
    vectorTableWindow = window;
    vectorList = CreateReportList(window);
    if (!vectorList) return -1;
    AddListColumn(vectorList, 0, "No.", 36, LVCFMT_RIGHT);
    AddListColumn(vectorList, 1, "V", 22, LVCFMT_RIGHT);
    AddListColumn(vectorList, 2, "X", 55, LVCFMT_RIGHT);
    AddListColumn(vectorList, 3, "Y", 55, LVCFMT_RIGHT);
    return 0;
}

LRESULT CALLBACK VectorTableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_SIZE:
            if (vectorList)
                MoveWindow(vectorList, 0, 0, LOWORD(lParam) + 1, HIWORD(lParam) + 1, TRUE);
            return 0;
        case WM_SETFOCUS:
            if (vectorList) SetFocus(vectorList);
            return 0;
        case WM_DESTROY:
            vectorTableWindow = nullptr;
            vectorList = nullptr;
            break;
        case WM_NOTIFY:
            return OnNotify((const NMHDR*)lParam);
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ToggleVectorTable(HWND mainWindow) {
    if (vectorTableWindow) {
        DestroyWindow(vectorTableWindow);
        return;
    }
    HWND window = CreateToolWindow(mainWindow, "zel_vect", "Vector Table", VECTOR_TABLE_WIDTH, VECTOR_TABLE_HEIGHT);
    if (!window) {
        vectorTableWindow = nullptr;
        vectorList = nullptr;
        return;
    }
    vectorTableWindow = window;
    RefreshVectorTableWindow(VT_REBUILD);
}
