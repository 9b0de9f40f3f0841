// The Vector Table window: its virtual list of points, the refresh modes, and
// the insert, delete and edit commands. Touches the working frame only through
// the vector edits and the row selection. The list holds no texts: it asks for
// the rows it shows, so a refresh costs the same for 3 points as for 3000.
#include "tables/vector_table_win32.h"

#include <cstdio>

#include "document/command_ids.h"
#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/ui_port.h"
#include "resources/resource_ids.h"
#include "tables/edit_vector_dialog_win32.h"
#include "tables/list_view_win32.h"
#include "tables/modal_dialog_win32.h"
#include "tables/row_texts.h"
#include "tables/tool_window_win32.h"
#include "tables/vector_edits.h"

HWND vectorTableWindow = nullptr;
HWND vectorList = nullptr;

enum { VECTOR_TABLE_WIDTH = 202, VECTOR_TABLE_HEIGHT = 480, CELL_TEXT_LENGTH = 20 };

enum { COLUMN_COUNT = 4 };
static const ListColumn columns[COLUMN_COUNT] = {{"No.", 36, LVCFMT_RIGHT},
                                                 {"V", 22, LVCFMT_RIGHT},
                                                 {"X", 55, LVCFMT_RIGHT},
                                                 {"Y", 55, LVCFMT_RIGHT}};

// Set while the table writes the rows' selection from the points: the list's
// notifications then only echo what the points already say.
static bool writingSelection = false;

static void SetRowSelected(int row, bool selected) {
    SetListRowState(vectorList, row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

static bool PointSelected(int i) {
    return (workingFrame.points[i].flags & POINT_SELECTED) != 0;
}

// Each row's selected state as the list has it, read by ReadRowSelection.
static bool rowSelected[MAX_POINTS];
// The selected rows, in order, as ReadRowSelection and SelectPointsFromRows
// last read them.
static int selectedRows[MAX_POINTS];

// Reads the rows' selected states; returns how many differ from their points'.
static int ReadRowSelection() {
    int count = workingFrame.count;
    int rows = ListRowCount(vectorList);
    if (rows < count) count = rows;
    for (int i = 0; i < count; ++i) rowSelected[i] = false;
    int selected = SelectedListRows(vectorList, selectedRows, MAX_POINTS);
    for (int k = 0; k < selected && selectedRows[k] < count; ++k)
        rowSelected[selectedRows[k]] = true;
    int changes = 0;
    for (int i = 0; i < count; ++i) changes += PointSelected(i) != rowSelected[i];
    return changes;
}

// Makes each row's selected state that of its point, touching only the rows
// that ReadRowSelection found to differ.
static void WriteRowSelection(int changes) {
    if (changes == 0) return;
    int count = workingFrame.count;
    int rows = ListRowCount(vectorList);
    if (rows < count) count = rows;
    bool once = BeginRowStateChanges(vectorList, changes);
    writingSelection = true;
    for (int i = 0; i < count; ++i)
        if (PointSelected(i) != rowSelected[i]) SetRowSelected(i, PointSelected(i));
    writingSelection = false;
    EndRowStateChanges(vectorList, once);
}

static int SelectedPointCount() {
    int selected = 0;
    for (int i = 0; i < workingFrame.count; ++i) selected += PointSelected(i);
    return selected;
}

// Makes each point's selected flag that of its row.
static void SelectPointsFromRows() {
    int count = workingFrame.count;
    for (int i = 0; i < count; ++i) workingFrame.points[i].flags &= ~POINT_SELECTED;
    int selected = SelectedListRows(vectorList, selectedRows, MAX_POINTS);
    for (int k = 0; k < selected && selectedRows[k] < count; ++k)
        workingFrame.points[selectedRows[k]].flags |= POINT_SELECTED;
}

// Rows as if filled afresh: none focused, the selection from the points, and
// either the same top row or the last row in view. Only what differs is
// changed, and the rows are drawn again once. A new row count or a scroll
// writes the scroll bar and many rows change state one by one: the list is
// held meanwhile.
static void RebuildRows(bool keepTop) {
    int top = ListTopRow(vectorList);
    bool newCount = ListRowCount(vectorList) != workingFrame.count;
    int selectedRows = SelectedListRowCount(vectorList);
    ListUpdate update = {};
    if ((newCount && RowCountChangeWantsHold()) || !keepTop ||
        selectedRows + SelectedPointCount() > 1)
        BeginListUpdate(vectorList, &update);
    writingSelection = true;
    // Clearing a selection visits every row, however few are selected;
    // renewing the rows drops it at once, for a few more header moves.
    if (selectedRows > 0) {
        RenewListRows(vectorList, workingFrame.count);
    } else {
        ClearListRowStates(vectorList);
        if (newCount) SetListRowCount(vectorList, workingFrame.count);
    }
    writingSelection = false;
    WriteRowSelection(ReadRowSelection());
    if (!keepTop)
        EnsureListRowVisible(vectorList, workingFrame.count - 1);
    else if (ListTopRow(vectorList) != top)
        ScrollListRows(vectorList, top - ListTopRow(vectorList));
    EndListUpdate(&update);
    RedrawAllListRows(vectorList);
}

void RefreshVectorTableWindow(int mode) {
    if (!vectorList) return;
    if (mode == VT_UPDATE_VALUES) {
        int changes = ReadRowSelection();
        ListUpdate update = {};
        if (changes > 1) BeginListUpdate(vectorList, &update);
        WriteRowSelection(changes);
        EndListUpdate(&update);
        RedrawAllListRows(vectorList);  // X and Y are read again as the rows are drawn
        return;
    }
    RebuildRows(mode == VT_REBUILD_KEEP_TOP);
}

void AppendVectorRowWindow(int index) {
    if (!vectorList || index < 0 || index >= MAX_POINTS) return;
    // The point is the new last one: its row joins the end of the list.
    SetListRowCount(vectorList, ListRowCount(vectorList) + 1);
    EnsureListRowVisible(vectorList, index);
}

void TruncateVectorRowsWindow(int count) {
    if (!vectorList) return;
    int rows = ListRowCount(vectorList);
    if (count < 0) count = 0;
    if (count >= rows) return;
    int focused = NextListRow(vectorList, -1, LVNI_FOCUSED);
    int mark = ListSelectionMark(vectorList);
    if (focused >= count) {
        writingSelection = true;
        SetListRowState(vectorList, focused, 0, LVIS_FOCUSED);
        writingSelection = false;
    }
    SetListRowCount(vectorList, count);
    // Rows taken off the end hand their focus and selection mark down to the
    // new last row.
    if (focused >= count && count > 0)
        SetListRowState(vectorList, count - 1, LVIS_FOCUSED, LVIS_FOCUSED);
    SetListSelectionMark(vectorList, mark >= count ? count - 1 : mark);
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
    DeleteVectorRows(rows, SelectedListRows(vectorList, rows, MAX_POINTS));
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
    std::snprintf(values.rowText, sizeof values.rowText, "%d", focused + 1);
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
    RedrawAllListRows(vectorList);
}

// While a modal step is open the points keep their selection, and the rows
// are put back to show it.
static bool SelectionHeldBack() {
    if (!ModalDialogOpen()) return false;
    WriteRowSelection(ReadRowSelection());
    return true;
}

static void OnRowChanged(const NMLISTVIEW* change) {
    if (writingSelection || !(change->uChanged & LVIF_STATE) || SelectionHeldBack()) return;
    if (change->iItem < 0) {
        // The change reached every row at once.
        SelectPointsFromRows();
        RepaintCanvas();
        return;
    }
    if (change->iItem >= workingFrame.count) return;
    bool selected = GetListRowState(vectorList, change->iItem, LVIS_SELECTED) & LVIS_SELECTED;
    VectorPoint& point = workingFrame.points[change->iItem];
    if (selected)
        point.flags |= POINT_SELECTED;
    else
        point.flags &= ~POINT_SELECTED;
    RepaintCanvas();
}

// A range of rows changed in one go (a Shift click or Shift and an arrow key).
static void OnRowRangeChanged() {
    if (writingSelection || SelectionHeldBack()) return;
    SelectPointsFromRows();
    RepaintCanvas();
}

static void OnRowsChanged(const NMHDR* header) {
    if (header->code == LVN_ITEMCHANGED)
        OnRowChanged((const NMLISTVIEW*)header);
    else
        OnRowRangeChanged();
}

static void OnCommand(int id) {
    if (id == CMD_TABLE_DELETE) DeleteSelectedVectors();
    if (id == CMD_TABLE_INSERT) InsertVector();
    if (id == CMD_TABLE_EDIT) EditVector();
}

static void FillRows() {
    RefreshVectorTableWindow(VT_REBUILD);
}

static ToolTable table = {{"zel_vect", "Vector Table", VECTOR_TABLE_WIDTH, VECTOR_TABLE_HEIGHT},
                          columns,
                          COLUMN_COUNT,
                          VectorCellText,
                          IDR_VECTOR_POPUP,
                          &vectorTableWindow,
                          &vectorList,
                          FillRows,
                          OnRowsChanged,
                          nullptr,
                          OnCommand,
                          nullptr};

LRESULT CALLBACK VectorTableProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ToolTableProc(&table, window, message, wParam, lParam);
}

void ToggleVectorTable(HWND mainWindow) {
    ToggleToolTable(&table, mainWindow);
}
